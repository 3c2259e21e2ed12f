// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "models/addresstext.h"

#include "address/ipv4address.h"

namespace AddressText {

QString DottedDecimal(const IPv4Address& address)
{
    return QString::fromStdString(address.ToString(IPv4Address::DottedDecimal));
}

QString RangeText(const IPv4Address& first, const IPv4Address& last)
{
    QString text = DottedDecimal(first);
    if (last != first)
        text += QStringLiteral(" - ") + DottedDecimal(last);
    return text;
}

QString MaskText(const IPv4Address& mask, int maskBits)
{
    return QStringLiteral("%1   (/%2)").arg(DottedDecimal(mask)).arg(maskBits);
}

QString WildcardText(const IPv4Address& mask)
{
    return mask.IsValid() ? DottedDecimal(IPv4Address(~mask.GetValue())) : QString();
}

} // namespace AddressText
