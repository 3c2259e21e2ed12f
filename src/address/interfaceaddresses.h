// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "address/ipv4address.h"
#include "address/ipv6address.h"

#include <QList>

#include <vector>

class QHostAddress;

// The machine's own interface addresses by family, as the address menus offer
// them and the settings start from.
class InterfaceAddresses
{
public:
    // Splits addresses by family in their order, duplicates kept, leaving out
    // exactly null, broadcast, the two loopbacks and the two any addresses.
    explicit InterfaceAddresses(const QList<QHostAddress>& addresses);

    // The machine's, collected on the first call and never refreshed.
    [[nodiscard]] static const InterfaceAddresses& System();
    // Makes System() answer these addresses instead of the machine's (tests).
    static void SetSystem(const QList<QHostAddress>& addresses);

    [[nodiscard]] const std::vector<IPv4Address>& GetIPv4() const { return m_ipv4; }
    [[nodiscard]] const std::vector<IPv6Address>& GetIPv6() const { return m_ipv6; }

private:
    std::vector<IPv4Address> m_ipv4;
    std::vector<IPv6Address> m_ipv6;
};
