#include "controllers/countedlock.h"

void CountedLock::Lock()
{
    if (++m_count == 1)
        OnLock();
}

void CountedLock::Unlock()
{
    if (m_count > 0)
        --m_count;
    if (m_count == 0)
        OnUnlock();
}
