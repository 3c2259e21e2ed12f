// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "address/ipv4address.h"

#include "address/datastreamutil.h"
#include "address/exceptionutil.h"

#include <QDataStream>

#include <ostream>
#include <stdexcept>

namespace {

void CheckRadix(quint32 radix)
{
    if (radix != 2 && radix != 8 && radix != 10 && radix != 16)
        throw std::out_of_range("nNotation");
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int DigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Digits of value in radix, lowercase, left-padded with zeros to minWidth.
std::string FormatDigits(quint32 value, quint32 radix, std::size_t minWidth)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    do {
        text.insert(text.begin(), digits[value % radix]);
        value /= radix;
    } while (value != 0);
    if (text.size() < minWidth)
        text.insert(0, minWidth - text.size(), '0');
    return text;
}

// Reads the text with one blank appended, the way a formatted input stream would:
// numbers never run into the end, so the input is exhausted only once blanks
// have been skipped up to it.
class TextReader
{
public:
    enum class Result
    {
        Read,
        Ended,
        Failed
    };

    explicit TextReader(const std::string& text)
        : m_text(text + ' ')
    {
    }

    bool IsExhausted() const { return m_pos >= m_text.size(); }

    void SkipBlanks()
    {
        while (m_pos < m_text.size() && IsBlank(m_text[m_pos]))
            ++m_pos;
    }

    // Blanks, an optional sign, in radix 16 an optional 0x/0X, then digits. The
    // magnitude must fit 32 bits.
    Result ReadNumber(quint32 radix, bool& negative, quint32& magnitude)
    {
        SkipBlanks();
        if (IsExhausted())
            return Result::Ended;
        negative = false;
        if (m_text[m_pos] == '+' || m_text[m_pos] == '-')
            negative = m_text[m_pos++] == '-';
        if (radix == 16 && m_pos + 1 < m_text.size() && m_text[m_pos] == '0'
            && (m_text[m_pos + 1] == 'x' || m_text[m_pos + 1] == 'X'))
            m_pos += 2;
        quint64 value = 0;
        std::size_t digits = 0;
        for (; m_pos < m_text.size(); ++m_pos, ++digits) {
            const int digit = DigitValue(m_text[m_pos]);
            if (digit < 0 || static_cast<quint32>(digit) >= radix)
                break;
            value = value * radix + static_cast<quint32>(digit);
            if (value > 0xffffffffULL)
                return Result::Failed;
        }
        if (digits == 0)
            return Result::Failed;
        magnitude = static_cast<quint32>(value);
        return Result::Read;
    }

    // Blanks, then the longest run of at most limit binary digits (at least one).
    Result ReadBinary(std::size_t limit, quint32& value)
    {
        SkipBlanks();
        if (IsExhausted())
            return Result::Ended;
        value = 0;
        std::size_t digits = 0;
        for (; digits < limit && m_pos < m_text.size(); ++m_pos, ++digits) {
            const char c = m_text[m_pos];
            if (c != '0' && c != '1')
                break;
            value = (value << 1) | static_cast<quint32>(c - '0');
        }
        return digits == 0 ? Result::Failed : Result::Read;
    }

    // The next non-blank character, or 0 when the input ends first.
    char ReadCharacter()
    {
        SkipBlanks();
        return IsExhausted() ? '\0' : m_text[m_pos++];
    }

private:
    std::string m_text;
    std::size_t m_pos = 0;
};

bool ParseWhole(TextReader& reader, quint32 radix, quint32& value)
{
    if (radix == 2)
        return reader.ReadBinary(32, value) == TextReader::Result::Read;
    bool negative = false;
    quint32 magnitude = 0;
    if (reader.ReadNumber(radix, negative, magnitude) != TextReader::Result::Read)
        return false;
    value = negative ? static_cast<quint32>(0) - magnitude : magnitude;
    return true;
}

bool ParseDotted(TextReader& reader, quint32 radix, quint32& value)
{
    quint32 bytes[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4; ++i) {
        if (reader.IsExhausted())
            break;
        quint32 part = 0;
        TextReader::Result result;
        if (radix == 2) {
            result = reader.ReadBinary(8, part);
        } else {
            bool negative = false;
            result = reader.ReadNumber(radix, negative, part);
            if (result == TextReader::Result::Read && negative && part != 0)
                return false;
        }
        if (result == TextReader::Result::Failed)
            return false;
        if (result == TextReader::Result::Ended)
            part = 0;
        if (part > 255)
            return false;
        bytes[i] = part;
        if (reader.IsExhausted())
            break;
        const char separator = reader.ReadCharacter();
        if (separator != '\0' && separator != '.')
            return false;
    }
    value = (bytes[0] << 24) | (bytes[1] << 16) | (bytes[2] << 8) | bytes[3];
    return true;
}

} // namespace

IPv4Address::IPv4Address(quint32 nValue)
    : m_value(nValue),
      m_valid(true)
{
}

IPv4Address::IPv4Address(const std::string& text, const Notation& notation)
{
    Parse(text, notation);
}

IPv4Address& IPv4Address::operator=(quint32 nValue)
{
    m_value = nValue;
    m_valid = true;
    return *this;
}

quint32 IPv4Address::GetValue() const
{
    if (!m_valid)
        throw ExceptionUtil::invalid_operation("this");
    return m_value;
}

quint8& IPv4Address::GetByte(quint32 nByteIndex)
{
    if (!m_valid)
        throw ExceptionUtil::invalid_operation("this");
    if (nByteIndex > 3)
        throw std::out_of_range("nByteIndex");
    // Byte 0 is the most significant, wherever the machine keeps it.
    quint8* bytes = reinterpret_cast<quint8*>(&m_value);
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    return bytes[3 - nByteIndex];
#else
    return bytes[nByteIndex];
#endif
}

quint8 IPv4Address::GetByte(quint32 nByteIndex) const
{
    if (!m_valid)
        throw ExceptionUtil::invalid_operation("this");
    if (nByteIndex > 3)
        throw std::out_of_range("nByteIndex");
    return static_cast<quint8>(m_value >> (8 * (3 - nByteIndex)));
}

IPv4Address IPv4Address::CreateMask(quint8 nMaskBits)
{
    if (nMaskBits > 32)
        throw std::out_of_range("nMaskBits");
    return IPv4Address(static_cast<quint32>(~((static_cast<quint64>(1) << (32 - nMaskBits)) - 1)));
}

std::string IPv4Address::ToString(const Notation& notation) const
{
    if (!m_valid)
        return std::string();
    CheckRadix(notation.radix);
    if (!notation.dotted) {
        switch (notation.radix) {
        case 2:
            return FormatDigits(m_value, 2, 32);
        case 16:
            // append() rather than operator+: g++ 12 warns falsely about the latter when optimising.
            return m_value == 0 ? "0" : std::string("0x").append(FormatDigits(m_value, 16, 1));
        case 8:
            return m_value == 0 ? "0" : std::string("0").append(FormatDigits(m_value, 8, 1));
        default:
            return FormatDigits(m_value, 10, 1);
        }
    }
    static const std::size_t widths[17] = {0, 0, 8, 0, 0, 0, 0, 0, 3, 0, 1, 0, 0, 0, 0, 0, 2};
    std::string text;
    for (quint32 i = 0; i < 4; ++i) {
        if (i > 0)
            text += '.';
        text += FormatDigits(GetByte(i), notation.radix, widths[notation.radix]);
    }
    return text;
}

bool IPv4Address::Parse(const std::string& text, const Notation& notation)
{
    *this = IPv4Address();
    if (text.empty())
        return false;
    CheckRadix(notation.radix);
    TextReader reader(text);
    quint32 value = 0;
    const bool read =
        notation.dotted ? ParseDotted(reader, notation.radix, value) : ParseWhole(reader, notation.radix, value);
    if (!read)
        return false;
    reader.SkipBlanks();
    if (!reader.IsExhausted())
        return false;
    *this = value;
    return true;
}

void IPv4Address::RegisterMetaType()
{
    static const int id = qRegisterMetaType<IPv4Address>();
    Q_UNUSED(id);
}

bool operator==(const IPv4Address& a, const IPv4Address& b)
{
    if (!a.m_valid || !b.m_valid)
        return a.m_valid == b.m_valid;
    return a.m_value == b.m_value;
}

bool operator<(const IPv4Address& a, const IPv4Address& b)
{
    if (!a.m_valid || !b.m_valid)
        return !a.m_valid && b.m_valid;
    return a.m_value < b.m_value;
}

QDataStream& operator<<(QDataStream& stream, const IPv4Address& address)
{
    return stream << address.m_valid << static_cast<qint32>(address.m_value);
}

QDataStream& operator>>(QDataStream& stream, IPv4Address& address)
{
    address = IPv4Address();
    bool valid = false;
    if (!DataStreamUtil::ReadFlag(stream, valid))
        return stream;
    qint32 value = 0;
    stream >> value;
    if (stream.status() != QDataStream::Ok)
        return stream;
    // An invalid address is always written with the value 0.
    if (!valid && value != 0) {
        DataStreamUtil::Corrupt(stream);
        return stream;
    }
    address.m_valid = valid;
    address.m_value = static_cast<quint32>(value);
    return stream;
}

std::ostream& operator<<(std::ostream& stream, const IPv4Address& address)
{
    return stream << address.ToString(IPv4Address::DottedDecimal);
}
