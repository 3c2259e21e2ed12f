// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>

// How the C library's allocator takes memory from the system and gives it back.
class MemoryPolicy
{
public:
    // Blocks of this size and more come from the system and go straight back when freed.
    static constexpr size_t kMapThreshold = size_t{1024} * 1024;

    // Fixes the threshold, once, before large blocks are made: by default it
    // rises to the largest block freed, after which a long list's buffers,
    // freed on another thread than the one that made them, stay resident.
    static void Apply();
};
