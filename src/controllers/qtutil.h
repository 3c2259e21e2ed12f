// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "controllers/countedlock.h"

class QObject;

namespace QtUtil {

// A shared handle that keeps one object's signals blocked while any copy of
// it exists, and then restores the blocked state the object had before.
class SignalBlocker
{
public:
    // Blocks the signals of one object (null guards nothing) until the last copy goes.
    class SignalLock : public CountedLock
    {
    public:
        explicit SignalLock(QObject* object)
            : m_object(object)
        {
        }

    protected:
        void OnLock() override;
        void OnUnlock() override;

    private:
        QObject* m_object;
        bool m_wasBlocked = false;
    };

    // Takes a share of `lock`, which may be null; the handles own it jointly.
    explicit SignalBlocker(SignalLock* lock = nullptr);
    SignalBlocker(const SignalBlocker& other);
    SignalBlocker& operator=(const SignalBlocker& other);
    virtual ~SignalBlocker();

private:
    void Acquire(SignalLock* lock);
    void Release();

    SignalLock* m_lock = nullptr;
};

} // namespace QtUtil
