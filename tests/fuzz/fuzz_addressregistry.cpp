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
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using R = AddressRegistry;
    Q_IPV6ADDR bytes{};
    std::copy(data, data + std::min<size_t>(size, 16), bytes.c);
    const IPv4Address ipv4(qFromBigEndian<quint32>(bytes.c));
    const auto [first4, last4] = R::IPv4AddressSpaceBlock(ipv4);
    FUZZ_CHECK(first4 <= ipv4 && ipv4 <= last4, "IPv4 answer's block does not hold the address");
    FUZZ_CHECK(!R::IPv4AddressSpace(ipv4).empty(), "IPv4 address without an answer");

    const IPv6Address ipv6(bytes);
    // Fixed-width hexadecimal orders as the addresses do.
    const auto hex = [](const IPv6Address& a) { return a.ToString(IPv6Address::ExpandedNotation); };
    const auto [first6, last6] = R::IPv6AddressSpaceBlock(ipv6);
    FUZZ_CHECK(hex(first6) <= hex(ipv6) && hex(ipv6) <= hex(last6), "IPv6 answer's block does not hold the address");
    FUZZ_CHECK(!R::IPv6AddressSpace(ipv6).empty(), "IPv6 address without an answer");
    std::string nibbles;
    for (const char c : hex(ipv6))
        if (c != ':')
            nibbles = std::string(1, static_cast<char>(std::tolower(c))) + "." + nibbles;
    FUZZ_CHECK(R::ReverseDnsName(ipv6) == nibbles + "ip6.arpa", "reverse name is not the nibbles reversed");

    const IPv6Address node = R::SolicitedNodeAddress(ipv6);
    FUZZ_CHECK(!node.IsValid() || hex(node) == "FF02:0000:0000:0000:0000:0001:FF" + hex(ipv6).substr(32),
               "solicited-node group lost the address's low 24 bits");
    R::MacAddress mac{};
    FUZZ_CHECK(!R::GetEui64MacAddress(ipv6, mac) || R::ModifiedEui64(mac) == qFromBigEndian<quint64>(bytes.c + 8),
               "MAC does not make the interface id back");
    const IPv4Address translated = R::TranslatedIPv4Address(ipv6);
    FUZZ_CHECK(!translated.IsValid() || translated.GetValue() == qFromBigEndian<quint32>(bytes.c + 12),
               "translated IPv4 address is not the low 32 bits");
    return 0;
}
