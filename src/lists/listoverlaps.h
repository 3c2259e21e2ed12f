// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "lists/listcomputation.h"

#include <array>

// The pairs of items sharing addresses, found by one sweep in address order.
class ListOverlaps
{
public:
    // The pairs within a (b null) or between a and b, at most
    // ListResult::kMaxOverlaps of them in address order, the others counted;
    // shared holds each family's addresses in more than one item of a, or in
    // both lists. False when cancel stopped it.
    [[nodiscard]] static bool Find(const std::vector<ListItem>& a, const std::vector<ListItem>* b,
                                   const std::atomic<bool>& cancel, std::vector<ListOverlap>& pairs, UInt128& dropped,
                                   std::array<AddressCount, 2>& shared);
};
