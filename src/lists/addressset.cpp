// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "lists/addressset.h"

#include <algorithm>
#include <bit>

namespace {
constexpr UInt128 kAll = ~static_cast<UInt128>(0);

int TrailingZeros(UInt128 value)
{
    const auto low = static_cast<quint64>(value);
    if (low != 0)
        return std::countr_zero(low);
    return 64 + std::countr_zero(static_cast<quint64>(value >> 64)); // 128 for zero
}

// The largest n with 2^n <= value; value > 0.
int FloorLog2(UInt128 value)
{
    const auto high = static_cast<quint64>(value >> 64);
    if (high != 0)
        return 127 - std::countl_zero(high);
    return 63 - std::countl_zero(static_cast<quint64>(value));
}

UInt128 LowBits(int bits)
{
    return bits >= 128 ? kAll : (static_cast<UInt128>(1) << bits) - 1;
}

// Whether span, starting at or after before's first, shares or follows on before's addresses.
bool Touches(const AddressSpan& before, const AddressSpan& span)
{
    return before.last == kAll || span.first <= before.last + 1;
}
} // namespace

AddressSet AddressSet::FromSpans(AddressFamily family, std::vector<AddressSpan> spans, const std::atomic<bool>* cancel)
{
    AddressSet set(family);
    std::sort(spans.begin(), spans.end(), [](const AddressSpan& a, const AddressSpan& b) { return a.first < b.first; });
    if (cancel != nullptr && cancel->load())
        return set;
    // Merged in place: the sorted copy is the only buffer.
    size_t kept = 0;
    for (const AddressSpan& span : spans) {
        if (kept > 0 && Touches(spans[kept - 1], span))
            spans[kept - 1].last = std::max(spans[kept - 1].last, span.last);
        else
            spans[kept++] = span;
    }
    spans.resize(kept);
    set.m_spans = std::move(spans);
    return set;
}

void AddressSet::AppendMerged(std::vector<AddressSpan>& spans, const AddressSpan& span)
{
    if (!spans.empty() && Touches(spans.back(), span))
        spans.back().last = std::max(spans.back().last, span.last);
    else
        spans.push_back(span);
}

AddressSet AddressSet::Union(const AddressSet& other) const
{
    AddressSet result(m_family);
    result.m_spans.reserve(m_spans.size() + other.m_spans.size());
    auto mine = m_spans.begin(), theirs = other.m_spans.begin();
    while (mine != m_spans.end() || theirs != other.m_spans.end()) {
        const bool takeMine = theirs == other.m_spans.end() || (mine != m_spans.end() && mine->first < theirs->first);
        AppendMerged(result.m_spans, takeMine ? *mine++ : *theirs++);
    }
    return result;
}

AddressSet AddressSet::Minus(const AddressSet& other) const
{
    AddressSet result(m_family);
    const std::vector<AddressSpan>& cut = other.m_spans;
    size_t next = 0;
    for (const AddressSpan& span : m_spans) {
        UInt128 from = span.first;
        while (next < cut.size() && cut[next].last < from)
            ++next;
        bool covered = false;
        for (; next < cut.size() && cut[next].first <= span.last; ++next) {
            if (cut[next].first > from)
                result.m_spans.push_back({from, cut[next].first - 1});
            if (cut[next].last >= span.last) {
                covered = true; // it may reach into the next span: keep it
                break;
            }
            from = cut[next].last + 1;
        }
        if (!covered)
            result.m_spans.push_back({from, span.last});
    }
    return result;
}

AddressSet AddressSet::Intersection(const AddressSet& other) const
{
    AddressSet result(m_family);
    auto mine = m_spans.begin(), theirs = other.m_spans.begin();
    while (mine != m_spans.end() && theirs != other.m_spans.end()) {
        const UInt128 first = std::max(mine->first, theirs->first), last = std::min(mine->last, theirs->last);
        if (first <= last)
            result.m_spans.push_back({first, last});
        if (mine->last < theirs->last)
            ++mine;
        else
            ++theirs;
    }
    return result;
}

void AddressSet::AppendPrefixes(UInt128 first, UInt128 last, std::vector<AddressSpan>& prefixes)
{
    // The largest block aligned at first that ends at or before last, again and again.
    for (;;) {
        const UInt128 rest = last - first;
        const int bits = std::min(TrailingZeros(first), rest == kAll ? 128 : FloorLog2(rest + 1));
        const UInt128 end = first + LowBits(bits);
        prefixes.push_back({first, end});
        if (end == last)
            return;
        first = end + 1;
    }
}

std::vector<AddressSpan> AddressSet::Prefixes() const
{
    std::vector<AddressSpan> prefixes;
    prefixes.reserve(m_spans.size());
    for (const AddressSpan& span : m_spans)
        AppendPrefixes(span.first, span.last, prefixes);
    return prefixes;
}

AddressCount AddressSet::Count() const
{
    AddressCount count;
    for (const AddressSpan& span : m_spans)
        count.Add({m_family, span.first, span.last});
    return count;
}
