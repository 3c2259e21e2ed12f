// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/datarows.h"
#include "lists/addresslistparser.h"

#include <QTest>

class TstAddressListParser : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        // parsed: each item as "text@line", then each problem as " | line n: text: reason"
        AddColumns<QByteArray, QString>("text", "parsed");
        const QByteArray longWord(1000000, ':');
        const QString cut = QString(60, ':') + QChar(0x2026);
        // clang-format off
        QTest::newRow("address") << QByteArray("10.0.0.1") << "10.0.0.1/32@1";
        QTest::newRow("IPv6 address, program's notation") << QByteArray("2001:db8::a") << "2001:DB8::A/128@1";
        QTest::newRow("prefix") << QByteArray("10.0.0.0/8") << "10.0.0.0/8@1";
        QTest::newRow("IPv6 prefix, ends of the space") << QByteArray("::/0 ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff/128")
                                                        << "::/0@1 FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF/128@1";
        QTest::newRow("abbreviated prefixes") << QByteArray("10/8 172.16/12 192.168.1/24")
                                              << "10.0.0.0/8@1 172.16.0.0/12@1 192.168.1.0/24@1";
        QTest::newRow("netmask and wildcard") << QByteArray("192.168.1.0 255.255.255.0 10.0.0.0\t0.0.0.255")
                                              << "192.168.1.0/24@1 10.0.0.0/24@1";
        QTest::newRow("a comma parts address and mask") << QByteArray("10.0.0.0, 255.0.0.0") << "10.0.0.0/32@1 255.0.0.0/32@1";
        QTest::newRow("two addresses, no mask") << QByteArray("10.0.0.1 10.0.0.2") << "10.0.0.1/32@1 10.0.0.2/32@1";
        QTest::newRow("ranges of three words and one") << QByteArray("10.0.0.1 - 10.0.0.5 10.0.1.0-10.0.1.255 ::-::1")
                                                       << "10.0.0.1 - 10.0.0.5@1 10.0.1.0/24@1 ::/127@1";
        QTest::newRow("separators and line ends") << QByteArray("1.1.1.1,2.2.2.2;3.3.3.3\r\n4.4.4.4\r5.5.5.5\n\n6.6.6.6")
                                                  << "1.1.1.1/32@1 2.2.2.2/32@1 3.3.3.3/32@1 4.4.4.4/32@2 5.5.5.5/32@3 6.6.6.6/32@5";
        QTest::newRow("comments") << QByteArray("1.1.1.1 # 2.2.2.2 x\n#3.3.3.3\n4.4.4.4#") << "1.1.1.1/32@1 4.4.4.4/32@3";
        QTest::newRow("host bits set") << QByteArray("10.1.2.3/8") << "10.0.0.0/8@1 | line 1: 10.1.2.3/8: host bits set: counted as 10.0.0.0/8";
        QTest::newRow("host bits under a mask") << QByteArray("10.0.0.5 255.255.255.0")
                                                << "10.0.0.0/24@1 | line 1: 10.0.0.5 255.255.255.0: host bits set: counted as 10.0.0.0/24";
        QTest::newRow("two parts without a length") << QByteArray("10.1") << " | line 1: 10.1: not an address";
        QTest::newRow("octet too large") << QByteArray("1.1.1.1\n10.0.0.256") << "1.1.1.1/32@1 | line 2: 10.0.0.256: not an address";
        QTest::newRow("length too long") << QByteArray("1.2.3.4/33") << " | line 1: 1.2.3.4/33: prefix length out of range";
        QTest::newRow("negative length") << QByteArray("::/-1") << " | line 1: ::/-1: prefix length out of range";
        QTest::newRow("IPv6 length too long") << QByteArray("::/129") << " | line 1: ::/129: prefix length out of range";
        QTest::newRow("no length") << QByteArray("::/") << " | line 1: ::/: not an address";
        QTest::newRow("first after last") << QByteArray("10.0.0.5 - 10.0.0.1")
                                          << " | line 1: 10.0.0.5 - 10.0.0.1: first address after last";
        QTest::newRow("mixed families") << QByteArray("10.0.0.1-::1") << " | line 1: 10.0.0.1-::1: mixed families in a range";
        QTest::newRow("scope id") << QByteArray("fe80::1%eth0") << " | line 1: fe80::1%eth0: not an address";
        QTest::newRow("one problem a line, the rest counted") << QByteArray("x 1.1.1.1 y/1 z\nw")
                                                              << "1.1.1.1/32@1 | line 1: x: not an address (and 2 more on this line) | line 2: w: not an address";
        QTest::newRow("control bytes, NUL, invalid UTF-8") << QByteArray("::1\0\xff\x01", 6)
                                                           << " | line 1: ::1?" + QString(QChar(0xFFFD)) + "?: not an address";
        QTest::newRow("a million characters cut") << longWord << " | line 1: " + cut + ": not an address";
        QTest::newRow("a million words on a line") << QByteArray("x ").repeated(500000) + "1.1.1.1"
                                                   << "1.1.1.1/32@1 | line 1: x: not an address (and 499999 more on this line)";
        // clang-format on
    }
    void parse()
    {
        QFETCH(QByteArray, text);
        const ParsedList parsed = AddressListParser::Parse(std::string_view(text.constData(), text.size()));
        QStringList items, problems;
        for (const ListItem& item : parsed.items)
            items << QString::fromStdString(item.range.Text()) + '@' + QString::number(item.line);
        for (const ListProblem& problem : parsed.problems)
            problems << " | " + QString::fromStdString(problem.ToString());
        QTEST(items.join(' ') + problems.join(QString()), "parsed");
    }
};

QTEST_APPLESS_MAIN(TstAddressListParser)
#include "tst_addresslistparser.moc"
