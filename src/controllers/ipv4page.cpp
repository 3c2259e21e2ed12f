// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controllers/ipv4page.h"

#include "models/addresstext.h"

namespace IPv4Page {
QString DottedDecimal(const IPv4Address& address)
{
    return AddressText::DottedDecimal(address);
}

QString WildcardText(const IPv4Address& mask)
{
    return AddressText::WildcardText(mask);
}

} // namespace IPv4Page
