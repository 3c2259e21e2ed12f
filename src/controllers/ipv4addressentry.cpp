// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controllers/ipv4addressentry.h"

#include "address/addressprefix.h"
#include "address/ipv4address.h"
#include "controllers/tabcontroller.h"
#include "models/addresstext.h"
#include "settings/octetrysettings.h"

#include <QCoreApplication>
#include <QHostAddress>

namespace {
const AddressEntryFamily kIPv4Family = {
    &AddressPrefix::SplitIPv4,
    [](const std::string& addressText) {
        Controller::GetSettings()->SetIPv4Address(IPv4Address(addressText, IPv4Address::DottedDecimal));
    },
    [](const QHostAddress& address) {
        Controller::GetSettings()->SetIPv4Address(IPv4Address(address.toIPv4Address()));
    },
    [] { return Controller::GetSettings()->GetIPv4Address().IsValid(); },
    [] { return AddressText::DottedDecimal(Controller::GetSettings()->GetIPv4Address()); },
    QAbstractSocket::IPv4Protocol,
    "IPv4AddressEntry",
    QT_TRANSLATE_NOOP("IPv4AddressEntry", "No IPv4 addresses are available for this host name"),
    QT_TRANSLATE_NOOP("IPv4AddressEntry", "IPv4 Resolve Failed"),
};
} // namespace

IPv4AddressEntry::IPv4AddressEntry(TabController* controller, QLineEdit* edit, PrefixLengthSink applyPrefixLength)
    : AddressEntry(controller, edit, kIPv4Family, std::move(applyPrefixLength))
{
}
