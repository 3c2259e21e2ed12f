#include "address/ipv4address.h"
#include "models/addresstext.h"

#include <QTest>

class TstAddressText : public QObject
{
    Q_OBJECT

private slots:
    void texts()
    {
        const IPv4Address first(0x0a000000), last(0x0a0000ff), mask(0xffffff80), none;
        QCOMPARE(AddressText::DottedDecimal(first), "10.0.0.0");
        QCOMPARE(AddressText::DottedDecimal(none), "");
        QCOMPARE(AddressText::RangeText(first, last), "10.0.0.0 - 10.0.0.255");
        QCOMPARE(AddressText::RangeText(last, last), "10.0.0.255");
        QCOMPARE(AddressText::MaskText(mask, 25), "255.255.255.128   (/25)");
        QCOMPARE(AddressText::WildcardText(mask), "0.0.0.127");
        QCOMPARE(AddressText::WildcardText(IPv4Address(0)), "255.255.255.255");
        QCOMPARE(AddressText::WildcardText(none), "");
    }
};

QTEST_APPLESS_MAIN(TstAddressText)
#include "tst_addresstext.moc"
