// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

// A re-entrancy counter for one thread: the first Lock and the last Unlock
// run the hooks, nested ones only count.
class CountedLock
{
public:
    CountedLock() = default;
    CountedLock(const CountedLock&) = delete;
    CountedLock& operator=(const CountedLock&) = delete;
    virtual ~CountedLock() = default;

    // Adds one; the step from 0 to 1 runs OnLock.
    void Lock();
    // Takes one away if held; reaching 0 runs OnUnlock.
    void Unlock();
    // True while the count is above 0.
    bool IsLocked() const { return m_count > 0; }
    // Number of Lock calls not yet matched by Unlock.
    std::uint32_t GetCount() const { return m_count; }

protected:
    virtual void OnLock() {}
    virtual void OnUnlock() {}

private:
    std::uint32_t m_count = 0;
};
