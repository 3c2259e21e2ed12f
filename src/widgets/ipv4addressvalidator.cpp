// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/ipv4addressvalidator.h"

#include "widgets/fittingvalidator.h"

namespace {
bool IsDigitOfRadix(QChar c, quint32 nRadix)
{
    const char ascii = c.toLatin1();
    if (c.unicode() > 0xff)
        return false;
    int digit = -1;
    if (ascii >= '0' && ascii <= '9')
        digit = ascii - '0';
    else if (ascii >= 'a' && ascii <= 'f')
        digit = ascii - 'a' + 10;
    else if (ascii >= 'A' && ascii <= 'F')
        digit = ascii - 'A' + 10;
    return digit >= 0 && static_cast<quint32>(digit) < nRadix;
}
} // namespace

IPv4AddressValidator::IPv4AddressValidator(quint32 nRadix, QObject* parent)
    : QValidator(parent),
      m_radix(nRadix)
{
}

QValidator::State IPv4AddressValidator::validate(QString& input, int& pos) const
{
    FittingValidator::Trim(input, pos);
    for (const QChar c : input)
        if (c != QLatin1Char('.') && !IsDigitOfRadix(c, m_radix))
            return Invalid;
    return Acceptable;
}
