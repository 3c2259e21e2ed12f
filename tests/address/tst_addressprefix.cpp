// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "address/addressprefix.h"
#include "common/datarows.h"

#include <QTest>

class TstAddressPrefix : public QObject
{
    Q_OBJECT

private slots:
    void split_data()
    {
        // split: address text | prefix length | form
        AddColumns<QString, QString>("text", "split");
        // clang-format off
        QTest::newRow("bare address") << "10.1.2.3" << "10.1.2.3|-1|none";
        QTest::newRow("blanks around are trimmed") << " \t10.1.2.3 \n" << "10.1.2.3|-1|none";
        QTest::newRow("empty") << "" << "|-1|none";
        QTest::newRow("/0") << "10.1.2.3/0" << "10.1.2.3|0|prefix";
        QTest::newRow("/32") << "10.1.2.3/32" << "10.1.2.3|32|prefix";
        QTest::newRow("/33 is out of range") << "10.1.2.3/33" << "10.1.2.3|-1|bad";
        QTest::newRow("blanks around the slash, three digits") << "10.1.2.3 / 029 " << "10.1.2.3|29|prefix";
        QTest::newRow("the slash wins over a blank") << "10.1.2.3/24 255.0.0.0" << "10.1.2.3|-1|bad";
        QTest::newRow("cut short") << "10.1.2.3/" << "10.1.2.3|-1|bad";
        QTest::newRow("negative") << "10.1.2.3/-1" << "10.1.2.3|-1|bad";
        QTest::newRow("not a number") << "10.1.2.3/2x" << "10.1.2.3|-1|bad";
        QTest::newRow("more digits than an int holds") << "10.1.2.3/99999999999" << "10.1.2.3|-1|bad";
        QTest::newRow("0.0.0.0 reads as /0") << "10.1.2.3 0.0.0.0" << "10.1.2.3|0|prefix";
        QTest::newRow("255.255.255.255 reads as /32") << "10.1.2.3 255.255.255.255" << "10.1.2.3|32|prefix";
        QTest::newRow("/1 netmask") << "10.1.2.3 128.0.0.0" << "10.1.2.3|1|prefix";
        QTest::newRow("/31 netmask") << "10.1.2.3 255.255.255.254" << "10.1.2.3|31|prefix";
        QTest::newRow("/1 wildcard") << "10.1.2.3 127.255.255.255" << "10.1.2.3|1|prefix";
        QTest::newRow("/31 wildcard") << "10.1.2.3 0.0.0.1" << "10.1.2.3|31|prefix";
        QTest::newRow("a hole in a netmask") << "10.1.2.3 255.255.254.255" << "10.1.2.3|-1|bad";
        QTest::newRow("a hole in a wildcard") << "10.1.2.3 0.0.1.0" << "10.1.2.3|-1|bad";
        QTest::newRow("a mask that is no address") << "10.1.2.3 300.0.0.0" << "10.1.2.3|-1|bad";
        QTest::newRow("neither netmask nor wildcard") << "10.1.2.3 255.0.255.0" << "10.1.2.3|-1|bad";
        QTest::newRow("a mask has four parts") << "10.1.2.3 255.255.255" << "10.1.2.3|-1|bad";
        QTest::newRow("a blank then a length") << "10.1.2.3 24" << "10.1.2.3|-1|bad";
        QTest::newRow("IPv6 ::/0") << "::/0" << "::|0|prefix";
        QTest::newRow("IPv6 /33") << "2001:db8::/33" << "2001:db8::|33|prefix";
        QTest::newRow("IPv6 /128, blank after") << "::1/128 " << "::1|128|prefix";
        QTest::newRow("IPv6 /129") << "::1/129" << "::1|-1|bad";
        QTest::newRow("IPv6 has no blank form") << "fe80::1 64" << "fe80::1 64|-1|none";
        // clang-format on
    }
    // A colon marks the IPv6 rows.
    void split()
    {
        QFETCH(QString, text);
        const std::string input = text.toStdString();
        const AddressPrefix split =
            text.contains(':') ? AddressPrefix::SplitIPv6(input) : AddressPrefix::SplitIPv4(input);
        const char* const forms[] = {"none", "prefix", "bad"};
        QTEST(QString::fromStdString(split.addressText + '|' + std::to_string(split.prefixLength) + '|'
                                     + forms[static_cast<int>(split.form)]),
              "split");
    }
};

QTEST_APPLESS_MAIN(TstAddressPrefix)
#include "tst_addressprefix.moc"
