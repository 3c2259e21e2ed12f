#pragma once

#include "address/ipv4address.h"

#include <cstdio>
#include <cstdlib>

// Stops the fuzzer with a readable reason when a property of the input fails.
#define FUZZ_CHECK(condition, what)                                                     \
    do {                                                                                \
        if (!(condition)) {                                                             \
            std::fprintf(stderr, "%s:%d: %s\n", __FILE__, __LINE__, what);              \
            std::abort();                                                               \
        }                                                                               \
    } while (false)

// The eight notations the program shows.
inline constexpr IPv4Address::Notation kFuzzNotations[] = {
    IPv4Address::DottedDecimal, IPv4Address::Decimal,     IPv4Address::DottedHexadecimal,
    IPv4Address::Hexadecimal,   IPv4Address::DottedOctal, IPv4Address::Octal,
    IPv4Address::DottedBinary,  IPv4Address::Binary,
};
