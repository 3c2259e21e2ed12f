// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controllers/countedlock.h"

void CountedLock::Lock()
{
    if (++m_count == 1)
        OnLock();
}

void CountedLock::Unlock()
{
    // An unmatched Unlock changes nothing: the hook already ran for the last real one.
    if (m_count > 0 && --m_count == 0)
        OnUnlock();
}
