// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

// Any text as IPv4 in each of the eight notations and as IPv6: an accepted one's text reads back and formats the same.

#include "address/ipv4address.h"
#include "address/ipv6address.h"
#include "fuzz/fuzzutil.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (IPv4Address::Notation notation :
         {IPv4Address::DottedDecimal, IPv4Address::Decimal, IPv4Address::DottedHexadecimal, IPv4Address::Hexadecimal,
          IPv4Address::DottedOctal, IPv4Address::Octal, IPv4Address::DottedBinary, IPv4Address::Binary}) {
        IPv4Address address;
        FUZZ_CHECK(address.Parse(text, notation) == address.IsValid(), "IPv4 Parse disagrees with IsValid");
        const std::string formatted = address.ToString(notation);
        FUZZ_CHECK(formatted.empty() != address.IsValid(), "IPv4 text of a refused or accepted address");
        const IPv4Address reread(formatted, notation);
        FUZZ_CHECK(!address.IsValid() || (reread == address && reread.ToString(notation) == formatted),
                   "IPv4 text does not read back the same");
    }
    IPv6Address address;
    FUZZ_CHECK(address.Parse(text) == address.IsValid(), "IPv6 Parse disagrees with IsValid");
    FUZZ_CHECK(address.IsValid() || address == IPv6Address(), "refused IPv6 text left a value behind");
    for (int nNotation = 0; address.IsValid() && nNotation <= IPv6Address::ExpandedNotation; ++nNotation) {
        const std::string formatted = address.ToString(nNotation);
        const IPv6Address reread(formatted);
        FUZZ_CHECK(reread == address && reread.ToString(nNotation) == formatted,
                   "IPv6 text does not read back the same");
    }
    return 0;
}
