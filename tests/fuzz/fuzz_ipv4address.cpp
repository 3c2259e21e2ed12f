// Any text, read in each of the eight notations: a text that is accepted gives an
// address whose text in the same notation reads back to the same address.

#include "address/ipv4address.h"
#include "fuzz/fuzzutil.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const IPv4Address::Notation& notation : kFuzzNotations) {
        IPv4Address address;
        const bool accepted = address.Parse(text, notation);
        FUZZ_CHECK(accepted == address.IsValid(), "Parse result disagrees with IsValid");
        if (!accepted) {
            FUZZ_CHECK(address.ToString(notation).empty(), "refused text left a value behind");
            continue;
        }
        const std::string formatted = address.ToString(notation);
        FUZZ_CHECK(!formatted.empty(), "valid address formats as empty text");
        const IPv4Address reread(formatted, notation);
        FUZZ_CHECK(reread.IsValid(), "formatted text is refused in its own notation");
        FUZZ_CHECK(reread.GetValue() == address.GetValue(), "formatted text reads back differently");
        FUZZ_CHECK(reread.ToString(notation) == formatted, "formatting is not stable");
    }
    return 0;
}
