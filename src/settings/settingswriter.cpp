// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/settingswriter.h"

#include <QtGlobal>

#include <algorithm>

namespace {

using Clock = std::chrono::steady_clock;

// A burst is written this long after its last change, or this long after its
// first while changes keep coming; a SIGKILL loses at most the latter.
constexpr std::chrono::milliseconds quietDelay(250);
constexpr std::chrono::milliseconds longestDelay(500);

} // namespace

SettingsWriter::SettingsWriter(const QSettings& like)
    : m_fileName(like.fileName()),
      m_format(like.format())
{
}

SettingsWriter::~SettingsWriter()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    if (m_thread.joinable())
        m_thread.join();
}

void SettingsWriter::Queue(Values values)
{
    const Clock::time_point now = Clock::now();
    const std::lock_guard lock(m_mutex);
    const bool first = !m_queued;
    if (first)
        m_firstQueued = now;
    m_lastQueued = now;
    m_queued = std::move(values);
    if (!m_thread.joinable())
        m_thread = std::thread(&SettingsWriter::Run, this);
    else if (first)
        m_wake.notify_one(); // a later change only moves the due time on: no need to wake the thread
}

void SettingsWriter::Flush()
{
    std::unique_lock lock(m_mutex);
    if (!m_queued && !m_writing)
        return;
    ++m_flushing;
    m_wake.notify_one();
    m_idle.wait(lock, [this] { return !m_queued && !m_writing; });
    --m_flushing;
}

bool SettingsWriter::IsBusy() const
{
    const std::lock_guard lock(m_mutex);
    return m_queued || m_writing;
}

void SettingsWriter::Run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_queued || m_stopping; });
        if (!m_queued)
            return;
        while (m_flushing == 0 && !m_stopping) {
            const Clock::time_point due = std::min(m_lastQueued + quietDelay, m_firstQueued + longestDelay);
            if (Clock::now() >= due)
                break;
            m_wake.wait_until(lock, due);
        }
        const Values values = std::move(*m_queued);
        m_queued.reset();
        m_writing = true;
        lock.unlock();
        Write(values);
        lock.lock();
        m_writing = false;
        m_idle.notify_all();
    }
}

void SettingsWriter::Write(const Values& values) const
{
    // An object of this thread's own over the same file; QSettings is reentrant.
    QSettings settings(m_fileName, m_format);
    // Written to a temporary file and renamed over the old one, never in place.
    settings.setAtomicSyncRequired(true);
    for (const auto& [key, value] : values)
        settings.setValue(key, value);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        qWarning("The settings could not be written to %s", qPrintable(m_fileName));
}
