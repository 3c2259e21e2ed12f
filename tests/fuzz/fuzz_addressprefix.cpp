// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

// Any text split as an IPv4 and an IPv6 prefix: the parts are trimmed, the length in range, and
// an accepted prefix joined back as "address/length" splits into the same parts.

#include "address/addressprefix.h"
#include "address/ipv4address.h"
#include "fuzz/fuzzutil.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {
constexpr const char* kBlanks = " \t\n\v\f\r";

void Check(const std::string& text, bool ipv4)
{
    const auto split = [ipv4](const std::string& t) {
        return ipv4 ? AddressPrefix::SplitIPv4(t) : AddressPrefix::SplitIPv6(t);
    };
    const AddressPrefix prefix = split(text);
    const std::string& address = prefix.addressText;
    FUZZ_CHECK(address.empty()
                   || (address.find_first_of(kBlanks) != 0 && address.find_last_of(kBlanks) != address.size() - 1),
               "address part not trimmed");
    FUZZ_CHECK((prefix.form == AddressPrefix::Form::Prefix) == (prefix.prefixLength >= 0),
               "a length without a prefix or a prefix without one");
    FUZZ_CHECK(prefix.prefixLength <= (ipv4 ? 32 : 128), "length out of range");
    if (prefix.form == AddressPrefix::Form::NoPrefix) {
        FUZZ_CHECK(address.find('/') == std::string::npos, "a slash left in the address");
        FUZZ_CHECK(!ipv4 || address.find_first_of(kBlanks) == std::string::npos, "a blank left in the address");
    }
    if (prefix.form != AddressPrefix::Form::Prefix)
        return;
    const AddressPrefix joined = split(address + "/" + std::to_string(prefix.prefixLength));
    FUZZ_CHECK(joined.form == AddressPrefix::Form::Prefix && joined.addressText == address
                   && joined.prefixLength == prefix.prefixLength,
               "joined prefix splits differently");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    Check(text, true);
    Check(text, false);
    // A netmask and its wildcard read as the same length; an address of 4 bytes as a mask.
    quint32 value = 0;
    for (size_t i = 0; i < size && i < 4; ++i)
        value = value << 8 | data[i];
    const int length = AddressPrefix::MaskLength(IPv4Address(value));
    const quint32 netmask = length < 0 ? 0 : static_cast<quint32>(0xffffffff'00000000ULL >> length);
    FUZZ_CHECK(length < 0 || value == netmask || value == ~netmask, "mask length of a value that is no mask");
    return 0;
}
