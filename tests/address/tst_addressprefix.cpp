#include "address/addressprefix.h"

#include <QTest>

class TstAddressPrefix : public QObject
{
    Q_OBJECT

private slots:
    void split_data()
    {
        QTest::addColumn<bool>("ipv6");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("split"); // address text | prefix length | form
        // clang-format off
        QTest::newRow("bare address") << false << "10.1.2.3" << "10.1.2.3|-1|none";
        QTest::newRow("blanks around are trimmed") << false << " \t10.1.2.3 \n" << "10.1.2.3|-1|none";
        QTest::newRow("empty") << false << "" << "|-1|none";
        QTest::newRow("/0") << false << "10.1.2.3/0" << "10.1.2.3|0|prefix";
        QTest::newRow("/32") << false << "10.1.2.3/32" << "10.1.2.3|32|prefix";
        QTest::newRow("/33 is out of range") << false << "10.1.2.3/33" << "10.1.2.3|-1|bad";
        QTest::newRow("blanks around the slash, three digits") << false << "10.1.2.3 / 029 " << "10.1.2.3|29|prefix";
        QTest::newRow("the slash wins over a blank") << false << "10.1.2.3/24 255.0.0.0" << "10.1.2.3|-1|bad";
        QTest::newRow("cut short") << false << "10.1.2.3/" << "10.1.2.3|-1|bad";
        QTest::newRow("negative") << false << "10.1.2.3/-1" << "10.1.2.3|-1|bad";
        QTest::newRow("not a number") << false << "10.1.2.3/2x" << "10.1.2.3|-1|bad";
        QTest::newRow("more digits than an int holds") << false << "10.1.2.3/99999999999" << "10.1.2.3|-1|bad";
        QTest::newRow("netmask") << false << "10.1.2.3 255.255.255.0" << "10.1.2.3|24|prefix";
        QTest::newRow("wildcard") << false << "10.1.2.3 0.0.0.255" << "10.1.2.3|24|prefix";
        QTest::newRow("0.0.0.0 reads as /0") << false << "10.1.2.3 0.0.0.0" << "10.1.2.3|0|prefix";
        QTest::newRow("255.255.255.255 reads as /32") << false << "10.1.2.3 255.255.255.255" << "10.1.2.3|32|prefix";
        QTest::newRow("/1 netmask") << false << "10.1.2.3 128.0.0.0" << "10.1.2.3|1|prefix";
        QTest::newRow("/31 netmask") << false << "10.1.2.3 255.255.255.254" << "10.1.2.3|31|prefix";
        QTest::newRow("/1 wildcard") << false << "10.1.2.3 127.255.255.255" << "10.1.2.3|1|prefix";
        QTest::newRow("/31 wildcard") << false << "10.1.2.3 0.0.0.1" << "10.1.2.3|31|prefix";
        QTest::newRow("a hole in a netmask") << false << "10.1.2.3 255.255.254.255" << "10.1.2.3|-1|bad";
        QTest::newRow("a hole in a wildcard") << false << "10.1.2.3 0.0.1.0" << "10.1.2.3|-1|bad";
        QTest::newRow("a mask that is no address") << false << "10.1.2.3 300.0.0.0" << "10.1.2.3|-1|bad";
        QTest::newRow("blank run with a tab") << false << "10.1.2.3 \t 255.255.128.0" << "10.1.2.3|17|prefix";
        QTest::newRow("neither netmask nor wildcard") << false << "10.1.2.3 255.0.255.0" << "10.1.2.3|-1|bad";
        QTest::newRow("a mask has four parts") << false << "10.1.2.3 255.255.255" << "10.1.2.3|-1|bad";
        QTest::newRow("a blank then a length") << false << "10.1.2.3 24" << "10.1.2.3|-1|bad";
        QTest::newRow("IPv6 /64") << true << "2001:db8::1/64" << "2001:db8::1|64|prefix";
        QTest::newRow("IPv6 ::/0") << true << "::/0" << "::|0|prefix";
        QTest::newRow("IPv6 /33") << true << "2001:db8::/33" << "2001:db8::|33|prefix";
        QTest::newRow("IPv6 /128, blank after") << true << "::1/128 " << "::1|128|prefix";
        QTest::newRow("IPv6 /129") << true << "::1/129" << "::1|-1|bad";
        QTest::newRow("IPv6 has no blank form") << true << "fe80::1 64" << "fe80::1 64|-1|none";
        // clang-format on
    }
    void split()
    {
        QFETCH(bool, ipv6);
        QFETCH(QString, text);
        const AddressPrefix split =
            ipv6 ? AddressPrefix::SplitIPv6(text.toStdString()) : AddressPrefix::SplitIPv4(text.toStdString());
        const char* const forms[] = {"none", "prefix", "bad"};
        QTEST(QString("%1|%2|%3")
                  .arg(QString::fromStdString(split.addressText))
                  .arg(split.prefixLength)
                  .arg(forms[static_cast<int>(split.form)]),
              "split");
    }
};

QTEST_APPLESS_MAIN(TstAddressPrefix)
#include "tst_addressprefix.moc"
