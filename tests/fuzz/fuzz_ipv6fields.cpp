// Any 16 bytes as an IPv6 address, laid out as every type of the catalogue: the
// widths add up to 128 (or the type has no fields), every name and value comes
// without an exception, and the type the catalogue finds is laid out as well.

#include "address/ipv6address.h"
#include "fuzz/fuzzutil.h"
#include "ipv6/ipv6addressfield.h"
#include "ipv6/ipv6addresstypes.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <exception>

namespace {

void CheckLayout(const IPv6AddressFieldList& fields, const IPv6Address& address)
{
    unsigned width = 0;
    for (const IPv6AddressField& field : fields) {
        width += field.GetBitCount();
        FUZZ_CHECK(!field.GetName(address).empty(), "field without a name");
        FUZZ_CHECK(!field.GetValue(address).empty(), "field without a value");
    }
    FUZZ_CHECK(fields.empty() || width == 128, "field widths do not add up to 128");
}

void CheckAll(const IPv6Address& address)
{
    for (int nTypeID = 0; nTypeID < IPv6AddressTypeCount; ++nTypeID) {
        const IPv6AddressTypeInfo info =
            GetIPv6AddressTypeInfo(nTypeID, IPv6AddressTypeInfo::AllParts);
        CheckLayout(info.fields, address);
        info.pattern.Matches(address);
        info.pattern.ToString();
        IPv6Address applied = address;
        info.pattern.ApplyTo(applied);
        FUZZ_CHECK(info.pattern.IsNone() || info.pattern.Matches(applied),
                   "an address given a type's prefix is not of that type");
    }
    const IPv6AddressTypeNode* node = FindIPv6AddressType(address);
    FUZZ_CHECK(node != nullptr, "an address without a type");
    FUZZ_CHECK(!node->IsAbstract(), "an abstract type was found");
    FUZZ_CHECK(node->GetPattern().Matches(address), "the found type does not match");
    CheckLayout(node->GetFields(), address);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 16)
        return 0;
    Q_IPV6ADDR bytes;
    std::memcpy(bytes.c, data, 16);
    try {
        CheckAll(IPv6Address(bytes));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "exception: %s\n", e.what());
        std::abort();
    }
    return 0;
}
