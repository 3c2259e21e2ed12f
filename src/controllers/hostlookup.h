// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAbstractSocket>
#include <QHostAddress>
#include <QObject>
#include <QString>

#include <functional>

class QHostInfo;

// One host-name lookup that never blocks: the resolver answers later through
// the event loop, and never once the lookup is destroyed.
class HostLookup
{
public:
    // Takes the resolver's answer.
    using Answer = std::function<void(const QHostInfo& hostInfo)>;
    // An asynchronous lookup, as QHostInfo::lookupHost with a context object
    // is: it calls answer once, unless context is destroyed first.
    using Resolver = void (*)(const QString& hostName, QObject* context, const Answer& answer);

    // Asks the resolver for hostName (in its ASCII form) and hands its answer on.
    HostLookup(const QString& hostName, Answer answer);
    HostLookup(const HostLookup&) = delete;
    HostLookup& operator=(const HostLookup&) = delete;
    // Abandons the lookup if it has not answered yet.
    ~HostLookup();

    // The first address of the protocol in hostInfo. Without one the address is
    // null and errorText holds the lookup's error, or noAddressText when the
    // name has no address of the protocol.
    [[nodiscard]] static QHostAddress FirstAddress(const QHostInfo& hostInfo,
                                                   QAbstractSocket::NetworkLayerProtocol protocol,
                                                   const QString& noAddressText, QString& errorText);
    // Makes every later lookup ask resolver instead of the system (tests); null restores the system's.
    static void SetResolver(Resolver resolver);

private:
    // The answer's receiver: gone with the lookup, so a late answer is dropped.
    QObject m_context;
    // The system lookup's id, to abort it; -1 for a test's resolver.
    int m_id = -1;
};
