// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controllers/qtutil.h"

#include <QObject>

namespace QtUtil {

void SignalBlocker::SignalLock::OnLock()
{
    if (m_object)
        m_wasBlocked = m_object->blockSignals(true);
}

void SignalBlocker::SignalLock::OnUnlock()
{
    // Somebody else's block outlives ours.
    if (m_object && !m_wasBlocked)
        m_object->blockSignals(false);
}

SignalBlocker::SignalBlocker(SignalLock* lock)
{
    Acquire(lock);
}

SignalBlocker::SignalBlocker(const SignalBlocker& other)
{
    Acquire(other.m_lock);
}

SignalBlocker& SignalBlocker::operator=(const SignalBlocker& other)
{
    if (this != &other) {
        // Taking the new share first keeps a lock shared by both alive.
        SignalLock* const lock = other.m_lock;
        if (lock)
            lock->Lock();
        Release();
        m_lock = lock;
    }
    return *this;
}

SignalBlocker::~SignalBlocker()
{
    Release();
}

void SignalBlocker::Acquire(SignalLock* lock)
{
    m_lock = lock;
    if (m_lock)
        m_lock->Lock();
}

void SignalBlocker::Release()
{
    if (!m_lock)
        return;
    m_lock->Unlock();
    if (!m_lock->IsLocked())
        delete m_lock;
    m_lock = nullptr;
}

} // namespace QtUtil
