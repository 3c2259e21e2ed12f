// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QMetaType>
#include <QtGlobal>

#include <iosfwd>
#include <string>

class QDataStream;

// One IPv4 address or none: a 32-bit value (the first dotted part is the most
// significant byte) and a validity flag. Default-constructed addresses are invalid.
class IPv4Address
{
public:
    // How an address is written as text: radix 2, 8, 10 or 16, as four dotted
    // byte parts or as one whole number.
    struct Notation
    {
        quint32 radix;
        bool dotted;
    };

    static constexpr Notation DottedDecimal{10, true};
    static constexpr Notation Decimal{10, false};
    static constexpr Notation DottedHexadecimal{16, true};
    static constexpr Notation Hexadecimal{16, false};
    static constexpr Notation DottedOctal{8, true};
    static constexpr Notation Octal{8, false};
    static constexpr Notation DottedBinary{2, true};
    static constexpr Notation Binary{2, false};

    // An invalid address (value 0).
    IPv4Address() = default;
    // A valid address holding nValue.
    explicit IPv4Address(quint32 nValue);
    // Parses text in the notation; the address is invalid if the text is refused.
    IPv4Address(const std::string& text, const Notation& notation);

    // Makes the address valid with nValue.
    IPv4Address& operator=(quint32 nValue);

    // Whether the address holds a value.
    bool IsValid() const { return m_valid; }
    // The 32-bit value; throws ExceptionUtil::invalid_operation("this") when invalid.
    quint32 GetValue() const;
    // Byte nByteIndex (0 most significant .. 3 least), writable; throws "this" when
    // invalid, then std::out_of_range("nByteIndex") above 3.
    quint8& GetByte(quint32 nByteIndex);
    // Read-only byte access with the same checks.
    quint8 GetByte(quint32 nByteIndex) const;

    // A valid address with the nMaskBits most significant bits set; nMaskBits 0..32,
    // else std::out_of_range("nMaskBits").
    static IPv4Address CreateMask(quint8 nMaskBits);

    // The address as text in the notation; empty for an invalid address. A radix
    // other than 2, 8, 10, 16 throws std::out_of_range("nNotation") for a valid address.
    std::string ToString(const Notation& notation) const;
    // Resets to invalid, then reads text in the notation; returns whether it was
    // accepted (the address is then valid). A non-empty text with a bad radix
    // throws std::out_of_range("nNotation").
    bool Parse(const std::string& text, const Notation& notation);

    // Registers the meta-type "IPv4Address" with its stream operators (once per process).
    static void RegisterMetaType();

    // Invalid addresses are equal to each other and order before every valid one;
    // valid addresses compare by unsigned value.
    friend bool operator==(const IPv4Address& a, const IPv4Address& b);
    friend bool operator!=(const IPv4Address& a, const IPv4Address& b) { return !(a == b); }
    friend bool operator<(const IPv4Address& a, const IPv4Address& b);
    friend bool operator>(const IPv4Address& a, const IPv4Address& b) { return b < a; }
    friend bool operator<=(const IPv4Address& a, const IPv4Address& b) { return !(b < a); }
    friend bool operator>=(const IPv4Address& a, const IPv4Address& b) { return !(a < b); }

    // Layout: the valid flag as a QDataStream bool, then the value as qint32 (big-endian).
    friend QDataStream& operator<<(QDataStream& stream, const IPv4Address& address);
    // Reads the same layout; on short or garbled input the address is invalid and
    // the stream status is not Ok.
    friend QDataStream& operator>>(QDataStream& stream, IPv4Address& address);

private:
    quint32 m_value = 0;
    bool m_valid = false;
};

// Writes the address in dotted decimal (nothing for an invalid address).
std::ostream& operator<<(std::ostream& stream, const IPv4Address& address);

Q_DECLARE_METATYPE(IPv4Address)
