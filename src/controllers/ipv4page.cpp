// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controllers/ipv4page.h"

#include "ipv4/ipv4addressblock.h"
#include "ipv4/ipv4cidrpolicy.h"
#include "ipv4/ipv4subnetpolicy.h"
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

int SubnetMaskLength(const IPv4SubnetPolicy& policy)
{
    quint8 maskBits = 0;
    quint8 subnetBits = 0;
    quint8 hostBits = 0;
    policy.GetBitCounts(maskBits, subnetBits, hostBits);
    return maskBits;
}

int CidrMaskLength(const IPv4CidrPolicy& policy)
{
    return policy.GetAddressBlock().GetMaskBits() + policy.GetCidrBits();
}
} // namespace IPv4Page
