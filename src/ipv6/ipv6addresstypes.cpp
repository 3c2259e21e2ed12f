#include "ipv6/ipv6addresstypes.h"

#include "address/exceptionutil.h"

#include <array>
#include <memory>
#include <stdexcept>

namespace {

constexpr int RootParent = -1;
constexpr int NoNode = -2;

enum PatternKind { Prefix, None, Any };

struct TypeEntry
{
    const char* name;
    int parent; // a type id, RootParent or NoNode
    PatternKind kind;
    quint64 high;
    quint64 low;
    int maskBits; // prefix length, or the weight of an any pattern
    bool deprecated;
    int fieldList; // index into FieldLists, or -1
};

// Children follow the id order of this table, and so do the roots.
constexpr TypeEntry TypeTable[IPv6AddressTypeCount] = {
    {"Unspecified", RootParent, Prefix, 0, 0, 128, false, 0},
    {"Loopback", RootParent, Prefix, 0, 1, 128, false, 1},
    {"Unicast", RootParent, None, 0, 0, 0, false, -1},
    {"Link-Local", 2, Prefix, 0xFE80000000000000, 0, 10, false, 2},
    {"6over4", 3, Prefix, 0xFE80000000000000, 0, 96, false, 3},
    {"ISATAP", 3, Prefix, 0xFE80000000000000, 0x00005EFE00000000, 96, false, 4},
    {"Site-Local", 2, Prefix, 0xFEC0000000000000, 0, 10, true, 5},
    {"Global", 2, None, 0, 0, 0, false, -1},
    {"Unformatted", 7, Prefix, 0, 0, 3, false, 6},
    {"IPv4-Compatible", 8, Prefix, 0, 0, 96, true, 7},
    {"IPv4-Mapped", 8, Prefix, 0, 0x0000FFFF00000000, 96, false, 8},
    {"EUI-64 Formatted", 7, Any, 0, 0, 3, false, 9},
    {"IANA Delegated", 11, Prefix, 0x2000000000000000, 0, 3, false, 9},
    {"Teredo Tunneling", 12, Prefix, 0x2001000000000000, 0, 32, false, 10},
    {"6to4", 12, Prefix, 0x2002000000000000, 0, 16, false, 11},
    {"Multicast", RootParent, Prefix, 0xFF00000000000000, 0, 8, false, 12},
    {"Interface-Local", 15, Prefix, 0xFF01000000000000, 0, 16, false, 12},
    {"All Nodes", 16, Prefix, 0xFF01000000000000, 1, 128, false, 13},
    {"All Routers", 16, Prefix, 0xFF01000000000000, 2, 128, false, 14},
    {"Link-Local", 15, Prefix, 0xFF02000000000000, 0, 16, false, 12},
    {"All Nodes", 19, Prefix, 0xFF02000000000000, 1, 128, false, 13},
    {"All Routers", 19, Prefix, 0xFF02000000000000, 2, 128, false, 14},
    {"Solicited-Node", NoNode, Prefix, 0xFF02000000000000, 0x00000001FF000001, 104, false, -1},
    {"Admin-Local", 15, Prefix, 0xFF04000000000000, 0, 16, false, 12},
    {"Site-Local", 15, Prefix, 0xFF05000000000000, 0, 16, true, 12},
    {"All Routers", 24, Prefix, 0xFF05000000000000, 2, 128, true, 14},
    {"Organization-Local", 15, Prefix, 0xFF08000000000000, 0, 16, false, 12},
    {"Global", 15, Prefix, 0xFF0E000000000000, 0, 16, false, 12},
};

struct FieldEntry
{
    qint32 kind;
    quint8 firstBit;
    quint8 bitCount;
    const char* name;
    const char* value;
    quint32 option;
};

using F = IPv6AddressField;
constexpr quint8 Own = F::OwnFirstBit;
constexpr int MaxFields = 5;
using FieldList = std::array<FieldEntry, MaxFields>; // ends at the first kind 0

constexpr FieldList FieldLists[] = {
    // 0 Unspecified
    {{{F::ConstantKind, 0, 128, "Unspecified Address Constant", "0000...0000<sub>2</sub>", 0}}},
    // 1 Loopback
    {{{F::ConstantKind, 0, 128, "Loopback Address Constant", "0000...0001<sub>2</sub>", 0}}},
    // 2 Link-Local
    {{{F::LinkLocalPrefixKind, Own, 0, "", "", 0},
      {F::ScopeIDKind, Own, 0, "", "", 0},
      {F::InterfaceIDKind, Own, 0, "", "", 0}}},
    // 3 6over4
    {{{F::LinkLocalPrefixKind, Own, 0, "", "", 0},
      {F::ZeroKind, 10, 86, "6over4 Constant", "", 0},
      {F::IPv4AddressKind, 96, 0, "", "", 0}}},
    // 4 ISATAP
    {{{F::LinkLocalPrefixKind, Own, 0, "", "", 0},
      {F::ConstantKind, 10, 86, "ISATAP Constant", "0:0:0:0:5EFE", 0},
      {F::IPv4AddressKind, 96, 0, "", "", 0}}},
    // 5 unicast Site-Local
    {{{F::SiteLocalPrefixKind, Own, 0, "", "", 0},
      {F::SubnetIDKind, 10, 54, "", "", 0},
      {F::InterfaceIDKind, Own, 0, "", "", 0}}},
    // 6 Unformatted
    {{{F::FormatPrefixKind, Own, 0, "", "", 0},
      {F::HexadecimalKind, 3, 125, "Unknown", "", F::ColonGroupedOption}}},
    // 7 IPv4-Compatible
    {{{F::FormatPrefixKind, Own, 0, "", "", 0},
      {F::ZeroKind, 3, 77, "Embedded IPv4 Address Prefix", "", 0},
      {F::ConstantKind, 80, 16, "IPv4-Compatible Constant", "0000", 0},
      {F::IPv4AddressKind, 96, 0, "", "", 0}}},
    // 8 IPv4-Mapped
    {{{F::FormatPrefixKind, Own, 0, "", "", 0},
      {F::ZeroKind, 3, 77, "Embedded IPv4 Address Prefix", "", 0},
      {F::ConstantKind, 80, 16, "IPv4-Mapped Constant", "FFFF", 0},
      {F::IPv4AddressKind, 96, 0, "", "", 0}}},
    // 9 EUI-64 Formatted, IANA Delegated
    {{{F::FormatPrefixKind, Own, 0, "", "", 0},
      {F::HexadecimalKind, 3, 61, "Unknown", "", F::ColonGroupedOption},
      {F::InterfaceIDKind, Own, 0, "", "", 0}}},
    // 10 Teredo Tunneling
    {{{F::ConstantKind, 0, 32, "Teredo Prefix", "2001:0000", 0},
      {F::IPv4AddressKind, 32, 32, "Teredo Server Address", "", 0},
      {F::HexadecimalKind, 64, 16, "Teredo Flags", "", 0},
      {F::TeredoClientPortKind, 80, 0, "", "", 0},
      {F::TeredoClientAddressKind, 96, 0, "", "", 0}}},
    // 11 6to4
    {{{F::ConstantKind, 0, 16, "6to4 Prefix", "2002", 0},
      {F::IPv4AddressKind, 16, 0, "", "", 0},
      {F::SubnetIDKind, 48, 16, "", "", 0},
      {F::InterfaceIDKind, Own, 0, "", "", 0}}},
    // 12 multicast scopes
    {{{F::MulticastPrefixKind, Own, 0, "", "", 0},
      {F::MulticastFlagsKind, Own, 0, "", "", 0},
      {F::MulticastScopeKind, Own, 0, "", "", 0},
      {F::MulticastGroupIDKind, Own, 0, "", "", 0}}},
    // 13 All Nodes
    {{{F::MulticastPrefixKind, Own, 0, "", "", 0},
      {F::MulticastFlagsKind, Own, 0, "", "", 0},
      {F::MulticastScopeKind, Own, 0, "", "", 0},
      {F::MulticastGroupIDKind, Own, 0, "All Nodes Group ID", "", 0}}},
    // 14 All Routers
    {{{F::MulticastPrefixKind, Own, 0, "", "", 0},
      {F::MulticastFlagsKind, Own, 0, "", "", 0},
      {F::MulticastScopeKind, Own, 0, "", "", 0},
      {F::MulticastGroupIDKind, Own, 0, "All Routers Group ID", "", 0}}},
};

IPv6AddressPattern MakePattern(const TypeEntry& entry)
{
    switch (entry.kind) {
    case None:
        return IPv6AddressPattern::CreateNone();
    case Any:
        return IPv6AddressPattern::CreateAny(entry.maskBits);
    case Prefix:
        break;
    }
    return IPv6AddressPattern(IPv6Address(entry.high, entry.low), entry.maskBits);
}

IPv6AddressFieldList MakeFields(const TypeEntry& entry)
{
    IPv6AddressFieldList fields;
    if (entry.fieldList < 0)
        return fields;
    for (const FieldEntry& field : FieldLists[entry.fieldList]) {
        if (field.kind == 0)
            break;
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
    return quint8(0xFFu << (8u - n));
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
            const int parent = TypeTable[id].parent;
            if (parent == NoNode)
                continue;
            m_nodes[id].reset(new IPv6AddressTypeNode);
            IPv6AddressTypeNode& node = *m_nodes[id];
            node.m_typeID = id;
            IPv6AddressTypeNode::List* siblings = &roots;
            if (parent != RootParent) {
                // Parents precede their children in the table.
                node.m_parent = m_nodes[parent].get();
                siblings = &m_nodes[parent]->m_children;
            }
            node.m_row = int(siblings->size());
            siblings->push_back(&node);
        }
    }

    std::array<std::unique_ptr<IPv6AddressTypeNode>, IPv6AddressTypeCount> m_nodes;
};

IPv6AddressPattern::IPv6AddressPattern(const IPv6Address& address, int nMaskBits)
    : m_kind(PrefixKind)
    , m_address(address)
{
    if (nMaskBits < 1 || nMaskBits > 128)
        throw std::out_of_range("nMaskBits");
    m_maskBits = quint8(nMaskBits);
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
    pattern.m_maskBits = quint8(nMaskBits);
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
        if (bytes[int(i)] != prefix[int(i)])
            return false;
    }
    const unsigned rest = m_maskBits % 8u;
    if (rest == 0)
        return true;
    return (bytes[int(whole)] & HighBitsMask(rest)) == prefix[int(whole)];
}

void IPv6AddressPattern::ApplyTo(IPv6Address& address) const
{
    CheckSet();
    if (m_kind != PrefixKind)
        return;
    const Q_IPV6ADDR& prefix = m_address.GetBytes();
    const unsigned whole = m_maskBits / 8u;
    for (unsigned i = 0; i < whole; ++i)
        address.GetByte(i) = prefix[int(i)];
    const unsigned rest = m_maskBits % 8u;
    if (rest == 0)
        return;
    const quint8 mask = HighBitsMask(rest);
    quint8& byte = address.GetByte(whole);
    byte = quint8((byte & ~mask) | (prefix[int(whole)] & mask));
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
        info.pattern = MakePattern(entry);
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

void FindBest(const IPv6AddressTypeNode::List& nodes, const IPv6Address& address,
              const IPv6AddressTypeNode*& best, quint8& bestBits)
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
