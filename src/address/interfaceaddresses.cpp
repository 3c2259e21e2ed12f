// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "address/interfaceaddresses.h"

#include <QHostAddress>
#include <QNetworkInterface>

#include <algorithm>
#include <iterator>
#include <optional>

InterfaceAddresses::InterfaceAddresses(const QList<QHostAddress>& addresses)
{
    static const QHostAddress special[] = {
        QHostAddress(QHostAddress::Null),      QHostAddress(QHostAddress::Broadcast),
        QHostAddress(QHostAddress::LocalHost), QHostAddress(QHostAddress::LocalHostIPv6),
        QHostAddress(QHostAddress::AnyIPv4),   QHostAddress(QHostAddress::AnyIPv6),
    };
    for (const QHostAddress& address : addresses) {
        if (std::find(std::begin(special), std::end(special), address) != std::end(special))
            continue;
        if (address.protocol() == QAbstractSocket::IPv4Protocol)
            m_ipv4.emplace_back(address.toIPv4Address());
        else if (address.protocol() == QAbstractSocket::IPv6Protocol)
            m_ipv6.emplace_back(address.toIPv6Address());
    }
}

namespace {
std::optional<InterfaceAddresses>& SystemAddresses()
{
    static std::optional<InterfaceAddresses> addresses;
    return addresses;
}
} // namespace

const InterfaceAddresses& InterfaceAddresses::System()
{
    std::optional<InterfaceAddresses>& addresses = SystemAddresses();
    if (!addresses)
        addresses.emplace(QNetworkInterface::allAddresses());
    return *addresses;
}

void InterfaceAddresses::SetSystem(const QList<QHostAddress>& addresses)
{
    SystemAddresses().emplace(addresses);
}
