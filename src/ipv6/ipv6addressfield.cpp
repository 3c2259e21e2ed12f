// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ipv6/ipv6addressfield.h"

#include "address/exceptionutil.h"
#include "address/ipv4address.h"
#include "address/ipv6address.h"

#include <algorithm>
#include <sstream>

namespace {

const char* const SubscriptTwo = "<sub>2</sub>";

// What one call of ComputeKind should produce.
enum Selection
{
    SelectFirstBit,
    SelectWidth,
    SelectName,
    SelectValue
};

struct KindResult
{
    quint8 firstBit = IPv6AddressField::OwnFirstBit;
    quint8 bitCount = 0;
    std::string text;
};

struct KindLayout
{
    quint8 firstBit; // OwnFirstBit: the record's
    quint8 bitCount; // 0: the record's
};

// Own positions of kinds 1 to 16.
constexpr KindLayout KindLayouts[16] = {
    {0, 10},  {0, 10}, {0, 3}, {10, 54}, {128, 0},  {64, 64}, {128, 32}, {96, 32},
    {80, 16}, {0, 8},  {8, 4}, {12, 4},  {16, 112}, {128, 0}, {128, 0},  {128, 0},
};

bool IsKnownKind(qint32 nKind)
{
    return nKind >= IPv6AddressField::LinkLocalPrefixKind && nKind <= IPv6AddressField::ConstantKind;
}

std::string ScopeWord(quint8 nScope)
{
    switch (nScope) {
    case 0:
    case 3:
    case 15:
        return "Reserved ";
    case 1:
        return "Intf-Local ";
    case 2:
        return "Link-Local ";
    case 4:
        return "Admin-Local ";
    case 5:
        return "Site-Local ";
    case 8:
        return "Org-Local ";
    case 14:
        return "Global ";
    default:
        return "Unassigned ";
    }
}

std::string FormatPrefixName(quint8 nFirstByte)
{
    if (nFirstByte < 0x20)
        return "Unformatted Prefix";
    if ((nFirstByte >> 5) == 1)
        return "IANA-Delegated Prefix";
    return "EUI-64 Formatted Prefix";
}

std::string DottedFromBytes(const Q_IPV6ADDR& bytes, int nFirstByte, quint8 nInvert)
{
    if (nFirstByte < 0 || nFirstByte > 12)
        throw ExceptionUtil::invalid_operation("this");
    quint32 value = 0;
    for (int i = 0; i < 4; ++i)
        value = value << 8 | static_cast<quint8>(bytes[nFirstByte + i] ^ nInvert);
    return IPv4Address(value).ToString(IPv4Address::DottedDecimal);
}

std::string ComputeName(qint32 nKind, const IPv6Address& address)
{
    switch (nKind) {
    case IPv6AddressField::LinkLocalPrefixKind:
        return "Link-Local Prefix";
    case IPv6AddressField::SiteLocalPrefixKind:
        return "Site-Local Prefix";
    case IPv6AddressField::FormatPrefixKind:
        return FormatPrefixName(address.GetBytes()[0]);
    case IPv6AddressField::ScopeIDKind: {
        const Q_IPV6ADDR& bytes = address.GetBytes();
        return bytes[2] == 0 && bytes[3] == 0 ? "Unused" : "Mangled Scope ID";
    }
    case IPv6AddressField::SubnetIDKind:
        return "Subnet ID";
    case IPv6AddressField::InterfaceIDKind: {
        const Q_IPV6ADDR& bytes = address.GetBytes();
        const bool fromMac = bytes[11] == 0xFF && bytes[12] == 0xFE;
        return std::string(fromMac ? "MAC-48-Derived " : "EUI-64 ") + "Interface ID";
    }
    case IPv6AddressField::IPv4AddressKind:
        return "IPv4 Address";
    case IPv6AddressField::TeredoClientAddressKind:
        return "Obfuscated NAT Public IPv4 Address";
    case IPv6AddressField::TeredoClientPortKind:
        return "Obfuscated NAT UDP Port";
    case IPv6AddressField::MulticastPrefixKind:
        return "Multicast Prefix";
    case IPv6AddressField::MulticastFlagsKind:
        return "Flags";
    case IPv6AddressField::MulticastScopeKind:
        return ScopeWord(address.GetBytes()[1] & 0x0F) + "Scope";
    case IPv6AddressField::MulticastGroupIDKind:
        return "Group ID";
    default:
        return std::string();
    }
}

std::string ComputeValue(qint32 nKind, const IPv6Address& address, quint8 nFirstBit, quint8 nBitCount, quint32 nOption)
{
    switch (nKind) {
    case IPv6AddressField::LinkLocalPrefixKind:
        return "0xFE80";
    case IPv6AddressField::SiteLocalPrefixKind:
        return "0xFEC0";
    case IPv6AddressField::FormatPrefixKind: {
        const quint8 first = address.GetBytes()[0];
        std::string text;
        for (int bit = 7; bit >= 5; --bit)
            text += (first >> bit) & 1 ? '1' : '0';
        return text + SubscriptTwo;
    }
    case IPv6AddressField::ScopeIDKind: {
        const Q_IPV6ADDR& bytes = address.GetBytes();
        const unsigned scope = static_cast<unsigned>(bytes[2]) << 8 | bytes[3];
        if (scope == 0)
            return "0";
        std::ostringstream out;
        out << std::showbase << std::hex << scope;
        return out.str();
    }
    case IPv6AddressField::SubnetIDKind:
        return FormatIPv6BitRange(address.GetBytes(), nFirstBit, nBitCount, true, true, '\0', 1);
    case IPv6AddressField::InterfaceIDKind:
        return FormatIPv6BitRange(address.GetBytes(), 64, 64, false, true, ':', 1);
    case IPv6AddressField::IPv4AddressKind:
        return DottedFromBytes(address.GetBytes(), nFirstBit / 8, 0x00);
    case IPv6AddressField::TeredoClientAddressKind:
        return DottedFromBytes(address.GetBytes(), 12, 0xFF);
    case IPv6AddressField::TeredoClientPortKind: {
        const Q_IPV6ADDR& bytes = address.GetBytes();
        const quint16 port = static_cast<quint16>(~(static_cast<unsigned>(bytes[10]) << 8 | bytes[11]));
        return std::to_string(port);
    }
    case IPv6AddressField::MulticastPrefixKind:
        return "0xFF";
    case IPv6AddressField::MulticastFlagsKind: {
        const quint8 flags = address.GetBytes()[1];
        std::string text = ".";
        text += flags & 0x40 ? 'R' : '.';
        text += flags & 0x20 ? 'P' : '.';
        text += flags & 0x10 ? 'T' : '.';
        return text + SubscriptTwo;
    }
    case IPv6AddressField::MulticastScopeKind:
        return std::string("0x") + "0123456789ABCDEF"[address.GetBytes()[1] & 0x0F];
    case IPv6AddressField::MulticastGroupIDKind:
        return FormatIPv6BitRange(address.GetBytes(), 16, 112, false, true, ':', 2);
    case IPv6AddressField::ZeroKind:
        return "0";
    case IPv6AddressField::HexadecimalKind:
        if (nOption == IPv6AddressField::ColonGroupedOption)
            return FormatIPv6BitRange(address.GetBytes(), nFirstBit, nBitCount, false, true, ':', 2);
        return FormatIPv6BitRange(address.GetBytes(), nFirstBit, nBitCount, true, true, '\0', 1);
    default:
        return std::string();
    }
}

// Fills what was selected from the kind's own rules; kind 16 leaves everything to its record.
KindResult ComputeKind(qint32 nKind, const IPv6Address* address, quint8 nFirstBit, quint8 nBitCount, quint32 nOption,
                       Selection selection)
{
    KindResult result;
    if (!IsKnownKind(nKind) || nKind == IPv6AddressField::ConstantKind)
        return result;
    const KindLayout& layout = KindLayouts[nKind - 1];
    switch (selection) {
    case SelectFirstBit:
        result.firstBit = layout.firstBit;
        break;
    case SelectWidth:
        result.bitCount = layout.bitCount;
        break;
    case SelectName:
        result.text = ComputeName(nKind, *address);
        break;
    case SelectValue:
        result.text = ComputeValue(nKind, *address, nFirstBit, nBitCount, nOption);
        break;
    }
    return result;
}

} // namespace

IPv6AddressField::IPv6AddressField(qint32 nKind, quint8 nFirstBit, quint8 nBitCount, const std::string& name,
                                   const std::string& value)
    : m_kind(nKind),
      m_firstBit(nFirstBit),
      m_bitCount(nBitCount),
      m_name(name),
      m_value(value),
      m_option(0)
{
}

IPv6AddressField::IPv6AddressField(qint32 nKind, quint8 nFirstBit, quint8 nBitCount, const std::string& name,
                                   quint32 nOption)
    : m_kind(nKind),
      m_firstBit(nFirstBit),
      m_bitCount(nBitCount),
      m_name(name),
      m_option(nOption)
{
}

IPv6AddressField::IPv6AddressField(qint32 nKind, const std::string& name)
    : m_kind(nKind),
      m_firstBit(OwnFirstBit),
      m_bitCount(0),
      m_name(name),
      m_option(0)
{
}

quint8 IPv6AddressField::GetBitCount() const
{
    if (!IsKnownKind(m_kind))
        throw ExceptionUtil::invalid_operation("this");
    if (m_bitCount != 0)
        return m_bitCount;
    return ComputeKind(m_kind, nullptr, m_firstBit, m_bitCount, m_option, SelectWidth).bitCount;
}

std::string IPv6AddressField::GetName(const IPv6Address& address) const
{
    if (!IsKnownKind(m_kind))
        throw ExceptionUtil::invalid_operation("this");
    if (!m_name.empty())
        return m_name;
    return ComputeKind(m_kind, &address, m_firstBit, m_bitCount, m_option, SelectName).text;
}

std::string IPv6AddressField::GetValue(const IPv6Address& address) const
{
    if (!IsKnownKind(m_kind))
        throw ExceptionUtil::invalid_operation("this");
    if (!m_value.empty())
        return m_value;
    quint8 firstBit = m_firstBit;
    if (firstBit == OwnFirstBit)
        firstBit = ComputeKind(m_kind, nullptr, m_firstBit, m_bitCount, m_option, SelectFirstBit).firstBit;
    return ComputeKind(m_kind, &address, firstBit, GetBitCount(), m_option, SelectValue).text;
}

bool operator==(const IPv6AddressField& a, const IPv6AddressField& b)
{
    return a.m_kind == b.m_kind && a.m_firstBit == b.m_firstBit && a.m_bitCount == b.m_bitCount && a.m_name == b.m_name
           && a.m_value == b.m_value && a.m_option == b.m_option;
}

std::string FormatIPv6BitRange(const Q_IPV6ADDR& bytes, quint8 nFirstBit, quint8 nBitCount, bool withPrefix,
                               bool uppercase, char separator, quint32 nGroupBytes)
{
    static const char UpperDigits[] = "0123456789ABCDEF";
    static const char LowerDigits[] = "0123456789abcdef";
    const char* digits = uppercase ? UpperDigits : LowerDigits;

    std::string text = withPrefix ? "0x" : "";
    const unsigned first = nFirstBit / 8u;
    const unsigned endBit = nBitCount == 0 ? 128u : static_cast<unsigned>(nFirstBit) + nBitCount;
    const unsigned end = std::min((endBit + 7u) / 8u, 16u);
    if (nGroupBytes == 0)
        nGroupBytes = 1;
    for (unsigned i = first; i < end; ++i) {
        quint8 byte = bytes[static_cast<int>(i)];
        if (i == first)
            byte &= static_cast<quint8>(0xFFu >> (nFirstBit % 8u));
        if (i + 1 == end && endBit <= 128u && endBit % 8u != 0)
            byte &= static_cast<quint8>(0xFFu << (8u - endBit % 8u));
        if (separator != '\0' && i > first && (i - first) % nGroupBytes == 0)
            text += separator;
        text += digits[byte >> 4];
        text += digits[byte & 0x0F];
    }
    return text;
}
