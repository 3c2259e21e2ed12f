// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controllers/hostlookup.h"

#include "widgets/waitcursor.h"

#include <QHostInfo>

namespace HostLookup {
namespace {
Resolver resolverInUse = nullptr;
} // namespace

QHostAddress FirstAddress(const QString& hostName, QAbstractSocket::NetworkLayerProtocol protocol,
                          const QString& noAddressText, QString& errorText)
{
    const WaitCursor waitCursor;
    const QHostInfo hostInfo = resolverInUse ? resolverInUse(hostName) : QHostInfo::fromName(hostName);
    if (hostInfo.error() != QHostInfo::NoError) {
        errorText = hostInfo.errorString();
        return QHostAddress();
    }
    for (const QHostAddress& address : hostInfo.addresses())
        if (address.protocol() == protocol)
            return address;
    errorText = noAddressText;
    return QHostAddress();
}

void SetResolver(Resolver resolver)
{
    resolverInUse = resolver;
}
} // namespace HostLookup
