#include "common/exceptionmessage.h"
#include "ipv6/ipv6subnetplan.h"

#include <QTest>

#include <stdexcept>

namespace {
QString Text(const std::string& text)
{
    return QString::fromStdString(text);
}

QString Compressed(const IPv6Address& address)
{
    return Text(address.ToString(IPv6Address::CompressedNotation));
}
} // namespace

class TstIPv6SubnetPlan : public QObject
{
    Q_OBJECT

private slots:
    // The prefix holding the address, its counts, and the list window around the address's subnet.
    void plan_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("prefixLength");
        QTest::addColumn<int>("subnetLength");
        QTest::addColumn<QString>("range");        // prefix, first - last
        QTest::addColumn<QString>("counts");       // addresses; subnets
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("firstRowIndex");
        QTest::addColumn<QString>("addressRow");   // row: subnet, its last address

        // clang-format off
        QTest::newRow("/40 into /56 in 2001:db8:1200::/40") << "2001:db8:1234:5678::1" << 40 << 56
            << "2001:DB8:1200::/40, 2001:DB8:1200:: - 2001:DB8:12FF:FFFF:FFFF:FFFF:FFFF:FFFF"
            << "2^88 = 309,485,009,821,345,068,724,781,056; 2^16 = 65,536" << 65536 << "0"
            << "13398: 2001:DB8:1234:5600::/56, 2001:DB8:1234:56FF:FFFF:FFFF:FFFF:FFFF";
        QTest::newRow("/0 into /128 at ::, window from the start") << "::" << 0 << 128
            << "::/0, :: - FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF"
            << "2^128 = 340,282,366,920,938,463,463,374,607,431,768,211,456; 2^128 = 340,282,366,920,938,463,463,374,607,431,768,211,456"
            << 2147483647 << "0" << "0: ::/128, ::";
        QTest::newRow("/0 into /128 at the top, window to the end") << "ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff" << 0 << 128
            << "::/0, :: - FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF"
            << "2^128 = 340,282,366,920,938,463,463,374,607,431,768,211,456; 2^128 = 340,282,366,920,938,463,463,374,607,431,768,211,456"
            << 2147483647 << "340282366920938463463374607429620727809"
            << "2147483646: FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF/128, FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF";
        QTest::newRow("/0 into /64 in the middle, window centred") << "8000::1" << 0 << 64
            << "::/0, :: - FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF"
            << "2^128 = 340,282,366,920,938,463,463,374,607,431,768,211,456; 2^64 = 18,446,744,073,709,551,616"
            << 2147483647 << "9223372035781033985" << "1073741823: 8000::/64, 8000::FFFF:FFFF:FFFF:FFFF";
        QTest::newRow("/127 into /128") << "2001:db8::1" << 127 << 128 << "2001:DB8::/127, 2001:DB8:: - 2001:DB8::1"
            << "2^1 = 2; 2^1 = 2" << 2 << "0" << "1: 2001:DB8::1/128, 2001:DB8::1";
        QTest::newRow("/64 into /64") << "fe80::1" << 64 << 64 << "FE80::/64, FE80:: - FE80::FFFF:FFFF:FFFF:FFFF"
            << "2^64 = 18,446,744,073,709,551,616; 2^0 = 1" << 1 << "0" << "0: FE80::/64, FE80::FFFF:FFFF:FFFF:FFFF";
        QTest::newRow("/128 into /128") << "2001:db8::7" << 128 << 128 << "2001:DB8::7/128, 2001:DB8::7 - 2001:DB8::7"
            << "2^0 = 1; 2^0 = 1" << 1 << "0" << "0: 2001:DB8::7/128, 2001:DB8::7";
        // clang-format on
    }

    void plan()
    {
        QFETCH(QString, address);
        QFETCH(int, prefixLength);
        QFETCH(int, subnetLength);
        const IPv6SubnetPlan plan(IPv6Address(address.toStdString()), prefixLength, subnetLength);
        QTEST(Text(IPv6SubnetPlan::PrefixText(plan.GetFirst(), prefixLength)) + ", " + Compressed(plan.GetFirst())
                  + " - " + Compressed(plan.GetLast()),
              "range");
        QTEST(Text(IPv6SubnetPlan::PowerOfTwoText(128 - prefixLength)) + "; "
                  + Text(IPv6SubnetPlan::PowerOfTwoText(subnetLength - prefixLength)),
              "counts");
        QTEST(plan.GetRowCount(), "rows");
        QTEST(Text(IPv6SubnetPlan::DecimalText(plan.GetFirstRowIndex())), "firstRowIndex");
        const UInt128 row = plan.GetAddressSubnetIndex() - plan.GetFirstRowIndex();
        IPv6Address first;
        IPv6Address last;
        plan.GetSubnet(plan.GetAddressSubnetIndex(), first, last);
        QTEST(Text(IPv6SubnetPlan::DecimalText(row)) + ": " + Text(IPv6SubnetPlan::PrefixText(first, subnetLength)) + ", "
                  + Compressed(last),
              "addressRow");
    }

    void lengthsOutOfOrderThrow()
    {
        const IPv6Address address(std::string("2001:db8::1"));
        for (const auto& [prefixLength, subnetLength] : {std::pair(-1, 64), std::pair(48, 40), std::pair(0, 129)})
            QCOMPARE(ThrownMessage<std::out_of_range>([&] { IPv6SubnetPlan(address, prefixLength, subnetLength); }),
                     "nPrefixLength");
        QCOMPARE(IPv6SubnetPlan().GetRowCount(), 0);
    }
};

QTEST_APPLESS_MAIN(TstIPv6SubnetPlan)

#include "tst_ipv6subnetplan.moc"
