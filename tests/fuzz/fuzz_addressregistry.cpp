// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

// Any IPv4 and IPv6 address: every registry answer names a block that holds the address, and the
// derived addresses and names carry the address's bits.

#include "address/addressregistry.h"
#include "address/ipv4address.h"
#include "address/ipv6address.h"
#include "fuzz/fuzzutil.h"

#include <QtEndian>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using R = AddressRegistry;
    Q_IPV6ADDR bytes{};
    std::copy(data, data + std::min<size_t>(size, 16), bytes.c);
    const IPv4Address ipv4(qFromBigEndian<quint32>(bytes.c));
    const auto [first4, last4] = R::IPv4AddressSpaceBlock(ipv4);
    FUZZ_CHECK(first4 <= ipv4 && ipv4 <= last4 && !R::IPv4AddressSpace(ipv4).empty(),
               "IPv4 answer missing, or its block does not hold the address");

    const IPv6Address ipv6(bytes);
    // The bytes, in the order of the addresses.
    const auto key = [](const IPv6Address& a) { return std::string(a.GetBytes().c, a.GetBytes().c + 16); };
    const auto [first6, last6] = R::IPv6AddressSpaceBlock(ipv6);
    FUZZ_CHECK(key(first6) <= key(ipv6) && key(ipv6) <= key(last6) && !R::IPv6AddressSpace(ipv6).empty(),
               "IPv6 answer missing, or its block does not hold the address");
    std::string nibbles;
    for (const quint8 byte : bytes.c)
        nibbles = std::string{"0123456789abcdef"[byte & 15], '.', "0123456789abcdef"[byte >> 4], '.'} + nibbles;
    FUZZ_CHECK(R::ReverseDnsName(ipv6) == nibbles + "ip6.arpa", "reverse name is not the nibbles reversed");

    // Which addresses have a solicited-node group, an EUI-64 MAC, a multicast MAC, an embedded IPv4 address.
    const bool multicast = bytes[0] == 0xff;
    const IPv6Address node = R::SolicitedNodeAddress(ipv6);
    const bool mapped = key(ipv6).substr(0, 12) == key(IPv6Address("::ffff:0:0")).substr(0, 12);
    FUZZ_CHECK(node.IsValid() == (!multicast && !mapped && ipv6 != IPv6Address(0, 0) && ipv6 != IPv6Address(0, 1))
                   && (!node.IsValid()
                       || key(node) == key(IPv6Address("ff02::1:ff00:0")).substr(0, 13) + key(ipv6).substr(13)),
               "solicited-node group of a multicast address or without the address's low 24 bits");
    R::MacAddress mac{};
    const bool eui64 = R::GetEui64MacAddress(ipv6, mac);
    FUZZ_CHECK(eui64 == (!multicast && bytes[11] == 0xff && bytes[12] == 0xfe)
                   && (!eui64 || R::ModifiedEui64(mac) == qFromBigEndian<quint64>(bytes.c + 8)),
               "EUI-64 MAC of no EUI-64 id, or one that does not make the id back");
    const R::MacAddress group = {0x33, 0x33, bytes[12], bytes[13], bytes[14], bytes[15]};
    FUZZ_CHECK(R::GetMulticastMacAddress(ipv6, mac) == multicast && (!multicast || mac == group),
               "multicast MAC of a unicast address, or not 33:33 and the low 32 bits");
    const std::vector<R::EmbeddedIPv4> embedded = R::EmbeddedIPv4Addresses(ipv6);
    FUZZ_CHECK(!multicast || embedded.empty(), "embedded IPv4 address in a multicast address");
    return 0;
}
