// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "address/ipv4address.h"

#include <QtGlobal>

#include <array>
#include <string>
#include <utility>
#include <vector>

class IPv6Address;

// What the IANA registries say about an address: its special-purpose block,
// multicast block and well-known group, and the names and addresses derived
// from it. Texts are UTF-8; an invalid address gives empty results.
class AddressRegistry
{
public:
    using MacAddress = std::array<quint8, 6>;

    // How an IPv6 address carries an IPv4 address.
    enum class Embedding : quint8
    {
        Mapped,       // ::ffff:a.b.c.d (RFC 4291 2.5.5.2)
        Compatible,   // ::a.b.c.d, deprecated (RFC 4291 2.5.5.1)
        SixToFour,    // 2002:AABB:CCDD::/48 (RFC 3056)
        Isatap,       // interface id 0000:5efe or 0200:5efe (RFC 5214)
        TeredoServer, // 2001:0:AABB:CCDD::/64 (RFC 4380 4)
        TeredoClient, // the obfuscated client address and port in the low 48 bits
        Nat64,        // 64:ff9b::a.b.c.d (RFC 6052)
    };
    struct EmbeddedIPv4
    {
        Embedding embedding;
        IPv4Address address;
        int port; // the Teredo client's UDP port; -1 for the others
    };

    // The most specific row of the IPv4 special-purpose registry holding the
    // address, as "Private-Use (RFC 1918)"; in 224.0.0.0/4 its multicast block
    // ("Local Network Control Block (RFC 5771)"), or the block and its
    // well-known group ("Local Network Control Block: mDNS"); otherwise
    // "Global Unicast".
    [[nodiscard]] static std::string IPv4AddressSpace(const IPv4Address& address);
    // The same for IPv6: the most specific special-purpose row; otherwise
    // "Global Unicast" (2000::/3), "Multicast (Link-Local scope, permanent)"
    // with ": All DHCP Agents" for a well-known group, or "Reserved by IETF".
    [[nodiscard]] static std::string IPv6AddressSpace(const IPv6Address& address);
    // The registry's five flags of that row in words, one per line ("Source:
    // yes", ..., "Reserved by protocol: no"); outside the registry the block
    // and its RFC, or empty for global unicast.
    [[nodiscard]] static std::string IPv4AddressSpaceDetails(const IPv4Address& address);
    [[nodiscard]] static std::string IPv6AddressSpaceDetails(const IPv6Address& address);
    // The first and last address of the block those texts name: its registry
    // row or multicast block, else all of IPv4 for global unicast; for IPv6
    // the row, ff00::/8, 2000::/3, or the reserved block of the IANA IPv6
    // Address Space. A pair of invalid addresses for an invalid address.
    [[nodiscard]] static std::pair<IPv4Address, IPv4Address> IPv4AddressSpaceBlock(const IPv4Address& address);
    [[nodiscard]] static std::pair<IPv6Address, IPv6Address> IPv6AddressSpaceBlock(const IPv6Address& address);

    // Every IPv4 address the IPv6 address carries, in the order of the kinds
    // above; none for multicast, ::, ::1 and invalid addresses.
    [[nodiscard]] static std::vector<EmbeddedIPv4> EmbeddedIPv4Addresses(const IPv6Address& address);
    // The MAC behind a modified EUI-64 interface id (FF:FE in bytes 11 and 12,
    // universal/local bit flipped back, RFC 4291 appendix A) of a non-multicast
    // address; false when the id carries none.
    [[nodiscard]] static bool GetEui64MacAddress(const IPv6Address& address, MacAddress& mac);
    // The modified EUI-64 interface id made from mac, most significant byte first.
    [[nodiscard]] static quint64 ModifiedEui64(const MacAddress& mac);
    // The first 64 bits of prefix followed by mac's modified EUI-64 interface id,
    // the address SLAAC forms; invalid for an invalid prefix.
    [[nodiscard]] static IPv6Address Eui64Address(const IPv6Address& prefix, const MacAddress& mac);
    // Reads 00:11:22:33:44:55, 00-11-22-33-44-55 or 0011.2233.4455 in either
    // case into mac; false, with mac unchanged, for any other text.
    [[nodiscard]] static bool ParseMacAddress(const std::string& text, MacAddress& mac);
    // FF02::1:FF00:0/104 followed by the low 24 bits of a unicast or anycast
    // address that an interface can have (RFC 4291 2.7.1); invalid for
    // multicast addresses, ::, ::1 and IPv4-mapped addresses.
    [[nodiscard]] static IPv6Address SolicitedNodeAddress(const IPv6Address& address);
    // 33:33 followed by the low 32 bits of a multicast group (RFC 2464 7);
    // false for other addresses.
    [[nodiscard]] static bool GetMulticastMacAddress(const IPv6Address& address, MacAddress& mac);
    // Six bytes as upper-case hexadecimal pairs joined by ":" ("33:33:00:01:00:02").
    [[nodiscard]] static std::string MacAddressText(const MacAddress& mac);

    // "d.c.b.a.in-addr.arpa" (RFC 1035 3.5); with nPrefixLength 0, 8, 16 or 24
    // the zone of that prefix ("10.in-addr.arpa" for /8). Other lengths throw
    // std::out_of_range("nPrefixLength").
    [[nodiscard]] static std::string ReverseDnsName(const IPv4Address& address, int nPrefixLength = 32);
    // The 32 nibbles reversed, lower case, then "ip6.arpa" (RFC 3596 2.5); with
    // nPrefixLength a multiple of 4 below 128 the zone of that prefix. Other
    // lengths throw std::out_of_range("nPrefixLength").
    [[nodiscard]] static std::string ReverseDnsName(const IPv6Address& address, int nPrefixLength = 128);
};
