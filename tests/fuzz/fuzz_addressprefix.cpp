// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

// Any text split as an IPv4 and an IPv6 prefix: the length is in range exactly when it is a
// prefix, and a prefix joined back as "address/length" splits into the same parts.

#include "address/addressprefix.h"
#include "fuzz/fuzzutil.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const bool ipv4 : {true, false}) {
        const auto split = [ipv4](const std::string& t) {
            return ipv4 ? AddressPrefix::SplitIPv4(t) : AddressPrefix::SplitIPv6(t);
        };
        const AddressPrefix prefix = split(text);
        FUZZ_CHECK((prefix.form == AddressPrefix::Form::Prefix) == (prefix.prefixLength >= 0)
                       && prefix.prefixLength <= (ipv4 ? 32 : 128),
                   "a length without a prefix, a prefix without one, or out of range");
        if (prefix.form != AddressPrefix::Form::Prefix)
            continue;
        const AddressPrefix joined = split(prefix.addressText + "/" + std::to_string(prefix.prefixLength));
        FUZZ_CHECK(joined.form == AddressPrefix::Form::Prefix && joined.addressText == prefix.addressText
                       && joined.prefixLength == prefix.prefixLength,
                   "joined prefix splits differently");
    }
    return 0;
}
