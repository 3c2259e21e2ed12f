// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "address/addressregistry.h"

#include "address/ipv4address.h"
#include "address/ipv6address.h"

#include <QtEndian>

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace {

// Where the MAC's bytes sit in a modified EUI-64 id, around ff:fe (RFC 4291 appendix A).
constexpr int MacShifts[6] = {56, 48, 40, 16, 8, 0};

// A registry flag: T true, F false, NA not applicable ("-").
enum class Flag : quint8
{
    F,
    T,
    NA
};
using enum Flag;

using Groups = std::array<quint16, 8>;

template <class Prefix>
struct Row
{
    Prefix prefix;
    int length;
    const char* name;
    const char* rfc;
    std::array<Flag, 5> flags; // source, destination, forwardable, globally reachable, reserved by protocol
};

constexpr quint32 V4(quint32 a, quint32 b, quint32 c, quint32 d)
{
    return a << 24 | b << 16 | c << 8 | d;
}

// IANA IPv4 Special-Purpose Address Registry (RFC 6890).
constexpr Row<quint32> IPv4Rows[] = {
    {V4(0, 0, 0, 0), 8, "\"This network\"", "RFC 791 §3.2", {T, F, F, F, T}},
    {V4(0, 0, 0, 0), 32, "\"This host on this network\"", "RFC 1122 §3.2.1.3", {T, F, F, F, T}},
    {V4(10, 0, 0, 0), 8, "Private-Use", "RFC 1918", {T, T, T, F, F}},
    {V4(100, 64, 0, 0), 10, "Shared Address Space", "RFC 6598", {T, T, T, F, F}},
    {V4(127, 0, 0, 0), 8, "Loopback", "RFC 1122 §3.2.1.3", {F, F, F, F, T}},
    {V4(169, 254, 0, 0), 16, "Link Local", "RFC 3927", {T, T, F, F, T}},
    {V4(172, 16, 0, 0), 12, "Private-Use", "RFC 1918", {T, T, T, F, F}},
    {V4(192, 0, 0, 0), 24, "IETF Protocol Assignments", "RFC 6890 §2.1", {F, F, F, F, F}},
    {V4(192, 0, 0, 0), 29, "IPv4 Service Continuity Prefix", "RFC 7335", {T, T, T, F, F}},
    {V4(192, 0, 0, 8), 32, "IPv4 dummy address", "RFC 7600", {T, F, F, F, F}},
    {V4(192, 0, 0, 9), 32, "Port Control Protocol Anycast", "RFC 7723", {T, T, T, T, F}},
    {V4(192, 0, 0, 10), 32, "Traversal Using Relays around NAT Anycast", "RFC 8155", {T, T, T, T, F}},
    {V4(192, 0, 0, 170), 32, "NAT64/DNS64 Discovery", "RFC 8880, RFC 7050 §2.2", {F, F, F, F, T}},
    {V4(192, 0, 0, 171), 32, "NAT64/DNS64 Discovery", "RFC 8880, RFC 7050 §2.2", {F, F, F, F, T}},
    {V4(192, 0, 2, 0), 24, "Documentation (TEST-NET-1)", "RFC 5737", {F, F, F, F, F}},
    {V4(192, 31, 196, 0), 24, "AS112-v4", "RFC 7535", {T, T, T, T, F}},
    {V4(192, 52, 193, 0), 24, "AMT", "RFC 7450", {T, T, T, T, F}},
    {V4(192, 88, 99, 0), 24, "Deprecated (6to4 Relay Anycast)", "RFC 7526", {NA, NA, NA, NA, NA}},
    {V4(192, 168, 0, 0), 16, "Private-Use", "RFC 1918", {T, T, T, F, F}},
    {V4(192, 175, 48, 0), 24, "Direct Delegation AS112 Service", "RFC 7534", {T, T, T, T, F}},
    {V4(198, 18, 0, 0), 15, "Benchmarking", "RFC 2544", {T, T, T, F, F}},
    {V4(198, 51, 100, 0), 24, "Documentation (TEST-NET-2)", "RFC 5737", {F, F, F, F, F}},
    {V4(203, 0, 113, 0), 24, "Documentation (TEST-NET-3)", "RFC 5737", {F, F, F, F, F}},
    {V4(240, 0, 0, 0), 4, "Reserved", "RFC 1112 §4", {F, F, F, F, T}},
    {V4(255, 255, 255, 255), 32, "Limited Broadcast", "RFC 8190, RFC 919 §7", {F, T, F, F, T}},
};

// IANA IPv6 Special-Purpose Address Registry (RFC 6890); prefixes as groups, the rest zero.
constexpr Row<Groups> IPv6Rows[] = {
    {{}, 128, "Unspecified Address", "RFC 4291", {T, F, F, F, T}},
    {{0, 0, 0, 0, 0, 0, 0, 1}, 128, "Loopback Address", "RFC 4291", {F, F, F, F, T}},
    {{0, 0, 0, 0, 0, 0xffff}, 96, "IPv4-mapped Address", "RFC 4291", {F, F, F, F, T}},
    {{0x64, 0xff9b}, 96, "IPv4-IPv6 Translation", "RFC 6052", {T, T, T, T, F}},
    {{0x64, 0xff9b, 1}, 48, "IPv4-IPv6 Translation (local use)", "RFC 8215", {T, T, T, F, F}},
    {{0x100}, 64, "Discard-Only Address Block", "RFC 6666", {T, T, T, F, F}},
    {{0x100, 0, 0, 1}, 64, "Dummy IPv6 Prefix", "RFC 9780", {T, F, F, F, F}},
    {{0x2001}, 23, "IETF Protocol Assignments", "RFC 2928", {F, F, F, F, F}},
    {{0x2001}, 32, "TEREDO", "RFC 4380, RFC 8190", {T, T, T, NA, F}},
    {{0x2001, 1, 0, 0, 0, 0, 0, 1}, 128, "Port Control Protocol Anycast", "RFC 7723", {T, T, T, T, F}},
    {{0x2001, 1, 0, 0, 0, 0, 0, 2}, 128, "Traversal Using Relays around NAT Anycast", "RFC 8155", {T, T, T, T, F}},
    {{0x2001, 1, 0, 0, 0, 0, 0, 3}, 128, "DNS-SD Service Registration Protocol Anycast", "RFC 9665", {T, T, T, T, F}},
    {{0x2001, 2}, 48, "Benchmarking", "RFC 5180", {T, T, T, F, F}},
    {{0x2001, 3}, 32, "AMT", "RFC 7450", {T, T, T, T, F}},
    {{0x2001, 4, 0x112}, 48, "AS112-v6", "RFC 7535", {T, T, T, T, F}},
    {{0x2001, 0x10}, 28, "Deprecated (previously ORCHID)", "RFC 4843", {NA, NA, NA, NA, NA}},
    {{0x2001, 0x20}, 28, "ORCHIDv2", "RFC 7343", {T, T, T, T, F}},
    {{0x2001, 0x30}, 28, "Drone Remote ID Protocol Entity Tags (DETs)", "RFC 9374", {T, T, T, T, F}},
    {{0x2001, 0xdb8}, 32, "Documentation", "RFC 3849", {F, F, F, F, F}},
    {{0x2002}, 16, "6to4", "RFC 3056", {T, T, T, NA, F}},
    {{0x2620, 0x4f, 0x8000}, 48, "Direct Delegation AS112 Service", "RFC 7534", {T, T, T, T, F}},
    {{0x3fff}, 20, "Documentation", "RFC 9637", {F, F, F, F, F}},
    {{0x5f00}, 16, "Segment Routing (SRv6) SIDs", "RFC 9602", {T, T, T, F, F}},
    {{0xfc00}, 7, "Unique-Local", "RFC 4193, RFC 8190", {T, T, T, F, F}},
    {{0xfe80}, 10, "Link-Local Unicast", "RFC 4291", {T, T, F, F, T}},
};

struct MulticastBlock
{
    quint32 first;
    quint32 last;
    const char* name;
    const char* rfc;
    const char* note = nullptr; // a sub-block the registry points out
};

// IPv4 multicast address space (RFC 5771, IANA IPv4 Multicast Address Space Registry).
constexpr MulticastBlock IPv4MulticastBlocks[] = {
    {V4(224, 0, 0, 0), V4(224, 0, 0, 255), "Local Network Control Block", "RFC 5771"},
    {V4(224, 0, 1, 0), V4(224, 0, 1, 255), "Internetwork Control Block", "RFC 5771"},
    {V4(224, 0, 2, 0), V4(224, 0, 255, 255), "AD-HOC Block I", "RFC 5771"},
    {V4(224, 1, 0, 0), V4(224, 1, 255, 255), "Reserved", "RFC 5771"},
    {V4(224, 2, 0, 0), V4(224, 2, 255, 255), "SDP/SAP Block", "RFC 5771"},
    {V4(224, 3, 0, 0), V4(224, 4, 255, 255), "AD-HOC Block II", "RFC 5771"},
    {V4(224, 5, 0, 0), V4(224, 251, 255, 255), "Reserved", "RFC 5771"},
    {V4(224, 252, 0, 0), V4(224, 255, 255, 255), "DIS Transient Groups", "RFC 5771"},
    {V4(225, 0, 0, 0), V4(231, 255, 255, 255), "Reserved", "RFC 5771"},
    {V4(232, 0, 0, 0), V4(232, 255, 255, 255), "Source-Specific Multicast Block", "RFC 4607"},
    {V4(233, 0, 0, 0), V4(233, 251, 255, 255), "GLOP Block", "RFC 3180"},
    {V4(233, 252, 0, 0), V4(233, 255, 255, 255), "AD-HOC Block III", "RFC 5771",
     "233.252.0.0/24: MCAST-TEST-NET, documentation, RFC 6676"},
    {V4(234, 0, 0, 0), V4(234, 255, 255, 255), "Unicast-Prefix-based IPv4 Multicast Addresses", "RFC 6034"},
    {V4(235, 0, 0, 0), V4(238, 255, 255, 255), "Reserved", "RFC 5771"},
    {V4(239, 0, 0, 0), V4(239, 255, 255, 255), "Administratively Scoped Block", "RFC 2365",
     "239.255.0.0/16: IPv4 Local Scope"},
};

struct IPv4Group
{
    quint32 address;
    const char* name;
};

// Well-known IPv4 multicast groups (IANA IPv4 Multicast Address Space Registry).
constexpr IPv4Group IPv4Groups[] = {
    {V4(224, 0, 0, 1), "All Systems on this Subnet"},
    {V4(224, 0, 0, 2), "All Routers on this Subnet"},
    {V4(224, 0, 0, 5), "OSPF AllSPFRouters"},
    {V4(224, 0, 0, 6), "OSPF AllDRouters"},
    {V4(224, 0, 0, 9), "RIPv2 Routers"},
    {V4(224, 0, 0, 10), "EIGRP Routers"},
    {V4(224, 0, 0, 13), "All PIM Routers"},
    {V4(224, 0, 0, 18), "VRRP"},
    {V4(224, 0, 0, 22), "IGMPv3"},
    {V4(224, 0, 0, 102), "HSRPv2 / GLBP"},
    {V4(224, 0, 0, 251), "mDNS"},
    {V4(224, 0, 0, 252), "LLMNR"},
    {V4(224, 0, 1, 1), "NTP"},
    {V4(224, 0, 1, 129), "PTP Primary"},
    {V4(239, 255, 255, 250), "SSDP"},
};

// The scopes, as a mask of scope values, a group exists in.
constexpr quint16 In(auto... scopes)
{
    return static_cast<quint16>(((1u << scopes) | ...));
}
constexpr quint16 AnyScope = 0xffff;

struct IPv6Group
{
    quint64 id; // the group id's low 64 bits; the other 48 are zero
    quint16 scopes;
    const char* name;
    int freeBits = 0; // low bits of the id any value may take
};

// Well-known IPv6 multicast groups of flags 0 (RFC 4291 §2.7.1, IANA IPv6 Multicast Address Space Registry).
constexpr IPv6Group IPv6Groups[] = {
    {0x1, In(1, 2), "All Nodes"},
    {0x2, In(1, 2, 5), "All Routers"},
    {0x5, In(2), "OSPFv3 AllSPF"},
    {0x6, In(2), "OSPFv3 AllDR"},
    {0x9, In(2), "RIPng"},
    {0xa, In(2), "EIGRP"},
    {0xd, In(2), "All PIM Routers"},
    {0x12, In(2), "VRRP"},
    {0x16, In(2), "All MLDv2-capable routers"},
    {0x1a, In(2), "All RPL nodes"},
    {0xfb, AnyScope, "mDNSv6"},
    {0x1'0002, In(2), "All DHCP Agents"},
    {0x1'0003, In(2), "LLMNR"},
    {0x1'0003, In(5), "All DHCP Servers"},
    {0x101, AnyScope, "NTP"},
    {0x1'ff00'0000, In(2), "Solicited-Node", 24},
};

// IPv6 multicast scopes by value (RFC 7346).
constexpr const char* Scopes[16] = {
    "reserved",   "Interface-Local",    "Link-Local", "Realm-Local", "Admin-Local", "Site-Local", "unassigned",
    "unassigned", "Organization-Local", "unassigned", "unassigned",  "unassigned",  "unassigned", "unassigned",
    "Global",     "reserved",
};

bool Holds(const Row<quint32>& row, quint32 value)
{
    return (value & static_cast<quint32>(0xffffffff'00000000ULL >> row.length)) == row.prefix;
}

// The groups of a /length prefix's mask.
constexpr Groups PrefixMask(int length)
{
    Groups mask{};
    for (int i = 0; i < 8; ++i)
        mask[i] = static_cast<quint16>(0xffff0000u >> std::clamp(length - 16 * i, 0, 16));
    return mask;
}

bool Matches(const Groups& value, const Groups& mask, const Groups& groups)
{
    for (int i = 0; i < 8; ++i) {
        if ((groups[i] & mask[i]) != value[i])
            return false;
    }
    return true;
}

bool Holds(const Row<Groups>& row, const Groups& groups)
{
    return Matches(row.prefix, PrefixMask(row.length), groups);
}

// The longest-prefix row holding the address, or null.
template <class Prefix, std::size_t N>
const Row<Prefix>* MostSpecific(const Row<Prefix> (&rows)[N], const Prefix& address)
{
    const Row<Prefix>* best = nullptr;
    for (const Row<Prefix>& row : rows) {
        if (Holds(row, address) && (!best || row.length > best->length))
            best = &row;
    }
    return best;
}

template <class Prefix>
std::string RowText(const Row<Prefix>& row)
{
    return std::string(row.name) + " (" + row.rfc + ")";
}

template <class Prefix>
std::string RowDetails(const Row<Prefix>& row)
{
    static constexpr const char* labels[5] = {"Source", "Destination", "Forwardable", "Globally reachable",
                                              "Reserved by protocol"};
    static constexpr const char* words[3] = {"no", "yes", "not applicable"};
    std::string text;
    for (int i = 0; i < 5; ++i)
        text += std::string(i == 0 ? "" : "\n") + labels[i] + ": " + words[static_cast<int>(row.flags[i])];
    return text;
}

Groups GroupsOf(const IPv6Address& address)
{
    const Q_IPV6ADDR& bytes = address.GetBytes();
    Groups groups;
    for (int i = 0; i < 8; ++i)
        groups[i] = static_cast<quint16>(bytes[2 * i] << 8 | bytes[2 * i + 1]);
    return groups;
}

quint64 Low64(const IPv6Address& address)
{
    quint64 low = 0;
    for (quint32 i = 8; i < 16; ++i)
        low = low << 8 | address.GetByte(i);
    return low;
}

bool IsMulticast(const IPv6Address& address)
{
    return address.IsValid() && address.GetByte(0) == 0xff;
}

const char* IPv6GroupName(const IPv6Address& address)
{
    const Groups groups = GroupsOf(address);
    // Only permanent groups (flags 0), whose ids all fit the low 64 bits.
    if (groups[0] > 0xff0f || groups[1] != 0 || groups[2] != 0 || groups[3] != 0)
        return nullptr;
    const quint64 low = Low64(address);
    for (const IPv6Group& group : IPv6Groups) {
        if ((group.scopes >> (groups[0] & 0xf) & 1) && low >> group.freeBits == group.id >> group.freeBits)
            return group.name;
    }
    return nullptr;
}

// IANA IPv6 Address Space registry: the blocks RFC 4291 reserves, as their first group and length.
constexpr std::pair<quint16, int> IPv6ReservedBlocks[] = {
    {0x0000, 8}, {0x0100, 8}, {0x0200, 7}, {0x0400, 6}, {0x0800, 5}, {0x1000, 4}, {0x4000, 3}, {0x6000, 3},
    {0x8000, 3}, {0xa000, 3}, {0xc000, 3}, {0xe000, 4}, {0xf000, 5}, {0xf800, 6}, {0xfe00, 9}, {0xfec0, 10},
};

// An address's registry text, its details and the first and last address of the block they name.
template <class Address>
struct Space
{
    std::string text;
    std::string details;
    Address first;
    Address last;
};

std::pair<quint32, quint32> Range(const Row<quint32>& row)
{
    return {row.prefix, row.prefix | static_cast<quint32>(0xffffffffULL >> row.length)};
}

// The first and last address of the /length holding the groups; length 0 to 128.
std::pair<IPv6Address, IPv6Address> Range(const Groups& groups, int length)
{
    quint64 halves[2] = {};
    for (int i = 0; i < 8; ++i)
        halves[i / 4] = halves[i / 4] << 16 | groups[i];
    const auto hostBits = [length](int half) {
        const int bits = 64 - std::clamp(length - 64 * half, 0, 64);
        return bits == 64 ? ~0ULL : (1ULL << bits) - 1;
    };
    return {IPv6Address(halves[0] & ~hostBits(0), halves[1] & ~hostBits(1)),
            IPv6Address(halves[0] | hostBits(0), halves[1] | hostBits(1))};
}

Space<IPv4Address> IPv4Space(quint32 value)
{
    if (const Row<quint32>* row = MostSpecific(IPv4Rows, value)) {
        const auto [first, last] = Range(*row);
        return {RowText(*row), RowDetails(*row), IPv4Address(first), IPv4Address(last)};
    }
    const auto block = std::find_if(std::begin(IPv4MulticastBlocks), std::end(IPv4MulticastBlocks),
                                    [value](const MulticastBlock& b) { return value >= b.first && value <= b.last; });
    if (block == std::end(IPv4MulticastBlocks))
        return {"Global Unicast", "", IPv4Address(0), IPv4Address(0xffffffff)};
    const IPv4Address first(block->first), last(block->last);
    const auto text = [](quint32 v) { return IPv4Address(v).ToString(IPv4Address::DottedDecimal); };
    std::string details = text(block->first) + " – " + text(block->last) + ", " + block->rfc;
    if (block->note)
        details = details + "; " + block->note;
    for (const IPv4Group& group : IPv4Groups) {
        if (group.address == value)
            return {std::string(block->name) + ": " + group.name, details, first, last};
    }
    return {std::string(block->name) + " (" + block->rfc + ")", details, first, last};
}

std::string IPv6MulticastText(const IPv6Address& address)
{
    const int flags = address.GetByte(1) >> 4;
    std::string text = std::string("Multicast (") + Scopes[address.GetByte(1) & 0xf] + " scope, "
                       + (flags & 1 ? "transient" : "permanent");
    if (flags & 2)
        text += ", unicast-prefix-based";
    if (flags & 4)
        text += ", embedded RP";
    if (flags == 3 && address.GetByte(2) == 0 && address.GetByte(3) == 0)
        text += ", source-specific"; // ff3x::/32, RFC 4607
    const char* group = IPv6GroupName(address);
    return text + (group ? std::string("): ") + group : ")");
}

Space<IPv6Address> IPv6Space(const IPv6Address& address)
{
    const Groups groups = GroupsOf(address);
    if (const Row<Groups>* row = MostSpecific(IPv6Rows, groups)) {
        const auto [first, last] = Range(groups, row->length);
        return {RowText(*row), RowDetails(*row), first, last};
    }
    const auto block = [&groups](int length) { return Range(groups, length); };
    if (IsMulticast(address))
        return {IPv6MulticastText(address), "ff00::/8, RFC 4291", block(8).first, block(8).second};
    if ((address.GetByte(0) & 0xe0) == 0x20)
        return {"Global Unicast", "", block(3).first, block(3).second};
    const auto reserved = std::find_if(std::begin(IPv6ReservedBlocks), std::end(IPv6ReservedBlocks), [&](auto b) {
        return (groups[0] & static_cast<quint16>(0xffff0000u >> b.second)) == b.first;
    });
    const auto [first, last] = block(reserved->second);
    return {"Reserved by IETF", "Reserved by IETF, RFC 4291", first, last};
}

// An IPv6 address that carries an IPv4 address: where it matches and where the IPv4 address sits.
struct Carrier
{
    Groups value;
    Groups mask;
    AddressRegistry::Embedding embedding;
    int byte;           // the IPv4 address's first byte
    quint32 flip = 0;   // Teredo obfuscates the client's address and port by inverting them
    quint32 lowest = 0; // :: and ::1 are no IPv4-compatible addresses
};

using E = AddressRegistry::Embedding;
// RFC 4291 2.5.5, RFC 3056 2, RFC 5214 6.1, RFC 4380 4, RFC 6052 2.1; matches may overlap (ISATAP in 6to4).
constexpr Carrier kCarriers[] = {
    {{0, 0, 0, 0, 0, 0xffff}, PrefixMask(96), E::Mapped, 12},
    {{}, PrefixMask(96), E::Compatible, 12, 0, 2},
    {{0x2002}, PrefixMask(16), E::SixToFour, 2},
    {{0, 0, 0, 0, 0, 0x5efe}, {0, 0, 0, 0, 0xfdff, 0xffff}, E::Isatap, 12},
    {{0x2001, 0}, PrefixMask(32), E::TeredoServer, 4},
    {{0x2001, 0}, PrefixMask(32), E::TeredoClient, 12, 0xffffffff},
    {{0x64, 0xff9b}, PrefixMask(96), E::Nat64, 12},
};

// Unicast addresses no interface has, so no solicited-node group either (RFC 4291 2.5.2, 2.5.3, 2.5.5.2).
constexpr std::pair<Groups, int> kNoInterfacePrefixes[] = {
    {{}, 128},
    {{0, 0, 0, 0, 0, 0, 0, 1}, 128},
    {{0, 0, 0, 0, 0, 0xffff}, 96},
};

// The ways a MAC address is written: its separator and the digits between two of them.
struct MacFormat
{
    char separator;
    std::size_t groupDigits;
};
constexpr MacFormat kMacFormats[] = {{':', 2}, {'-', 2}, {'.', 4}};
constexpr std::size_t kMacDigits = 12;

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    const char lower = static_cast<char>(c | 0x20);
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

// Labels nPrefixLength / labelBits down to the first, each followed by a dot, then the zone.
template <class Label>
std::string ReverseName(bool valid, int nPrefixLength, int labelBits, int maxBits, Label label, const char* zone)
{
    if (nPrefixLength < 0 || nPrefixLength > maxBits || nPrefixLength % labelBits != 0)
        throw std::out_of_range("nPrefixLength");
    if (!valid)
        return std::string();
    std::string name;
    for (int i = nPrefixLength / labelBits - 1; i >= 0; --i)
        name += label(i) + ".";
    return name + zone;
}

} // namespace

std::string AddressRegistry::IPv4AddressSpace(const IPv4Address& address)
{
    return address.IsValid() ? IPv4Space(address.GetValue()).text : std::string();
}

std::string AddressRegistry::IPv6AddressSpace(const IPv6Address& address)
{
    return address.IsValid() ? IPv6Space(address).text : std::string();
}

std::string AddressRegistry::IPv4AddressSpaceDetails(const IPv4Address& address)
{
    return address.IsValid() ? IPv4Space(address.GetValue()).details : std::string();
}

std::string AddressRegistry::IPv6AddressSpaceDetails(const IPv6Address& address)
{
    return address.IsValid() ? IPv6Space(address).details : std::string();
}

std::pair<IPv4Address, IPv4Address> AddressRegistry::IPv4AddressSpaceBlock(const IPv4Address& address)
{
    if (!address.IsValid())
        return {};
    const Space<IPv4Address> space = IPv4Space(address.GetValue());
    return {space.first, space.last};
}

std::pair<IPv6Address, IPv6Address> AddressRegistry::IPv6AddressSpaceBlock(const IPv6Address& address)
{
    if (!address.IsValid())
        return {};
    const Space<IPv6Address> space = IPv6Space(address);
    return {space.first, space.last};
}

std::vector<AddressRegistry::EmbeddedIPv4> AddressRegistry::EmbeddedIPv4Addresses(const IPv6Address& address)
{
    std::vector<EmbeddedIPv4> found;
    if (!address.IsValid() || IsMulticast(address))
        return found;
    const Groups groups = GroupsOf(address);
    for (const Carrier& carrier : kCarriers) {
        const quint32 ipv4 = qFromBigEndian<quint32>(address.GetBytes().c + carrier.byte) ^ carrier.flip;
        if (Matches(carrier.value, carrier.mask, groups) && ipv4 >= carrier.lowest) {
            const int port = carrier.flip != 0 ? qFromBigEndian<quint16>(address.GetBytes().c + 10) ^ 0xffff : -1;
            found.push_back({carrier.embedding, IPv4Address(ipv4), port});
        }
    }
    return found;
}

bool AddressRegistry::GetEui64MacAddress(const IPv6Address& address, MacAddress& mac)
{
    if (!address.IsValid() || IsMulticast(address) || address.GetByte(11) != 0xff || address.GetByte(12) != 0xfe)
        return false;
    const quint64 id = Low64(address);
    for (int i = 0; i < 6; ++i)
        mac[i] = static_cast<quint8>(id >> MacShifts[i]);
    mac[0] ^= 0x02;
    return true;
}

quint64 AddressRegistry::ModifiedEui64(const MacAddress& mac)
{
    quint64 id = 0xfffe000000ULL;
    for (int i = 0; i < 6; ++i)
        id |= static_cast<quint64>(i == 0 ? mac[0] ^ 0x02 : mac[i]) << MacShifts[i];
    return id;
}

IPv6Address AddressRegistry::Eui64Address(const IPv6Address& prefix, const MacAddress& mac)
{
    return prefix.IsValid() ? IPv6Address(qFromBigEndian<quint64>(prefix.GetBytes().c), ModifiedEui64(mac))
                            : IPv6Address();
}

bool AddressRegistry::ParseMacAddress(const std::string& text, MacAddress& mac)
{
    for (const MacFormat& format : kMacFormats) {
        MacAddress bytes{};
        if (text.size() != kMacDigits + kMacDigits / format.groupDigits - 1)
            continue;
        std::size_t digit = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            // A separator after every group but the last, a hexadecimal digit elsewhere.
            if ((i + 1) % (format.groupDigits + 1) == 0) {
                if (text[i] != format.separator)
                    break;
                continue;
            }
            const int value = HexDigit(text[i]);
            if (value < 0)
                break;
            bytes[digit / 2] = static_cast<quint8>(bytes[digit / 2] << 4 | value);
            ++digit;
        }
        if (digit == kMacDigits) {
            mac = bytes;
            return true;
        }
    }
    return false;
}

IPv6Address AddressRegistry::SolicitedNodeAddress(const IPv6Address& address)
{
    if (!address.IsValid() || IsMulticast(address))
        return IPv6Address();
    const Groups groups = GroupsOf(address);
    if (std::any_of(std::begin(kNoInterfacePrefixes), std::end(kNoInterfacePrefixes),
                    [&groups](const auto& prefix) { return Matches(prefix.first, PrefixMask(prefix.second), groups); }))
        return IPv6Address();
    return IPv6Address(0xff02'0000'0000'0000ULL, 0x1'ff00'0000ULL | (Low64(address) & 0xff'ffff));
}

bool AddressRegistry::GetMulticastMacAddress(const IPv6Address& address, MacAddress& mac)
{
    if (!IsMulticast(address))
        return false;
    mac = {0x33, 0x33, address.GetByte(12), address.GetByte(13), address.GetByte(14), address.GetByte(15)};
    return true;
}

std::string AddressRegistry::MacAddressText(const MacAddress& mac)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string text;
    for (quint8 byte : mac)
        text += std::string(text.empty() ? "" : ":") + digits[byte >> 4] + digits[byte & 0xf];
    return text;
}

std::string AddressRegistry::ReverseDnsName(const IPv4Address& address, int nPrefixLength)
{
    const auto label = [&](int i) { return std::to_string(address.GetByte(static_cast<quint32>(i))); };
    return ReverseName(address.IsValid(), nPrefixLength, 8, 32, label, "in-addr.arpa");
}

std::string AddressRegistry::ReverseDnsName(const IPv6Address& address, int nPrefixLength)
{
    const auto label = [&](int i) {
        return std::string(1,
                           "0123456789abcdef"[address.GetByte(static_cast<quint32>(i / 2)) >> (i % 2 ? 0 : 4) & 0xf]);
    };
    return ReverseName(address.IsValid(), nPrefixLength, 4, 128, label, "ip6.arpa");
}
