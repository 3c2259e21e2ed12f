// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the benchmarks of the main window measure alike: peak memory, the idle
// window, and the longest time the GUI thread is held.

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <algorithm>
#include <functional>

namespace BenchUtil {

// VmHWM of this process in KiB; -1 when unreadable.
inline long PeakResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// Runs what the event loop would run next until one turn finds nothing to do.
// The repaint is a posted UpdateRequest whose handling paints and flushes the
// backing store, so once nothing is posted the window shows the result.
inline void RunUntilIdle()
{
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    bool busy = true;
    while (busy) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        busy = dispatcher->processEvents(QEventLoop::AllEvents);
    }
}

// Runs the event loop until done() holds, checking it after every turn, or
// until ms pass; false then. Unlike QTest::qWaitFor it never sleeps, which
// would hold back what the window shows and count as the GUI thread held.
inline bool WaitUntil(const std::function<bool()>& done, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.hasExpired(ms))
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// From Start, the longest gap between two turns of the event loop: how long
// the GUI thread was held at once. It ticks every millisecond rather than
// spinning, which would take a core from the work it waits for.
class LongestHold
{
public:
    LongestHold()
    {
        m_tick.setTimerType(Qt::PreciseTimer);
        m_tick.setInterval(1);
        QObject::connect(&m_tick, &QTimer::timeout, [this] {
            m_longest = std::max(m_longest, m_gap.nsecsElapsed());
            m_gap.restart();
        });
    }
    void Start()
    {
        m_longest = 0;
        m_gap.start();
        m_tick.start();
    }
    void Stop() { m_tick.stop(); }
    [[nodiscard]] double Ms() const { return static_cast<double>(m_longest) / 1e6; }

private:
    QTimer m_tick;
    QElapsedTimer m_gap;
    qint64 m_longest = 0;
};

} // namespace BenchUtil
