// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <functional>

// The message of the E that call throws, or "no exception": one QCOMPARE checks both type and message.
template <class E>
QString ThrownMessage(const std::function<void()>& call)
{
    try {
        call();
    } catch (const E& e) {
        return QString::fromLatin1(e.what());
    }
    return QStringLiteral("no exception");
}
