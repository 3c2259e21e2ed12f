// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "address/hostname.h"

#include "address/ipv4address.h"

#include <QChar>
#include <QString>
#include <QStringView>
#include <QUrl>

#include <algorithm>

namespace {
// Every notation an IPv4 address field reads: text one of them takes is an address, however mistyped.
constexpr IPv4Address::Notation kIPv4Notations[] = {
    IPv4Address::DottedDecimal, IPv4Address::Decimal, IPv4Address::DottedHexadecimal, IPv4Address::Hexadecimal,
    IPv4Address::DottedOctal,   IPv4Address::Octal,   IPv4Address::DottedBinary,      IPv4Address::Binary,
};

// Letters (with the marks that complete them in many scripts), digits, hyphens and dots: what a host
// name is written with before IDNA turns it into ASCII.
bool IsNameCharacter(char32_t c)
{
    return QChar::isLetter(c) || QChar::isMark(c) || QChar::category(c) == QChar::Number_DecimalDigit || c == U'-'
           || c == U'.';
}

// RFC 1123 section 2.1: 1 to 63 letters, digits or hyphens, not starting or ending with a hyphen.
bool IsLabel(QByteArrayView label)
{
    return !label.isEmpty() && label.size() <= 63 && label.front() != '-' && label.back() != '-';
}
} // namespace

namespace HostName {
std::string ToAscii(const std::string& text)
{
    const QString name = QString::fromStdString(text);
    const QList<uint> characters = name.toUcs4();
    if (!std::all_of(characters.begin(), characters.end(), [](uint c) { return IsNameCharacter(c); }))
        return std::string();
    if (std::any_of(std::begin(kIPv4Notations), std::end(kIPv4Notations),
                    [&text](const IPv4Address::Notation& notation) { return IPv4Address(text, notation).IsValid(); }))
        return std::string();
    QByteArray ascii = QUrl::toAce(name);
    // One trailing dot names the root; the name is the part before it.
    if (ascii.endsWith('.'))
        ascii.chop(1);
    if (ascii.isEmpty() || ascii.size() > 253)
        return std::string();
    const QList<QByteArray> labels = ascii.split('.');
    if (!std::all_of(labels.begin(), labels.end(), [](const QByteArray& label) { return IsLabel(label); }))
        return std::string();
    // RFC 3696 section 2: a top-level domain is never all digits, so such a name is a mistyped address.
    const QByteArray& last = labels.back();
    if (std::all_of(last.begin(), last.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::string();
    return ascii.toStdString();
}
} // namespace HostName
