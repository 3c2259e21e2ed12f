// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "lists/addressset.h"

#include <algorithm>
#include <array>
#include <bit>
#include <limits>
#include <memory>

namespace {
constexpr UInt128 kAll = ~static_cast<UInt128>(0);
// The most prefixes one range needs: two of each length.
constexpr size_t kMostPrefixes = 256;

int TrailingZeros(quint64 value)
{
    return std::countr_zero(value); // 64 for zero
}

int TrailingZeros(UInt128 value)
{
    const auto low = static_cast<quint64>(value);
    if (low != 0)
        return std::countr_zero(low);
    return 64 + std::countr_zero(static_cast<quint64>(value >> 64)); // 128 for zero
}

// The largest n with 2^n <= value; value > 0.
int FloorLog2(quint64 value)
{
    return 63 - std::countl_zero(value);
}

int FloorLog2(UInt128 value)
{
    const auto high = static_cast<quint64>(value >> 64);
    if (high != 0)
        return 127 - std::countl_zero(high);
    return 63 - std::countl_zero(static_cast<quint64>(value));
}

template <typename Int>
Int LowBits(int bits)
{
    return bits >= static_cast<int>(8 * sizeof(Int)) ? ~Int{0} : (Int{1} << bits) - 1;
}

// Whether span, starting at or after before's first, shares or follows on before's addresses.
bool Touches(const AddressSpan& before, const AddressSpan& span)
{
    return before.last == kAll || span.first <= before.last + 1;
}

// Calls take with the fewest prefixes covering first..last: the largest block
// aligned at first that ends at or before last, again and again.
template <typename Int, typename Emit>
void ForEachPrefixOf(Int first, Int last, const Emit& take)
{
    constexpr int kBits = 8 * sizeof(Int);
    for (;;) {
        const Int rest = last - first;
        const int bits = std::min(TrailingZeros(first), rest == ~Int{0} ? kBits : FloorLog2(rest + 1));
        const Int end = first + LowBits<Int>(bits);
        take(AddressSpan{first, end});
        if (end == last)
            return;
        first = end + 1;
    }
}

template <typename Emit>
void ForEachPrefix(UInt128 first, UInt128 last, const Emit& take)
{
    // Within 64 bits, as IPv4 always is, the arithmetic costs a fraction.
    if (last < std::numeric_limits<quint64>::max())
        ForEachPrefixOf(static_cast<quint64>(first), static_cast<quint64>(last), take);
    else
        ForEachPrefixOf(first, last, take);
}

// Sorts keys by their high 32 bits, a byte at a time (stable, linear).
void SortByHigh32(std::vector<quint64>& keys)
{
    if (keys.empty())
        return;
    const std::unique_ptr<quint64[]> buffer(new quint64[keys.size()]); // not zeroed: every key is written
    quint64* sorted = buffer.get();
    quint64* from = keys.data();
    bool moved = false;
    for (int shift = 32; shift < 64; shift += 8) {
        std::array<size_t, 257> starts{};
        for (size_t at = 0; at < keys.size(); ++at)
            ++starts[((from[at] >> shift) & 0xFF) + 1];
        if (starts[((from[0] >> shift) & 0xFF) + 1] == keys.size())
            continue; // one value for this byte: the order stands
        for (size_t bucket = 1; bucket < starts.size(); ++bucket)
            starts[bucket] += starts[bucket - 1];
        for (size_t at = 0; at < keys.size(); ++at)
            sorted[starts[(from[at] >> shift) & 0xFF]++] = from[at];
        std::swap(from, sorted);
        moved = !moved;
    }
    if (moved)
        std::copy(from, from + keys.size(), keys.data());
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

AddressSet AddressSet::FromIPv4Keys(std::vector<quint64> keys, const std::atomic<bool>* cancel)
{
    SortIPv4Keys(keys);
    if (cancel != nullptr && cancel->load())
        return AddressSet(AddressFamily::IPv4);
    return FromSortedIPv4Keys(keys, {});
}

void AddressSet::SortIPv4Keys(std::vector<quint64>& keys)
{
    SortByHigh32(keys); // merging needs the order of first only
}

AddressSet AddressSet::FromSortedIPv4Keys(const std::vector<quint64>& a, const std::vector<quint64>& b)
{
    AddressSet set(AddressFamily::IPv4);
    set.m_spans.reserve(a.size() + b.size());
    auto mine = a.begin(), theirs = b.begin();
    while (mine != a.end() || theirs != b.end()) {
        const bool takeMine = theirs == b.end() || (mine != a.end() && *mine >> 32 < *theirs >> 32);
        const quint64 key = takeMine ? *mine++ : *theirs++;
        AppendMerged(set.m_spans, {key >> 32, key & 0xFFFFFFFFU});
    }
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
    ForEachPrefix(first, last, [&prefixes](const AddressSpan& prefix) { prefixes.push_back(prefix); });
}

std::vector<AddressSpan> AddressSet::TakePrefixes()
{
    size_t count = 0;
    for (const AddressSpan& span : m_spans)
        ForEachPrefix(span.first, span.last, [&count](const AddressSpan&) { ++count; });
    // In place, from the back: the prefixes of a span never reach below it,
    // so a million spans need no second buffer.
    std::vector<AddressSpan> prefixes = std::move(m_spans);
    m_spans.clear();
    size_t spans = prefixes.size();
    prefixes.resize(count);
    std::array<AddressSpan, kMostPrefixes> own{};
    while (spans > 0) {
        const AddressSpan span = prefixes[--spans];
        size_t owned = 0;
        ForEachPrefix(span.first, span.last, [&own, &owned](const AddressSpan& prefix) { own[owned++] = prefix; });
        count -= owned;
        std::copy(own.begin(), own.begin() + static_cast<std::ptrdiff_t>(owned),
                  prefixes.begin() + static_cast<std::ptrdiff_t>(count));
    }
    return prefixes;
}

AddressCount AddressSet::Count() const
{
    AddressCount count;
    for (const AddressSpan& span : m_spans)
        count.Add({m_family, span.first, span.last});
    return count;
}
