// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QHostAddress>
#include <QMetaType>
#include <QtGlobal>

#include <string>

class IPv4Address;
class QDataStream;

// One IPv6 address or none: 16 bytes in network order (byte 0 is the most
// significant byte of the first group) and a validity flag.
class IPv6Address
{
public:
    // Values of nNotation for ToString.
    static constexpr int CompressedNotation = 0;
    static constexpr int UncompressedNotation = 1;
    static constexpr int ExpandedNotation = 2;
    static constexpr int BinaryNotation = 3;

    // An invalid address with all bytes 0.
    IPv6Address() = default;
    // A valid address with the bytes in network order.
    explicit IPv6Address(const Q_IPV6ADDR& bytes);
    // A valid address: nHigh fills bytes 0 to 7, nLow bytes 8 to 15, most significant first.
    IPv6Address(quint64 nHigh, quint64 nLow);
    // Parses text (see Parse); the address is invalid if the text is refused.
    explicit IPv6Address(const std::string& text);

    // Makes the address valid with the bytes in network order.
    IPv6Address& operator=(const Q_IPV6ADDR& bytes);

    // Whether the address holds a value.
    bool IsValid() const { return m_valid; }
    // The 16 bytes; throws ExceptionUtil::invalid_operation("this") when invalid.
    const Q_IPV6ADDR& GetBytes() const;
    // Byte nByteIndex (0..15), writable; throws "this" when invalid, then
    // std::out_of_range("nByteIndex").
    quint8& GetByte(quint32 nByteIndex);
    // Read-only byte access with the same checks.
    quint8 GetByte(quint32 nByteIndex) const;

    // Resets to invalid and zero, then takes IPv6 text through QHostAddress; IPv4
    // text is refused and a scope suffix is dropped. Returns whether it was accepted.
    bool Parse(const std::string& text);

    // Writes the IPv4 address of an IPv4-mapped (::FFFF:a.b.c.d) or IPv4-compatible
    // (::a.b.c.d, except :: and ::1) address into ipv4 and returns true; otherwise
    // sets ipv4 to 0.0.0.0 and returns false. Throws "this" when invalid.
    bool GetEmbeddedIPv4Address(IPv4Address& ipv4) const;

    // The address in notation nNotation (0 compressed, 1 uncompressed, 2 expanded,
    // 3 binary on two lines); empty for an invalid address. nNotation outside 0..3
    // throws std::out_of_range("nNotation"), also for an invalid address.
    std::string ToString(int nNotation) const;

    // Registers the meta-type "IPv6Address" with its stream operators (once per process).
    static void RegisterMetaType();

    // Invalid addresses are equal to each other and differ from every valid one;
    // valid addresses are equal when all 16 bytes are.
    friend bool operator==(const IPv6Address& a, const IPv6Address& b);
    friend bool operator!=(const IPv6Address& a, const IPv6Address& b) { return !(a == b); }

    // Layout: the valid flag as a QDataStream bool, then bytes 0 to 15 as qint8 each.
    friend QDataStream& operator<<(QDataStream& stream, const IPv6Address& address);
    // Reads the same layout and keeps the bytes as read; on short or garbled input
    // the address is invalid and zero and the stream status is not Ok.
    friend QDataStream& operator>>(QDataStream& stream, IPv6Address& address);

private:
    Q_IPV6ADDR m_bytes{};
    bool m_valid = false;
};

Q_DECLARE_METATYPE(IPv6Address)
