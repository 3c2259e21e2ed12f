// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/memorypolicy.h"

#include <malloc.h>

void MemoryPolicy::Apply()
{
    mallopt(M_MMAP_THRESHOLD, static_cast<int>(kMapThreshold));
}
