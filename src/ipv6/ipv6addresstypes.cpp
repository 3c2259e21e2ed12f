// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ipv6/ipv6addresstypes.h"

#include "address/exceptionutil.h"

#include <array>
#include <iterator>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace {

using enum IPv6AddressTypeID;
using F = IPv6AddressField;

// One field of a layout: its kind, and whatever the row fixes instead of the kind's
// own first bit, width, name, value or option.
struct FieldEntry
{
    qint32 kind;
    quint8 firstBit = F::OwnFirstBit;
    quint8 bitCount = 0; // 0: the kind's own
    const char* name = "";
    const char* value = "";
    quint32 option = 0;
};

// The field layouts, most significant field first.
constexpr FieldEntry UnspecifiedFields[] = {
    {.kind = F::ConstantKind,
     .firstBit = 0,
     .bitCount = 128,
     .name = "Unspecified Address Constant",
     .value = "0000...0000<sub>2</sub>"},
};
constexpr FieldEntry LoopbackFields[] = {
    {.kind = F::ConstantKind,
     .firstBit = 0,
     .bitCount = 128,
     .name = "Loopback Address Constant",
     .value = "0000...0001<sub>2</sub>"},
};
constexpr FieldEntry LinkLocalFields[] = {
    {.kind = F::LinkLocalPrefixKind},
    {.kind = F::ScopeIDKind},
    {.kind = F::InterfaceIDKind},
};
constexpr FieldEntry SixOver4Fields[] = {
    {.kind = F::LinkLocalPrefixKind},
    {.kind = F::ZeroKind, .firstBit = 10, .bitCount = 86, .name = "6over4 Constant"},
    {.kind = F::IPv4AddressKind, .firstBit = 96},
};
constexpr FieldEntry ISATAPFields[] = {
    {.kind = F::LinkLocalPrefixKind},
    {.kind = F::ConstantKind, .firstBit = 10, .bitCount = 86, .name = "ISATAP Constant", .value = "0:0:0:0:5EFE"},
    {.kind = F::IPv4AddressKind, .firstBit = 96},
};
constexpr FieldEntry SiteLocalFields[] = {
    {.kind = F::SiteLocalPrefixKind},
    {.kind = F::SubnetIDKind, .firstBit = 10, .bitCount = 54},
    {.kind = F::InterfaceIDKind},
};
constexpr FieldEntry UnformattedFields[] = {
    {.kind = F::FormatPrefixKind},
    {.kind = F::HexadecimalKind, .firstBit = 3, .bitCount = 125, .name = "Unknown", .option = F::ColonGroupedOption},
};
constexpr FieldEntry IPv4CompatibleFields[] = {
    {.kind = F::FormatPrefixKind},
    {.kind = F::ZeroKind, .firstBit = 3, .bitCount = 77, .name = "Embedded IPv4 Address Prefix"},
    {.kind = F::ConstantKind, .firstBit = 80, .bitCount = 16, .name = "IPv4-Compatible Constant", .value = "0000"},
    {.kind = F::IPv4AddressKind, .firstBit = 96},
};
constexpr FieldEntry IPv4MappedFields[] = {
    {.kind = F::FormatPrefixKind},
    {.kind = F::ZeroKind, .firstBit = 3, .bitCount = 77, .name = "Embedded IPv4 Address Prefix"},
    {.kind = F::ConstantKind, .firstBit = 80, .bitCount = 16, .name = "IPv4-Mapped Constant", .value = "FFFF"},
    {.kind = F::IPv4AddressKind, .firstBit = 96},
};
constexpr FieldEntry EUI64Fields[] = {
    {.kind = F::FormatPrefixKind},
    {.kind = F::HexadecimalKind, .firstBit = 3, .bitCount = 61, .name = "Unknown", .option = F::ColonGroupedOption},
    {.kind = F::InterfaceIDKind},
};
constexpr FieldEntry TeredoFields[] = {
    {.kind = F::ConstantKind, .firstBit = 0, .bitCount = 32, .name = "Teredo Prefix", .value = "2001:0000"},
    {.kind = F::IPv4AddressKind, .firstBit = 32, .bitCount = 32, .name = "Teredo Server Address"},
    {.kind = F::HexadecimalKind, .firstBit = 64, .bitCount = 16, .name = "Teredo Flags"},
    {.kind = F::TeredoClientPortKind, .firstBit = 80},
    {.kind = F::TeredoClientAddressKind, .firstBit = 96},
};
constexpr FieldEntry SixToFourFields[] = {
    {.kind = F::ConstantKind, .firstBit = 0, .bitCount = 16, .name = "6to4 Prefix", .value = "2002"},
    {.kind = F::IPv4AddressKind, .firstBit = 16},
    {.kind = F::SubnetIDKind, .firstBit = 48, .bitCount = 16},
    {.kind = F::InterfaceIDKind},
};
constexpr FieldEntry MulticastFields[] = {
    {.kind = F::MulticastPrefixKind},
    {.kind = F::MulticastFlagsKind},
    {.kind = F::MulticastScopeKind},
    {.kind = F::MulticastGroupIDKind},
};
constexpr FieldEntry AllNodesFields[] = {
    {.kind = F::MulticastPrefixKind},
    {.kind = F::MulticastFlagsKind},
    {.kind = F::MulticastScopeKind},
    {.kind = F::MulticastGroupIDKind, .name = "All Nodes Group ID"},
};
constexpr FieldEntry AllRoutersFields[] = {
    {.kind = F::MulticastPrefixKind},
    {.kind = F::MulticastFlagsKind},
    {.kind = F::MulticastScopeKind},
    {.kind = F::MulticastGroupIDKind, .name = "All Routers Group ID"},
};

// Parents of the tree's roots, and of a type kept outside the tree.
constexpr auto Root = IPv6AddressTypeID(-1);
constexpr auto Unlisted = IPv6AddressTypeID(-2);

// One type. It matches the addresses under its prefix; or, with anyAs, every address
// as weakly as a prefix of that length, so only where nothing else matches; or, with
// neither, nothing: it only groups its children (abstract).
struct TypeEntry
{
    IPv6AddressTypeID id;
    const char* name;
    IPv6AddressTypeID parent; // a type before this one, Root or Unlisted
    const char* prefix = nullptr;
    int anyAs = 0;
    bool deprecated = false;
    const char* rfc = nullptr; // where the type and its layout are defined
    std::span<const FieldEntry> fields = {};
};

// The types in id order; children follow their parent in the order of this table,
// and so do the roots.
constexpr TypeEntry TypeTable[] = {
    {.id = Unspecified,
     .name = "Unspecified",
     .parent = Root,
     .prefix = "::/128",
     .rfc = "RFC 4291 2.5.2",
     .fields = UnspecifiedFields},
    {.id = Loopback,
     .name = "Loopback",
     .parent = Root,
     .prefix = "::1/128",
     .rfc = "RFC 4291 2.5.3",
     .fields = LoopbackFields},
    {.id = Unicast, .name = "Unicast", .parent = Root, .rfc = "RFC 4291 2.5"},
    {.id = LinkLocal,
     .name = "Link-Local",
     .parent = Unicast,
     .prefix = "FE80::/10",
     .rfc = "RFC 4291 2.5.6",
     .fields = LinkLocalFields},
    {.id = SixOver4,
     .name = "6over4",
     .parent = LinkLocal,
     .prefix = "FE80::/96",
     .rfc = "RFC 2529",
     .fields = SixOver4Fields},
    {.id = ISATAP,
     .name = "ISATAP",
     .parent = LinkLocal,
     .prefix = "FE80::5EFE:0:0/96",
     .rfc = "RFC 5214",
     .fields = ISATAPFields},
    {.id = SiteLocal,
     .name = "Site-Local",
     .parent = Unicast,
     .prefix = "FEC0::/10",
     .deprecated = true,
     .rfc = "RFC 4291 2.5.7, deprecated by RFC 3879",
     .fields = SiteLocalFields},
    {.id = Global, .name = "Global", .parent = Unicast, .rfc = "RFC 4291 2.5.4"},
    {.id = Unformatted,
     .name = "Unformatted",
     .parent = Global,
     .prefix = "::/3",
     .rfc = "RFC 4291 2.5.1",
     .fields = UnformattedFields},
    {.id = IPv4Compatible,
     .name = "IPv4-Compatible",
     .parent = Unformatted,
     .prefix = "::/96",
     .deprecated = true,
     .rfc = "RFC 4291 2.5.5.1",
     .fields = IPv4CompatibleFields},
    {.id = IPv4Mapped,
     .name = "IPv4-Mapped",
     .parent = Unformatted,
     .prefix = "::FFFF:0.0.0.0/96",
     .rfc = "RFC 4291 2.5.5.2",
     .fields = IPv4MappedFields},
    {.id = EUI64Formatted,
     .name = "EUI-64 Formatted",
     .parent = Global,
     .anyAs = 3,
     .rfc = "RFC 4291 2.5.1",
     .fields = EUI64Fields},
    {.id = IANADelegated,
     .name = "IANA Delegated",
     .parent = EUI64Formatted,
     .prefix = "2000::/3",
     .rfc = "RFC 3587",
     .fields = EUI64Fields},
    {.id = Teredo,
     .name = "Teredo Tunneling",
     .parent = IANADelegated,
     .prefix = "2001::/32",
     .rfc = "RFC 4380",
     .fields = TeredoFields},
    {.id = SixToFour,
     .name = "6to4",
     .parent = IANADelegated,
     .prefix = "2002::/16",
     .rfc = "RFC 3056",
     .fields = SixToFourFields},
    {.id = Multicast,
     .name = "Multicast",
     .parent = Root,
     .prefix = "FF00::/8",
     .rfc = "RFC 4291 2.7",
     .fields = MulticastFields},
    {.id = InterfaceLocalScope,
     .name = "Interface-Local",
     .parent = Multicast,
     .prefix = "FF01::/16",
     .rfc = "RFC 4291 2.7",
     .fields = MulticastFields},
    {.id = InterfaceLocalAllNodes,
     .name = "All Nodes",
     .parent = InterfaceLocalScope,
     .prefix = "FF01::1/128",
     .rfc = "RFC 4291 2.7.1",
     .fields = AllNodesFields},
    {.id = InterfaceLocalAllRouters,
     .name = "All Routers",
     .parent = InterfaceLocalScope,
     .prefix = "FF01::2/128",
     .rfc = "RFC 4291 2.7.1",
     .fields = AllRoutersFields},
    {.id = LinkLocalScope,
     .name = "Link-Local",
     .parent = Multicast,
     .prefix = "FF02::/16",
     .rfc = "RFC 4291 2.7",
     .fields = MulticastFields},
    {.id = LinkLocalAllNodes,
     .name = "All Nodes",
     .parent = LinkLocalScope,
     .prefix = "FF02::1/128",
     .rfc = "RFC 4291 2.7.1",
     .fields = AllNodesFields},
    {.id = LinkLocalAllRouters,
     .name = "All Routers",
     .parent = LinkLocalScope,
     .prefix = "FF02::2/128",
     .rfc = "RFC 4291 2.7.1",
     .fields = AllRoutersFields},
    {.id = SolicitedNode,
     .name = "Solicited-Node",
     .parent = Unlisted,
     .prefix = "FF02::1:FF00:1/104",
     .rfc = "RFC 4291 2.7.1"},
    {.id = AdminLocalScope,
     .name = "Admin-Local",
     .parent = Multicast,
     .prefix = "FF04::/16",
     .rfc = "RFC 4291 2.7",
     .fields = MulticastFields},
    {.id = SiteLocalScope,
     .name = "Site-Local",
     .parent = Multicast,
     .prefix = "FF05::/16",
     .deprecated = true,
     .rfc = "RFC 4291 2.7",
     .fields = MulticastFields},
    {.id = SiteLocalAllRouters,
     .name = "All Routers",
     .parent = SiteLocalScope,
     .prefix = "FF05::2/128",
     .deprecated = true,
     .rfc = "RFC 4291 2.7.1",
     .fields = AllRoutersFields},
    {.id = OrganizationLocalScope,
     .name = "Organization-Local",
     .parent = Multicast,
     .prefix = "FF08::/16",
     .rfc = "RFC 4291 2.7",
     .fields = MulticastFields},
    {.id = GlobalScope,
     .name = "Global",
     .parent = Multicast,
     .prefix = "FF0E::/16",
     .rfc = "RFC 4291 2.7",
     .fields = MulticastFields},
};

// Rows in id order, each with its RFC, a parent before it, and not both a prefix and anyAs.
consteval bool IsWellFormed()
{
    if (std::size(TypeTable) != IPv6AddressTypeCount)
        return false;
    for (int row = 0; row < IPv6AddressTypeCount; ++row) {
        const TypeEntry& entry = TypeTable[row];
        const bool parentBefore =
            entry.parent == Root || entry.parent == Unlisted || static_cast<int>(entry.parent) < row;
        if (static_cast<int>(entry.id) != row || entry.rfc == nullptr || !parentBefore
            || (entry.prefix && entry.anyAs != 0))
            return false;
    }
    return true;
}
static_assert(IsWellFormed());

// "FE80::/10" as a pattern.
IPv6AddressPattern ParsePrefix(std::string_view prefix)
{
    const std::size_t slash = prefix.find('/');
    return IPv6AddressPattern(IPv6Address(std::string(prefix.substr(0, slash))),
                              std::stoi(std::string(prefix.substr(slash + 1))));
}

IPv6AddressPattern MakePattern(const TypeEntry& entry)
{
    if (entry.anyAs != 0)
        return IPv6AddressPattern::CreateAny(entry.anyAs);
    if (entry.prefix == nullptr)
        return IPv6AddressPattern::CreateNone();
    return ParsePrefix(entry.prefix);
}

// The patterns of every type, read from their text on first use.
const IPv6AddressPattern& PatternOf(int nTypeID)
{
    static const std::array<IPv6AddressPattern, IPv6AddressTypeCount> patterns = [] {
        std::array<IPv6AddressPattern, IPv6AddressTypeCount> made;
        for (int id = 0; id < IPv6AddressTypeCount; ++id)
            made[id] = MakePattern(TypeTable[id]);
        return made;
    }();
    return patterns[nTypeID];
}

IPv6AddressFieldList MakeFields(const TypeEntry& entry)
{
    IPv6AddressFieldList fields;
    for (const FieldEntry& field : entry.fields) {
        if (field.option != 0)
            fields.emplace_back(field.kind, field.firstBit, field.bitCount, field.name, field.option);
        else
            fields.emplace_back(field.kind, field.firstBit, field.bitCount, field.name, field.value);
    }
    return fields;
}

// Mask of the n most significant bits of a byte, 0 < n < 8.
quint8 HighBitsMask(unsigned n)
{
    return static_cast<quint8>(0xFFu << (8u - n));
}

} // namespace

// Owner of the tree's nodes, built on first use and kept until the program ends.
class IPv6AddressTypeTree
{
public:
    static const IPv6AddressTypeTree& Instance()
    {
        static const IPv6AddressTypeTree tree;
        return tree;
    }

    IPv6AddressTypeNode::List roots;

private:
    IPv6AddressTypeTree()
    {
        for (int id = 0; id < IPv6AddressTypeCount; ++id) {
            const IPv6AddressTypeID parent = TypeTable[id].parent;
            if (parent == Unlisted)
                continue;
            m_nodes[id].reset(new IPv6AddressTypeNode);
            IPv6AddressTypeNode& node = *m_nodes[id];
            node.m_typeID = id;
            IPv6AddressTypeNode::List* siblings = &roots;
            if (parent != Root) {
                // Parents precede their children in the table.
                node.m_parent = m_nodes[static_cast<int>(parent)].get();
                siblings = &m_nodes[static_cast<int>(parent)]->m_children;
            }
            node.m_row = static_cast<int>(siblings->size());
            siblings->push_back(&node);
        }
    }

    std::array<std::unique_ptr<IPv6AddressTypeNode>, IPv6AddressTypeCount> m_nodes;
};

IPv6AddressPattern::IPv6AddressPattern(const IPv6Address& address, int nMaskBits)
    : m_kind(PrefixKind),
      m_address(address)
{
    if (nMaskBits < 1 || nMaskBits > 128)
        throw std::out_of_range("nMaskBits");
    m_maskBits = static_cast<quint8>(nMaskBits);
}

IPv6AddressPattern IPv6AddressPattern::CreateNone()
{
    IPv6AddressPattern pattern;
    pattern.m_kind = NoneKind;
    return pattern;
}

IPv6AddressPattern IPv6AddressPattern::CreateAny(int nMaskBits)
{
    if (nMaskBits < 1 || nMaskBits > 128)
        throw std::out_of_range("nMaskBits");
    IPv6AddressPattern pattern;
    pattern.m_kind = AnyKind;
    pattern.m_maskBits = static_cast<quint8>(nMaskBits);
    return pattern;
}

void IPv6AddressPattern::CheckSet() const
{
    if (m_kind == UnsetKind)
        throw ExceptionUtil::invalid_operation("this");
}

quint8 IPv6AddressPattern::GetMaskBits() const
{
    CheckSet();
    return m_maskBits;
}

bool IPv6AddressPattern::IsNone() const
{
    CheckSet();
    return m_kind == NoneKind;
}

bool IPv6AddressPattern::IsAny() const
{
    CheckSet();
    return m_kind == AnyKind;
}

const IPv6Address& IPv6AddressPattern::GetAddress() const
{
    CheckSet();
    return m_address;
}

bool IPv6AddressPattern::Matches(const IPv6Address& address) const
{
    CheckSet();
    if (m_kind == NoneKind)
        return false;
    if (m_kind == AnyKind)
        return true;
    const Q_IPV6ADDR& bytes = address.GetBytes();
    const Q_IPV6ADDR& prefix = m_address.GetBytes();
    const unsigned whole = m_maskBits / 8u;
    for (unsigned i = 0; i < whole; ++i) {
        if (bytes[static_cast<int>(i)] != prefix[static_cast<int>(i)])
            return false;
    }
    const unsigned rest = m_maskBits % 8u;
    if (rest == 0)
        return true;
    return (bytes[static_cast<int>(whole)] & HighBitsMask(rest)) == prefix[static_cast<int>(whole)];
}

void IPv6AddressPattern::ApplyTo(IPv6Address& address) const
{
    CheckSet();
    if (m_kind != PrefixKind)
        return;
    const Q_IPV6ADDR& prefix = m_address.GetBytes();
    const unsigned whole = m_maskBits / 8u;
    for (unsigned i = 0; i < whole; ++i)
        address.GetByte(i) = prefix[static_cast<int>(i)];
    const unsigned rest = m_maskBits % 8u;
    if (rest == 0)
        return;
    const quint8 mask = HighBitsMask(rest);
    quint8& byte = address.GetByte(whole);
    byte = static_cast<quint8>((byte & ~mask) | (prefix[static_cast<int>(whole)] & mask));
}

std::string IPv6AddressPattern::ToString() const
{
    CheckSet();
    if (m_kind != PrefixKind)
        return std::string();
    return m_address.ToString(IPv6Address::CompressedNotation) + "/" + std::to_string(m_maskBits);
}

IPv6AddressTypeInfo GetIPv6AddressTypeInfo(int nTypeID, unsigned nParts)
{
    if (nTypeID < 0 || nTypeID >= IPv6AddressTypeCount)
        throw std::out_of_range("nTypeID");
    const TypeEntry& entry = TypeTable[nTypeID];
    IPv6AddressTypeInfo info;
    if (nParts & IPv6AddressTypeInfo::PatternPart)
        info.pattern = PatternOf(nTypeID);
    if (nParts & IPv6AddressTypeInfo::DeprecatedPart)
        info.deprecated = entry.deprecated;
    if (nParts & IPv6AddressTypeInfo::NamePart)
        info.name = entry.name;
    if (nParts & IPv6AddressTypeInfo::FieldsPart)
        info.fields = MakeFields(entry);
    return info;
}

IPv6AddressPattern IPv6AddressTypeNode::GetPattern() const
{
    return GetIPv6AddressTypeInfo(m_typeID, IPv6AddressTypeInfo::PatternPart).pattern;
}

std::string IPv6AddressTypeNode::GetName() const
{
    return GetIPv6AddressTypeInfo(m_typeID, IPv6AddressTypeInfo::NamePart).name;
}

bool IPv6AddressTypeNode::IsDeprecated() const
{
    return GetIPv6AddressTypeInfo(m_typeID, IPv6AddressTypeInfo::DeprecatedPart).deprecated;
}

bool IPv6AddressTypeNode::IsAbstract() const
{
    return GetPattern().IsNone();
}

IPv6AddressFieldList IPv6AddressTypeNode::GetFields() const
{
    return GetIPv6AddressTypeInfo(m_typeID, IPv6AddressTypeInfo::FieldsPart).fields;
}

const IPv6AddressTypeNode::List& GetIPv6AddressTypeRoots()
{
    return IPv6AddressTypeTree::Instance().roots;
}

namespace {

void FindBest(const IPv6AddressTypeNode::List& nodes, const IPv6Address& address, const IPv6AddressTypeNode*& best,
              quint8& bestBits)
{
    for (const IPv6AddressTypeNode* node : nodes) {
        const IPv6AddressPattern pattern = node->GetPattern();
        // An any pattern only fills an empty result.
        const bool eligible = !pattern.IsAny() || bestBits == 0;
        if (eligible && pattern.Matches(address) && pattern.GetMaskBits() >= bestBits) {
            best = node;
            bestBits = pattern.GetMaskBits();
        }
        FindBest(node->GetChildren(), address, best, bestBits);
    }
}

} // namespace

const IPv6AddressTypeNode* FindIPv6AddressType(const IPv6Address& address)
{
    const IPv6AddressTypeNode* best = nullptr;
    quint8 bestBits = 0;
    FindBest(GetIPv6AddressTypeRoots(), address, best, bestBits);
    return best;
}
