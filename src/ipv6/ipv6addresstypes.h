// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "address/ipv6address.h"
#include "ipv6/ipv6addressfield.h"

#include <QtGlobal>

#include <string>
#include <vector>

// How the addresses of a type look: a prefix, nothing (abstract types) or anything
// (counted as a prefix of some length). A default-constructed pattern is unset.
class IPv6AddressPattern
{
public:
    enum Kind
    {
        UnsetKind,
        PrefixKind,
        NoneKind,
        AnyKind
    };

    // An unset pattern; every operation on it throws ExceptionUtil::invalid_operation("this").
    IPv6AddressPattern() = default;
    // The first nMaskBits (1..128, else std::out_of_range("nMaskBits")) bits of address.
    IPv6AddressPattern(const IPv6Address& address, int nMaskBits);
    // A pattern that matches nothing.
    static IPv6AddressPattern CreateNone();
    // A pattern that matches everything with the weight of a prefix of nMaskBits
    // (1..128, else std::out_of_range("nMaskBits")).
    static IPv6AddressPattern CreateAny(int nMaskBits);

    // The kind; unset is reported, not thrown.
    Kind GetKind() const { return m_kind; }
    // The prefix length or the weight of an any pattern; 0 for none. Throws "this" when unset.
    quint8 GetMaskBits() const;
    // Whether the pattern matches nothing. Throws "this" when unset.
    bool IsNone() const;
    // Whether the pattern matches everything. Throws "this" when unset.
    bool IsAny() const;
    // The prefix address of a prefix pattern (invalid for the other kinds). Throws "this" when unset.
    const IPv6Address& GetAddress() const;

    // Whether the address lies under the pattern. Throws "this" when unset or when
    // the address is invalid.
    bool Matches(const IPv6Address& address) const;
    // Writes the prefix bits into the address, keeping its other bits; none and any
    // leave it alone. Throws "this" when unset or when the address is invalid.
    void ApplyTo(IPv6Address& address) const;
    // "FE80::/10" for a prefix, empty for none and any. Throws "this" when unset.
    std::string ToString() const;

private:
    void CheckSet() const;

    Kind m_kind = UnsetKind;
    IPv6Address m_address;
    quint8 m_maskBits = 0;
};

// What the catalogue knows of one type; only the parts asked for are filled.
struct IPv6AddressTypeInfo
{
    enum Part : unsigned
    {
        PatternPart = 0x1,
        DeprecatedPart = 0x2,
        NamePart = 0x4,
        FieldsPart = 0x8,
        AllParts = 0xF,
    };

    IPv6AddressPattern pattern;
    bool deprecated = false;
    std::string name;
    IPv6AddressFieldList fields;
};

// The type ids, in the catalogue's order; the multicast scopes end in "Scope".
enum class IPv6AddressTypeID : int
{
    Unspecified,
    Loopback,
    Unicast,
    LinkLocal,
    SixOver4,
    ISATAP,
    SiteLocal,
    Global,
    Unformatted,
    IPv4Compatible,
    IPv4Mapped,
    EUI64Formatted,
    IANADelegated,
    Teredo,
    SixToFour,
    Multicast,
    InterfaceLocalScope,
    InterfaceLocalAllNodes,
    InterfaceLocalAllRouters,
    LinkLocalScope,
    LinkLocalAllNodes,
    LinkLocalAllRouters,
    SolicitedNode,
    AdminLocalScope,
    SiteLocalScope,
    SiteLocalAllRouters,
    OrganizationLocalScope,
    GlobalScope,
};

// Number of type ids (0 .. IPv6AddressTypeCount - 1).
constexpr int IPv6AddressTypeCount = static_cast<int>(IPv6AddressTypeID::GlobalScope) + 1;

// The record of type nTypeID (0..27, else std::out_of_range("nTypeID")) with the
// parts flagged in nParts (IPv6AddressTypeInfo::Part) filled, made afresh.
IPv6AddressTypeInfo GetIPv6AddressTypeInfo(int nTypeID, unsigned nParts);

// One node of the fixed type tree; nodes live until the program ends.
class IPv6AddressTypeNode
{
public:
    using List = std::vector<const IPv6AddressTypeNode*>;

    IPv6AddressTypeNode(const IPv6AddressTypeNode&) = delete;
    IPv6AddressTypeNode& operator=(const IPv6AddressTypeNode&) = delete;

    // The type id of the node.
    int GetTypeID() const { return m_typeID; }
    // The parent node, or nullptr for a root.
    const IPv6AddressTypeNode* GetParent() const { return m_parent; }
    // The child nodes in order.
    const List& GetChildren() const { return m_children; }
    // The position among the parent's children, or among the roots.
    int GetRow() const { return m_row; }

    // The type's pattern.
    IPv6AddressPattern GetPattern() const;
    // The type's name.
    std::string GetName() const;
    // Whether the type is deprecated.
    bool IsDeprecated() const;
    // Whether the type only groups others (its pattern is of kind none).
    bool IsAbstract() const;
    // The type's field layout, most significant field first.
    IPv6AddressFieldList GetFields() const;

private:
    friend class IPv6AddressTypeTree;
    IPv6AddressTypeNode() = default;

    int m_typeID = 0;
    const IPv6AddressTypeNode* m_parent = nullptr;
    List m_children;
    int m_row = 0;
};

// The root nodes in order (Unspecified, Loopback, Unicast, Multicast); builds the
// tree on the first call.
const IPv6AddressTypeNode::List& GetIPv6AddressTypeRoots();

// The node of the best-matching type of a valid address: the longest matching
// prefix, the later of equal lengths; nullptr if none matches.
const IPv6AddressTypeNode* FindIPv6AddressType(const IPv6Address& address);
