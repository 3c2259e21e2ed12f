// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QSettings>
#include <QString>
#include <QVariant>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

// Writes key/value snapshots to one settings file on a thread of its own, so
// the caller never waits for the disk: of a burst of snapshots only the last
// is written, a short delay after the burst (and at least every half second
// while changes keep coming). The file is replaced atomically, never left
// half-written.
class SettingsWriter
{
public:
    using Values = QList<std::pair<QString, QVariant>>;

    // Writes to the file of like, in its format; the thread starts with the first Queue.
    explicit SettingsWriter(const QSettings& like);
    // Writes what is still queued, then ends the thread.
    ~SettingsWriter();
    SettingsWriter(const SettingsWriter&) = delete;
    SettingsWriter& operator=(const SettingsWriter&) = delete;

    // Queues values to be written soon, in place of any queued before; returns at once.
    void Queue(Values values);
    // Writes the queued values now and returns once they are on disk (at once when none are).
    void Flush();
    // Whether values are queued or being written.
    bool IsBusy() const;

private:
    void Run();
    void Write(const Values& values) const;

    const QString m_fileName;
    const QSettings::Format m_format;

    // Everything below is shared with the thread and guarded by m_mutex.
    mutable std::mutex m_mutex;
    std::condition_variable m_wake; // the thread: values queued, a flush or the end
    std::condition_variable m_idle; // Flush: nothing queued or being written
    std::optional<Values> m_queued;
    std::chrono::steady_clock::time_point m_firstQueued, m_lastQueued;
    bool m_writing = false;
    int m_flushing = 0;
    bool m_stopping = false;
    std::thread m_thread;
};
