// Any text as IPv6: an accepted address writes the same bytes back through its
// compressed, uncompressed and expanded texts, and its binary text has two lines.

#include "address/ipv4address.h"
#include "address/ipv6address.h"
#include "fuzz/fuzzutil.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    IPv6Address address;
    const bool accepted = address.Parse(text);
    FUZZ_CHECK(accepted == address.IsValid(), "Parse result disagrees with IsValid");
    if (!accepted) {
        FUZZ_CHECK(address == IPv6Address(), "refused text left a value behind");
        return 0;
    }
    for (int nNotation : {IPv6Address::CompressedNotation, IPv6Address::UncompressedNotation,
                          IPv6Address::ExpandedNotation}) {
        const std::string formatted = address.ToString(nNotation);
        const IPv6Address reread(formatted);
        FUZZ_CHECK(reread.IsValid(), "formatted text is refused");
        FUZZ_CHECK(reread == address, "formatted text reads back to other bytes");
        FUZZ_CHECK(reread.ToString(nNotation) == formatted, "formatting is not stable");
    }
    const std::string binary = address.ToString(IPv6Address::BinaryNotation);
    FUZZ_CHECK(binary.size() == 128 + 7, "binary text has the wrong length");
    FUZZ_CHECK(std::count(binary.begin(), binary.end(), '\n') == 1, "binary text is not two lines");
    IPv4Address ipv4;
    address.GetEmbeddedIPv4Address(ipv4);
    FUZZ_CHECK(ipv4.IsValid(), "embedded IPv4 address left invalid");
    return 0;
}
