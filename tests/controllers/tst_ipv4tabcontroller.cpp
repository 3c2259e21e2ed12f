// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainform.h"
#include "common/formtestutil.h"
#include "ui_octetrymainform.h"

// The address edits all IPv4 pages share, and the facts the pages show of an address.
class TstIPv4TabController : public QObject
{
    Q_OBJECT
    MainForm form;
    Ui::OctetryMainForm* ui = form.GetUi();
    static OctetrySettings* Settings() { return OctetrySettings::Instance(); }
    static QString Stored()
    {
        return QString::fromStdString(Settings()->GetIPv4Address().ToString(IPv4Address::DottedDecimal));
    }
private slots:
    void leavingTheEdit_data()
    {
        AddColumns<QString, QString, QString>("typed", "stored", "warning");
        // clang-format off
        QTest::newRow("300.1.2.3 is refused without a lookup") << "300.1.2.3" << "" << "";
        QTest::newRow("10.0.0 gives 10.0.0.0") << "10.0.0" << "10.0.0.0" << "";
        QTest::newRow("the first IPv4 address of several") << "multi.test" << "192.0.2.7" << "";
        QTest::newRow("an unknown name warns") << "no-such-host.invalid" << "" << "IPv4 Resolve Failed: Host not found";
        // clang-format on
    }
    void leavingTheEdit()
    {
        MessageBoxCloser closer;
        QFETCH(QString, typed);
        ui->tabWidget->setCurrentWidget(ui->classesTab);
        TypeOver(ui->classesAddressEdit, typed);
        QTest::keyClick(ui->classesAddressEdit, Qt::Key_Return);
        AwaitLookup(ui->classesAddressEdit);
        QTEST(closer.title.isEmpty() ? QString() : closer.title + ": " + closer.text, "warning");
        QTEST(Stored(), "stored");
        QCOMPARE(ui->classesAddressEdit->text(), Stored().isEmpty() ? typed : Stored()); // canonical on leaving
        const QList<QAction*> entries = ui->classesAddressToolButton->menu()->actions();
        if (!entries.isEmpty()) { // rewrites the edit even when it shows refused text
            entries.first()->trigger();
            QCOMPARE(ui->classesAddressEdit->text(), entries.first()->text());
        }
    }

    // Read-only facts beside the notations, masks and IPv6 type, as the user reads them after typing an address.
    void addressFacts_data()
    {
        AddColumns<QLineEdit*, QString, QLineEdit*, QString>("edit", "typed", "field", "shown");
        // clang-format off
        AddRow("10.1.2.3 is private-use", ui->dottedDecEdit, QString("10.1.2.3"), ui->addressSpaceEdit, QString("Private-Use (RFC 1918)"));
        AddRow("10.1.2.3 in reverse", ui->dottedDecEdit, QString("10.1.2.3"), ui->reverseDnsEdit, QString("3.2.1.10.in-addr.arpa"));
        AddRow("a /25 subnet's wildcard", ui->subnetsAddressEdit, QString("192.168.1.1/25"), ui->subnetsWildcardEdit, QString("0.0.0.127"));
        AddRow("a /20 route's wildcard", ui->cidrAddressEdit, QString("10.1.2.3/20"), ui->cidrWildcardEdit, QString("0.0.15.255"));
        AddRow("FD12:3456:789A::1 is unique-local", ui->ipv6AddressEdit, QString("FD12:3456:789A::1"), ui->ipv6AddressSpaceEdit, QString("Unique-Local (RFC 4193, RFC 8190)"));
        AddRow("64:FF9B::C000:221 holds 192.0.2.33", ui->ipv6AddressEdit, QString("64:FF9B::C000:221"), ui->ipv6EmbeddedIPv4Edit, QString("192.0.2.33"));
        AddRow("Teredo server and client", ui->ipv6AddressEdit, QString("2001:0:4136:E378:8000:63BF:3FFF:FDD2"), ui->ipv6EmbeddedIPv4Edit, QString("server 65.54.227.120, client 192.0.2.45 port 40000"));
        AddRow("no solicited-node group for ::1", ui->ipv6AddressEdit, QString("::1"), ui->ipv6SolicitedNodeEdit, QString());
        AddRow("a unicast address's solicited-node group", ui->ipv6AddressEdit, QString("2001:DB8::1:800:200E:8C6C"), ui->ipv6SolicitedNodeEdit, QString("FF02::1:FF0E:8C6C"));
        AddRow("2001:DB8::1 in reverse", ui->ipv6AddressEdit, QString("2001:DB8::1"), ui->ipv6ReverseDnsEdit, QString("1.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.8.b.d.0.1.0.0.2.ip6.arpa"));
        AddRow("no MAC behind ::1", ui->ipv6AddressEdit, QString("::1"), ui->ipv6DerivedEdit, QString());
        // clang-format on
    }
    void addressFacts()
    {
        QFETCH(QLineEdit*, edit);
        QFETCH(QLineEdit*, field);
        ui->tabWidget->setCurrentWidget(edit->parentWidget()->parentWidget());
        QFETCH(QString, typed);
        TypeOver(edit, typed);
        QTest::keyClick(edit, Qt::Key_Return);
        QTEST(field->text(), "shown");
        QCOMPARE(field->isEnabled(), !field->text().isEmpty());
    }

    // A prefix typed on any page reaches both pages' masks once complete: on Return or in a paste, never half-typed or
    // bad.
    void prefixEntry_data()
    {
        // finish: 0 typed only, 1 typed and Return, 2 pasted; masks afterwards: subnet mask, CIDR block, CIDR mask
        // clang-format off
        AddColumns<QLineEdit*, QString, int, QString, QString>("edit", "text", "finish", "stored", "masks");
        AddRow("CIDR /20 inside a /24 block makes it /19", ui->cidrAddressEdit, QString("10.1.2.3/20"), 1, QString("10.1.2.3"), QString("/20 /19 /20"));
        AddRow("CIDR /28 keeps the block", ui->cidrAddressEdit, QString("10.1.2.3/28"), 1, QString("10.1.2.3"), QString("/28 /24 /28"));
        AddRow("CIDR /0 gives the nearest mask, /2", ui->cidrAddressEdit, QString("10.1.2.3/0"), 2, QString("10.1.2.3"), QString("/9 /1 /2"));
        AddRow("CIDR pasted wildcard 0.0.0.255", ui->cidrAddressEdit, QString("10.1.2.3 0.0.0.255"), 2, QString("10.1.2.3"), QString("/24 /23 /24"));
        AddRow("CIDR half-typed /2 changes nothing", ui->cidrAddressEdit, QString("10.1.2.3/2"), 0, QString("10.1.2.3"), QString("/20 /24 /26"));
        AddRow("Subnets netmask of class B", ui->subnetsAddressEdit, QString("172.16.5.4 255.255.255.0"), 1, QString("172.16.5.4"), QString("/24 /23 /24"));
        AddRow("Subnets /8 gives class A's shortest", ui->subnetsAddressEdit, QString("10.9.8.7/8"), 2, QString("10.9.8.7"), QString("/9 /7 /8"));
        AddRow("Classes sets both pages' masks", ui->classesAddressEdit, QString("10.9.8.7/8"), 1, QString("10.9.8.7"), QString("/9 /7 /8"));
        AddRow("Conversions sets both pages' masks", ui->dottedDecEdit, QString("10.1.2.3/24"), 2, QString("10.1.2.3"), QString("/24 /23 /24"));
        AddRow("/-1 is refused", ui->subnetsAddressEdit, QString("10.1.2.3/-1"), 2, QString(), QString("/20 /24 /26"));
        AddRow("/x is refused without a lookup", ui->cidrAddressEdit, QString("10.1.2.3/x"), 1, QString(), QString("/20 /24 /26"));
        // clang-format on
    }
    void prefixEntry()
    {
        MessageBoxCloser closer;
        QFETCH(QLineEdit*, edit);
        QFETCH(QString, text);
        QFETCH(int, finish);
        Settings()->SetIPv4Address(IPv4Address(0x0a010203));
        ui->tabWidget->setCurrentWidget(ui->subnetsTab);
        ChooseMaskBits(ui->subnetsMaskComboBox, 20);
        Settings()->SetCidrAddressBlock(IPv4AddressBlock(24));
        Settings()->SetCidrPolicy(IPv4CidrPolicy(IPv4AddressBlock(24), 2));
        ui->tabWidget->setCurrentWidget(edit->parentWidget()->parentWidget());
        edit->selectAll();
        QApplication::clipboard()->setText(text);
        finish == 2 ? QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier) : QTest::keyClicks(edit, text);
        if (finish == 1)
            QTest::keyClick(edit, Qt::Key_Return);
        quint8 subnetMask = 0, bits = 0, hostBits = 0;
        Settings()->GetSubnetPolicy().GetBitCounts(subnetMask, bits, hostBits);
        const IPv4CidrPolicy cidr = Settings()->GetCidrPolicy();
        const int block = cidr.GetAddressBlock().GetMaskBits();
        QTEST(QString("/%1 /%2 /%3").arg(subnetMask).arg(block).arg(block + cidr.GetCidrBits()), "masks");
        QTEST(Stored(), "stored");
        QCOMPARE(closer.title, QString());
    }

    // Where a page cannot take the prefix as typed, or cannot subnet the address, it says why beside the mask.
    void prefixNotes_data()
    {
        AddColumns<QString, QString, QString>("pasted", "subnetsNote", "cidrNote");
        // clang-format off
        QTest::newRow("/32") << "10.0.0.5/32" << "/32 is one host, not a subnet: shown as /31" << "";
        QTest::newRow("class A /8") << "10.1.2.3/8" << "Class A network 10.0.0.0/8: subnet masks start at /9" << "A /24 block has no /8 routes: the address block is now /7";
        QTest::newRow("class B /12") << "172.16.5.4/12" << "Class B network 172.16.0.0/16: subnet masks start at /17" << "A /24 block has no /12 routes: the address block is now /11";
        QTest::newRow("/0") << "10.1.2.3/0" << "Class A network 10.0.0.0/8: subnet masks start at /9" << "/0 is too large to divide into routes here: shown as /2, the routes of a /1";
        QTest::newRow("loopback") << "127.0.0.1" << "127.0.0.1 is a loopback address (127.0.0.0/8, RFC 1122): it never leaves the host and has no subnets" << "";
        QTest::newRow("multicast") << "224.0.0.251" << "224.0.0.251 is a multicast group (Class D, 224.0.0.0/4): a group has no subnets" << "";
        // clang-format on
    }
    void prefixNotes()
    {
        QFETCH(QString, pasted);
        Settings()->SetIPv4Address(IPv4Address(0x0a010203));
        Settings()->SetCidrAddressBlock(IPv4AddressBlock(24));
        ui->tabWidget->setCurrentWidget(ui->conversionsTab);
        ui->dottedDecEdit->selectAll();
        QApplication::clipboard()->setText(pasted);
        QTest::keyClick(ui->dottedDecEdit, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(ui->dottedDecEdit, Qt::Key_Return);
        for (auto [tab, label, note] : {std::tuple(ui->subnetsTab, ui->subnetsMaskNoteLabel, "subnetsNote"),
                                        std::tuple(ui->cidrTab, ui->cidrMaskNoteLabel, "cidrNote")}) {
            ui->tabWidget->setCurrentWidget(tab);
            QTEST(label->text(), note);
            QCOMPARE(label->isVisibleTo(tab) && label->isEnabled(), !label->text().isEmpty());
        }
        // The user's own choice of mask takes the note away.
        QTest::keyClick(ui->cidrMaskComboBox, Qt::Key_Down);
        QCOMPARE(ui->cidrMaskNoteLabel->text(), QString());
    }

    // Pasted text is trimmed first and, if it still does not fit, refused whole: it never becomes another address.
    void pasting_data()
    {
        const QString cut = QString(32760, QLatin1Char(' '));
        AddColumns<QLineEdit*, QString, QString>("edit", "pasted", "stored"); // stored empty: the one before stays
        // clang-format off
        QTest::newRow("decimal +4294967295 is too long") << ui->decEdit << "+4294967295" << "";
        QTest::newRow("CIDR address beyond the edit's cap") << ui->cidrAddressEdit << cut + "192.168.0.1" << "";
        QTest::newRow("IPv6 address with a line end") << ui->ipv6AddressEdit << " 2001:db8::1\n" << "2001:DB8::1";
        // clang-format on
    }
    void pasting()
    {
        QFETCH(QLineEdit*, edit);
        QFETCH(QString, pasted);
        QFETCH(QString, stored);
        Settings()->SetIPv4Address(IPv4Address(0x01020304));
        Settings()->SetIPv6Address(IPv6Address(std::string("1::2")));
        auto storedText = [&] {
            return edit == ui->ipv6AddressEdit ? QString::fromStdString(Settings()->GetIPv6Address().ToString(0))
                                               : Stored();
        };
        const QString before = edit->text().trimmed(), storedBefore = storedText();
        QApplication::clipboard()->setText(pasted);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(storedText(), stored.isEmpty() ? storedBefore : stored);
        QCOMPARE(edit->text().trimmed(), stored.isEmpty() ? before : pasted.trimmed());
    }
};

OCTETRY_WINDOW_TEST_MAIN(TstIPv4TabController)
#include "tst_ipv4tabcontroller.moc"
