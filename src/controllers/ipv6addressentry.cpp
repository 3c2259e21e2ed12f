// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controllers/ipv6addressentry.h"

#include "address/addressprefix.h"
#include "address/ipv6address.h"
#include "controllers/tabcontroller.h"
#include "settings/octetrysettings.h"

#include <QCoreApplication>
#include <QHostAddress>

namespace {
const AddressEntryFamily kIPv6Family = {
    &AddressPrefix::SplitIPv6,
    [](const std::string& addressText) { Controller::GetSettings()->SetIPv6Address(IPv6Address(addressText)); },
    [](const QHostAddress& address) {
        Controller::GetSettings()->SetIPv6Address(IPv6Address(address.toIPv6Address()));
    },
    [] { return Controller::GetSettings()->GetIPv6Address().IsValid(); },
    [] {
        return QString::fromStdString(
            Controller::GetSettings()->GetIPv6Address().ToString(IPv6Address::CompressedNotation));
    },
    QAbstractSocket::IPv6Protocol,
    "IPv6AddressEntry",
    QT_TRANSLATE_NOOP("IPv6AddressEntry", "No IPv6 addresses are available for this host name"),
    QT_TRANSLATE_NOOP("IPv6AddressEntry", "IPv6 Resolve Failed"),
};
} // namespace

IPv6AddressEntry::IPv6AddressEntry(TabController* controller, QLineEdit* edit)
    : AddressEntry(controller, edit, kIPv6Family,
                   [](int prefixLength) { Controller::GetSettings()->SetIPv6PrefixLength(prefixLength); })
{
}
