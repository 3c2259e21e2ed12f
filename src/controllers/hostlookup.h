// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAbstractSocket>
#include <QHostAddress>
#include <QString>

class QHostInfo;

namespace HostLookup {
// The first address of the protocol that hostName resolves to, looked up under
// the wait cursor. Without one the address is null and errorText holds the
// lookup's error, or noAddressText when the name has no address of the protocol.
QHostAddress FirstAddress(const QString& hostName, QAbstractSocket::NetworkLayerProtocol protocol,
                          const QString& noAddressText, QString& errorText);

// A synchronous name lookup, as QHostInfo::fromName is.
using Resolver = QHostInfo (*)(const QString& hostName);
// Makes FirstAddress ask resolver instead of the system (tests); null restores the system's.
void SetResolver(Resolver resolver);
} // namespace HostLookup
