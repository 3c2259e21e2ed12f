// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controllers/hostlookup.h"

#include <QHostInfo>

namespace {
HostLookup::Resolver resolverInUse = nullptr;
} // namespace

HostLookup::HostLookup(const QString& hostName, Answer answer)
{
    if (resolverInUse)
        resolverInUse(hostName, &m_context, answer);
    else
        m_id = QHostInfo::lookupHost(hostName, &m_context, std::move(answer));
}

HostLookup::~HostLookup()
{
    if (m_id >= 0)
        QHostInfo::abortHostLookup(m_id);
}

QHostAddress HostLookup::FirstAddress(const QHostInfo& hostInfo, QAbstractSocket::NetworkLayerProtocol protocol,
                                      const QString& noAddressText, QString& errorText)
{
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

void HostLookup::SetResolver(Resolver resolver)
{
    resolverInUse = resolver;
}
