// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QHostAddress>
#include <QtGlobal>

#include <string>
#include <vector>

class IPv6Address;

// One field of an IPv6 address type's layout: a kind that knows how to name the
// field and read its value from an address, and optional fixed position, width,
// name and value that override what the kind would give.
class IPv6AddressField
{
public:
    enum Kind : qint32
    {
        LinkLocalPrefixKind = 1,     // bits 0..9, "0xFE80"
        SiteLocalPrefixKind = 2,     // bits 0..9, "0xFEC0"
        FormatPrefixKind = 3,        // bits 0..2 in binary
        ScopeIDKind = 4,             // bits 10..63, the mangled scope of bytes 2 and 3
        SubnetIDKind = 5,            // record's range, "0x" hexadecimal
        InterfaceIDKind = 6,         // bits 64..127, bytes joined by ":"
        IPv4AddressKind = 7,         // 32 bits from the record's first bit, dotted decimal
        TeredoClientAddressKind = 8, // bits 96..127 inverted, dotted decimal
        TeredoClientPortKind = 9,    // bits 80..95 inverted, decimal
        MulticastPrefixKind = 10,    // bits 0..7, "0xFF"
        MulticastFlagsKind = 11,     // bits 8..11 as ".RPT"
        MulticastScopeKind = 12,     // bits 12..15
        MulticastGroupIDKind = 13,   // bits 16..127, groups joined by ":"
        ZeroKind = 14,               // record's range, "0"
        HexadecimalKind = 15,        // record's range; option 1 colon-grouped, else "0x"
        ConstantKind = 16,           // the record gives everything
    };

    // Marks a first bit that the kind supplies.
    static constexpr quint8 OwnFirstBit = 128;
    // Option of HexadecimalKind for colon-separated groups of two bytes.
    static constexpr quint32 ColonGroupedOption = 1;

    // A field with every member given (option 0).
    IPv6AddressField(qint32 nKind, quint8 nFirstBit, quint8 nBitCount, const std::string& name,
                     const std::string& value);
    // A field with a computed value and an option.
    IPv6AddressField(qint32 nKind, quint8 nFirstBit, quint8 nBitCount, const std::string& name, quint32 nOption);
    // A field that leaves position, width and value to the kind.
    explicit IPv6AddressField(qint32 nKind, const std::string& name = std::string());

    // The kind as stored (1..16 for every field the catalogue makes).
    qint32 GetKind() const { return m_kind; }
    // The width in bits: the record's if set, else the kind's own; throws "this" for a bad kind.
    quint8 GetBitCount() const;
    // The record's name if set, else the kind's name for the address; throws "this"
    // for a bad kind or when the kind reads an invalid address.
    std::string GetName(const IPv6Address& address) const;
    // The record's value if set, else the kind's value for the address (may hold
    // "<sub>2</sub>"); throws "this" for a bad kind or an invalid address.
    std::string GetValue(const IPv6Address& address) const;

    friend bool operator==(const IPv6AddressField& a, const IPv6AddressField& b);
    friend bool operator!=(const IPv6AddressField& a, const IPv6AddressField& b) { return !(a == b); }

private:
    qint32 m_kind;
    quint8 m_firstBit;
    quint8 m_bitCount;
    std::string m_name;
    std::string m_value;
    quint32 m_option;
};

using IPv6AddressFieldList = std::vector<IPv6AddressField>;

// Hexadecimal of bits nFirstBit .. nFirstBit + nBitCount - 1 of the bytes (nBitCount 0:
// to the end), whole bytes of two digits with the bits outside the range read as 0.
// The separator, if not '\0', goes before every byte whose position from the first
// byte is not a multiple of nGroupBytes.
std::string FormatIPv6BitRange(const Q_IPV6ADDR& bytes, quint8 nFirstBit, quint8 nBitCount, bool withPrefix,
                               bool uppercase, char separator, quint32 nGroupBytes);
