// Arbitrary bytes read as each value type's stream layout, and as a whole settings
// QVariant. The first input byte picks the type and the stream version; the rest is
// the stream. Whatever is accepted writes back to exactly the bytes it was read from
// and answers its queries without throwing.

#include "address/bitusage.h"
#include "address/ipv4address.h"
#include "address/ipv6address.h"
#include "fuzz/fuzzutil.h"
#include "ipv4/ipv4addressblock.h"
#include "ipv4/ipv4addressclass.h"
#include "ipv4/ipv4cidrpolicy.h"
#include "ipv4/ipv4subnetpolicy.h"

#include <QBuffer>
#include <QByteArray>
#include <QDataStream>
#include <QVariant>

#include <cstddef>
#include <cstdint>
#include <numeric>

namespace {

quint32 BitTotal(const BitUsage& bitUsage)
{
    return std::accumulate(bitUsage.begin(), bitUsage.end(), 0u,
                           [](quint32 sum, const BitUsageEntry& entry) { return sum + entry.second; });
}

void Exercise(const IPv4Address& address)
{
    for (const IPv4Address::Notation& notation : kFuzzNotations)
        FUZZ_CHECK(address.ToString(notation).empty() != address.IsValid(), "text of a read address");
    IPv4AddressClass::FromAddress(address);
}

void Exercise(const IPv4AddressClass& addressClass)
{
    addressClass.GetName();
    addressClass.IsSubnettable();
    const BitUsage bitUsage = addressClass.GetBitUsage();
    FUZZ_CHECK(BitTotal(bitUsage) == (addressClass.IsValid() ? 32u : 0u), "class bit usage");
    if (addressClass.IsValid()) {
        IPv4Address first = addressClass.GetFirstAddress();
        FUZZ_CHECK(addressClass.Contains(first), "class holds its first address");
        FormatBitUsageHtml(bitUsage, first);
        FormatBitRoleLegendHtml(bitUsage);
        IPv4Address clamped(0u);
        FUZZ_CHECK(addressClass.ClampAddress(clamped), "clamping lands in the class");
    }
}

void Exercise(const IPv4SubnetPolicy& policy)
{
    if (!policy.IsValid())
        return;
    quint8 maskBits = 0, subnetBits = 0, hostBits = 0;
    policy.GetBitCounts(maskBits, subnetBits, hostBits);
    FUZZ_CHECK(maskBits + hostBits == 32, "subnet mask and host bits");
    quint32 maxSubnets = 0, maxHosts = 0;
    policy.GetMaxCounts(maxSubnets, maxHosts);
    policy.GetSubnetMask();
    const BitUsage bitUsage = policy.GetBitUsage();
    FUZZ_CHECK(BitTotal(bitUsage) == 32, "subnet policy bit usage");
    const IPv4Address first = policy.GetAddressClass().GetFirstAddress();
    FormatBitUsageHtml(bitUsage, first);
    IPv4Address subnetId, broadcast, firstHost, lastHost;
    const quint32 lastIndex = quint32((quint64(1) << subnetBits) - 1);
    policy.GetSubnet(first, lastIndex, subnetId, broadcast);
    policy.GetHostRange(first, policy.GetSubnetIndex(first), firstHost, lastHost);
    FUZZ_CHECK(firstHost <= lastHost, "host range order");
}

void Exercise(const IPv4AddressBlock& block)
{
    if (!block.IsValid())
        return;
    block.GetMask();
    IPv4Address first, last;
    block.GetRange(IPv4Address(0x12345678u), first, last);
    FUZZ_CHECK(first <= last, "block range order");
}

void Exercise(const IPv4CidrPolicy& policy)
{
    if (!policy.IsValid())
        return;
    quint8 maskBits = 0, cidrBits = 0, hostBits = 0;
    policy.GetBitCounts(maskBits, cidrBits, hostBits);
    FUZZ_CHECK(maskBits + hostBits == 32, "CIDR mask and host bits");
    quint32 maxNetworks = 0, perNetwork = 0;
    policy.GetMaxCounts(maxNetworks, perNetwork);
    policy.GetCidrMask();
    FUZZ_CHECK(BitTotal(policy.GetBitUsage()) == 32, "CIDR policy bit usage");
    const IPv4Address address(0x89abcdefu);
    IPv4Address first, last;
    policy.GetRoute(address, policy.GetNetworkIndex(address), first, last);
    FUZZ_CHECK(first <= address && address <= last, "route of an address holds it");
    policy.GetRoute(address, maxNetworks - 1, first, last);
}

void Exercise(const IPv6Address& address)
{
    for (int nNotation = 0; nNotation < 4; ++nNotation)
        FUZZ_CHECK(address.ToString(nNotation).empty() != address.IsValid(), "text of a read address");
}

// Reads one T from the bytes; an accepted value must write back the bytes it consumed.
template <typename T>
void ReadValue(const QByteArray& bytes, QDataStream::Version version)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QDataStream in(&buffer);
    in.setVersion(version);
    T value;
    in >> value;
    if (in.status() != QDataStream::Ok) {
        FUZZ_CHECK(value == T(), "a refused stream left a value behind");
        return;
    }
    QByteArray written;
    QDataStream out(&written, QIODevice::WriteOnly);
    out.setVersion(version);
    out << value;
    FUZZ_CHECK(written == bytes.left(buffer.pos()), "value writes back other bytes");
    Exercise(value);
}

template <typename T>
bool ExerciseVariant(const QVariant& variant)
{
    if (variant.metaType() != QMetaType::fromType<T>())
        return false;
    Exercise(variant.value<T>());
    return true;
}

QVariant LoadVariant(const QByteArray& bytes, QDataStream::Version version, bool& ok)
{
    QDataStream in(bytes);
    in.setVersion(version);
    QVariant variant;
    in >> variant;
    ok = in.status() == QDataStream::Ok;
    return variant;
}

// Whether the variant's header names one of the program's types. Variants of the
// toolkit's own types are left out: their readers trust the lengths in the stream
// and allocate whatever those claim.
bool NamesOwnType(const QByteArray& bytes, QDataStream::Version version)
{
    QDataStream in(bytes);
    in.setVersion(version);
    quint32 typeId = 0;
    in >> typeId;
    if (typeId != (version < QDataStream::Qt_5_0 ? 127u : quint32(QMetaType::User)))
        return false;
    if (version >= QDataStream::Qt_4_2) {
        qint8 isNull = 0;
        in >> isNull;
    }
    quint32 length = 0;
    in >> length;
    if (in.status() != QDataStream::Ok || length > 64)
        return false;
    QByteArray name(qsizetype(length), '\0');
    if (in.readRawData(name.data(), int(length)) != int(length))
        return false;
    if (name.endsWith('\0'))
        name.chop(1);
    for (const char* own : {"IPv4Address", "IPv4AddressClass", "IPv4SubnetPolicy",
                            "IPv4AddressBlock", "IPv4CidrPolicy", "IPv6Address"}) {
        if (name == own)
            return true;
    }
    return false;
}

// A whole QVariant, as the settings file keeps one: if it is one of the program's
// types, writing and reading it again gives an equal value.
void ReadVariant(const QByteArray& bytes, QDataStream::Version version)
{
    if (!NamesOwnType(bytes, version))
        return;
    bool ok = false;
    const QVariant variant = LoadVariant(bytes, version, ok);
    if (!ok)
        return;
    const bool ours = ExerciseVariant<IPv4Address>(variant) || ExerciseVariant<IPv4AddressClass>(variant)
        || ExerciseVariant<IPv4SubnetPolicy>(variant) || ExerciseVariant<IPv4AddressBlock>(variant)
        || ExerciseVariant<IPv4CidrPolicy>(variant) || ExerciseVariant<IPv6Address>(variant);
    if (!ours)
        return;
    QByteArray written;
    QDataStream out(&written, QIODevice::WriteOnly);
    out.setVersion(version);
    out << variant;
    const QVariant reread = LoadVariant(written, version, ok);
    FUZZ_CHECK(ok, "a written variant is refused");
    FUZZ_CHECK(reread.metaType() == variant.metaType(), "a written variant changes type");
    FUZZ_CHECK(QMetaType(variant.metaType()).equals(reread.constData(), variant.constData()),
               "a written variant reads back to another value");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    RegisterIPv4MetaTypes();
    IPv6Address::RegisterMetaType();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The settings file writes its variants with the oldest stream version.
    const QDataStream::Version version = data[0] & 0x80 ? QDataStream::Qt_4_0 : QDataStream::Qt_DefaultCompiledVersion;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    switch (data[0] & 0x7F) {
    case 0: ReadValue<IPv4Address>(bytes, version); break;
    case 1: ReadValue<IPv4AddressClass>(bytes, version); break;
    case 2: ReadValue<IPv4SubnetPolicy>(bytes, version); break;
    case 3: ReadValue<IPv4AddressBlock>(bytes, version); break;
    case 4: ReadValue<IPv4CidrPolicy>(bytes, version); break;
    case 5: ReadValue<IPv6Address>(bytes, version); break;
    default: ReadVariant(bytes, version); break;
    }
    return 0;
}
