#pragma once

#include <QAbstractSocket>
#include <QHostAddress>
#include <QString>

namespace HostLookup {
// The first address of the protocol that hostName resolves to, looked up under
// the wait cursor. Without one the address is null and errorText holds the
// lookup's error, or noAddressText when the name has no address of the protocol.
QHostAddress FirstAddress(const QString& hostName, QAbstractSocket::NetworkLayerProtocol protocol,
                          const QString& noAddressText, QString& errorText);
} // namespace HostLookup
