// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "address/ipv6address.h"

#include "address/datastreamutil.h"
#include "address/exceptionutil.h"
#include "address/ipv4address.h"

#include <QAbstractSocket>
#include <QDataStream>
#include <QString>

#include <iomanip>
#include <sstream>
#include <stdexcept>

namespace {

constexpr int GroupCount = 8;
constexpr int NotationCount = 4;

quint16 GroupAt(const Q_IPV6ADDR& bytes, int nGroup)
{
    return static_cast<quint16>(bytes[2 * nGroup] << 8 | bytes[2 * nGroup + 1]);
}

// The longest run of zero groups among the first nGroups; the later of equal runs.
// A run of one group is not worth "::", so the result has length 0 then.
void FindCompressedRun(const Q_IPV6ADDR& bytes, int nGroups, int& runStart, int& runLength)
{
    runStart = -1;
    runLength = 0;
    for (int group = 0; group < nGroups;) {
        if (GroupAt(bytes, group) != 0) {
            ++group;
            continue;
        }
        int end = group;
        while (end < nGroups && GroupAt(bytes, end) == 0)
            ++end;
        if (end - group >= runLength) {
            runStart = group;
            runLength = end - group;
        }
        group = end;
    }
    if (runLength < 2) {
        runStart = -1;
        runLength = 0;
    }
}

void WriteGroup(std::ostringstream& out, quint16 value, int nNotation)
{
    switch (nNotation) {
    case IPv6Address::ExpandedNotation:
        out << std::uppercase << std::hex << std::setw(4) << std::setfill('0') << value;
        break;
    case IPv6Address::BinaryNotation:
        for (int bit = 15; bit >= 0; --bit)
            out << ((value >> bit) & 1 ? '1' : '0');
        break;
    default:
        out << std::uppercase << std::hex << value;
        break;
    }
}

} // namespace

IPv6Address::IPv6Address(const Q_IPV6ADDR& bytes)
    : m_bytes(bytes),
      m_valid(true)
{
}

IPv6Address::IPv6Address(quint64 nHigh, quint64 nLow)
    : m_valid(true)
{
    for (int i = 0; i < 8; ++i) {
        m_bytes[i] = static_cast<quint8>(nHigh >> (56 - 8 * i));
        m_bytes[8 + i] = static_cast<quint8>(nLow >> (56 - 8 * i));
    }
}

IPv6Address::IPv6Address(const std::string& text)
{
    Parse(text);
}

IPv6Address& IPv6Address::operator=(const Q_IPV6ADDR& bytes)
{
    m_bytes = bytes;
    m_valid = true;
    return *this;
}

const Q_IPV6ADDR& IPv6Address::GetBytes() const
{
    if (!m_valid)
        throw ExceptionUtil::invalid_operation("this");
    return m_bytes;
}

quint8& IPv6Address::GetByte(quint32 nByteIndex)
{
    if (!m_valid)
        throw ExceptionUtil::invalid_operation("this");
    if (nByteIndex > 15)
        throw std::out_of_range("nByteIndex");
    return m_bytes[static_cast<int>(nByteIndex)];
}

quint8 IPv6Address::GetByte(quint32 nByteIndex) const
{
    return const_cast<IPv6Address*>(this)->GetByte(nByteIndex);
}

bool IPv6Address::Parse(const std::string& text)
{
    *this = IPv6Address();
    QHostAddress host;
    if (!host.setAddress(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()))))
        return false;
    if (host.protocol() != QAbstractSocket::IPv6Protocol)
        return false;
    *this = host.toIPv6Address();
    return true;
}

bool IPv6Address::GetEmbeddedIPv4Address(IPv4Address& ipv4) const
{
    const Q_IPV6ADDR& bytes = GetBytes();
    ipv4 = 0u;
    for (int i = 0; i < 10; ++i) {
        if (bytes[i] != 0)
            return false;
    }
    const quint16 w = GroupAt(bytes, 5);
    if (w != 0x0000 && w != 0xFFFF)
        return false;
    const quint32 v = static_cast<quint32>(bytes[12]) << 24 | static_cast<quint32>(bytes[13]) << 16
                      | static_cast<quint32>(bytes[14]) << 8 | static_cast<quint32>(bytes[15]);
    // :: and ::1 are the unspecified and loopback addresses, not IPv4-compatible ones.
    if (w == 0 && v <= 1)
        return false;
    ipv4 = v;
    return true;
}

std::string IPv6Address::ToString(int nNotation) const
{
    if (nNotation < 0 || nNotation >= NotationCount)
        throw std::out_of_range("nNotation");
    if (!m_valid)
        return std::string();

    IPv4Address tail;
    const bool hasTail = nNotation != BinaryNotation && GetEmbeddedIPv4Address(tail);
    const int groups = hasTail ? 6 : GroupCount;

    int runStart = -1;
    int runLength = 0;
    if (nNotation == CompressedNotation)
        FindCompressedRun(m_bytes, groups, runStart, runLength);

    std::ostringstream out;
    bool afterRun = false;
    for (int group = 0; group < groups; ++group) {
        if (group == runStart) {
            out << "::";
            group += runLength - 1;
            afterRun = true;
            continue;
        }
        if (group > 0 && !afterRun)
            out << (nNotation == BinaryNotation && group == 4 ? '\n' : ':');
        afterRun = false;
        WriteGroup(out, GroupAt(m_bytes, group), nNotation);
    }
    if (hasTail) {
        if (!afterRun)
            out << ':';
        out << std::dec << tail;
    }
    return out.str();
}

void IPv6Address::RegisterMetaType()
{
    static const int id = qRegisterMetaType<IPv6Address>();
    Q_UNUSED(id);
}

bool operator==(const IPv6Address& a, const IPv6Address& b)
{
    if (!a.m_valid || !b.m_valid)
        return a.m_valid == b.m_valid;
    return std::equal(a.m_bytes.c, a.m_bytes.c + 16, b.m_bytes.c);
}

QDataStream& operator<<(QDataStream& stream, const IPv6Address& address)
{
    stream << address.m_valid;
    for (quint8 byte : address.m_bytes.c)
        stream << qint8(byte);
    return stream;
}

QDataStream& operator>>(QDataStream& stream, IPv6Address& address)
{
    address = IPv6Address();
    bool valid = false;
    if (!DataStreamUtil::ReadFlag(stream, valid))
        return stream;
    Q_IPV6ADDR bytes{};
    for (quint8& byte : bytes.c) {
        qint8 value = 0;
        stream >> value;
        byte = static_cast<quint8>(value);
    }
    if (stream.status() != QDataStream::Ok)
        return stream;
    address.m_bytes = bytes;
    address.m_valid = valid;
    return stream;
}
