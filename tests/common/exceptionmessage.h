#pragma once

#include <QString>

#include <functional>

// The message of the exception of type E that call throws, or "no exception", so a
// test can compare both the type and the message in one QCOMPARE.
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
