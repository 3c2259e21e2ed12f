#include "app/brandingutil.h"
#include "app/mainform.h"
#include "common/formtestutil.h"
#include "common/testenvironment.h"
#include "ui_octetrymainform.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QToolButton>
#include <QtTest>

// The Classes page as the user reads it; enabled counts the class list, the range and the bit usage.
struct ClassesPage
{
    QString address, addressClass, range, bitUsage;
    int enabled = 0;
    bool operator==(const ClassesPage&) const = default;
};
char* toString(const ClassesPage& p)
{
    return QTest::toString(QString("address %1, class %2, range %3, bit usage %4, %5 of 3 enabled")
                               .arg(p.address, p.addressClass, p.range, p.bitUsage)
                               .arg(p.enabled));
}

// The Classes and Conversions pages and the address edits all IPv4 pages share.
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
    ClassesPage ClassesShown() const
    {
        return {ui->classesAddressEdit->text(), ui->classesComboBox->currentText(), ui->classAddressRangeEdit->text(),
                ui->classBitUsageEdit->toPlainText(),
                ui->classesComboBox->isEnabled() + ui->classAddressRangeEdit->isEnabled()
                    + ui->classBitUsageEdit->isEnabled()};
    }

private slots:
    void classesPage_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<ClassesPage>("shown");
        // clang-format off
        QTest::newRow("an empty address disables all but the entry") << "" << ClassesPage{};
        QTest::newRow("127.0.0.1 is loopback") << "127.0.0.1" << ClassesPage{"127.0.0.1", "Loopback", "127.0.0.0 - 127.255.255.255", "01111111.xxxxxxxx.xxxxxxxx.xxxxxxxx", 3};
        QTest::newRow("picking class C clamps 10.1.2.3") << "10.1.2.3" << ClassesPage{"192.1.2.3", "Class C", "192.0.0.0 - 223.255.255.255", "110nnnnn.nnnnnnnn.nnnnnnnn.hhhhhhhh", 3};
        QTest::newRow("picking Broadcast gives 255.255.255.255") << "10.1.2.3" << ClassesPage{"255.255.255.255", "Broadcast", "255.255.255.255", "11111111.11111111.11111111.11111111", 3};
        // clang-format on
    }
    void classesPage()
    {
        QFETCH(QString, typed);
        QFETCH(ClassesPage, shown);
        ui->tabWidget->setCurrentWidget(ui->classesTab);
        TypeOver(ui->classesAddressEdit, typed);
        if (shown.address != typed) // the row picks its class from the list
            ui->classesComboBox->setCurrentIndex(ui->classesComboBox->findText(shown.addressClass));
        QCOMPARE(ClassesShown(), shown);
        QVERIFY(ui->classBitUsageLabel->text().count("(<span") <= 1); // the legend is appended once only
    }

    void leavingTheEdit_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("warning");
        // clang-format off
        QTest::newRow("300.1.2.3 is refused without a lookup") << "300.1.2.3" << "" << "";
        QTest::newRow("10.0.0 gives 10.0.0.0") << "10.0.0" << "10.0.0.0" << "";
        QTest::newRow("localhost resolves to 127.0.0.1") << "localhost" << "127.0.0.1" << "";
        QTest::newRow("a failed lookup warns") << "no-such-host.invalid" << "" << "IPv4 Resolve Failed";
        // clang-format on
    }
    void leavingTheEdit()
    {
        MessageBoxCloser closer;
        QFETCH(QString, typed);
        ui->tabWidget->setCurrentWidget(ui->classesTab);
        TypeOver(ui->classesAddressEdit, typed);
        QTest::keyClick(ui->classesAddressEdit, Qt::Key_Return);
        QTEST(closer.title, "warning");
        QTEST(Stored(), "stored");
        QCOMPARE(ui->classesAddressEdit->text(), Stored().isEmpty() ? typed : Stored()); // canonical on leaving
        const QList<QAction*> entries = ui->classesAddressToolButton->menu()->actions();
        if (!entries.isEmpty()) // rewrites the edit even when it shows a failed name
        {
            entries.first()->trigger();
            QCOMPARE(ui->classesAddressEdit->text(), entries.first()->text());
        }
    }

    void conversionsPage_data()
    {
        QTest::addColumn<QLineEdit*>("edit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("shown"); // after Return
        QTest::addColumn<QString>("multicast");
        // clang-format off
        QTest::newRow("hex c0a80001 gives 192.168.0.1") << ui->hexEdit << "c0a80001" << "c0a80001" << "192.168.0.1" << "0xc0a80001" << "";
        QTest::newRow("hex refuses the x of a lone 0x") << ui->hexEdit << "0x" << "0" << "0.0.0.0" << "0" << "";
        QTest::newRow("decimal refuses 4294967296") << ui->decEdit << "4294967296" << "429496729" << "25.153.153.153" << "429496729" << "";
        QTest::newRow("dotted binary 1..1 invalidates the page") << ui->dottedBinEdit << "1..1" << "1..1" << "" << "" << "";
        QTest::newRow("dotted binary with short parts") << ui->dottedBinEdit << "1.10.11.0" << "1.10.11.0" << "1.2.3.0" << "00000001.00000010.00000011.00000000" << "";
        QTest::newRow("octal, shown by the stored option") << ui->octEdit << "25404000001" << "25404000001" << "172.16.0.1" << "025404000001" << "";
        QTest::newRow("239.255.255.250 is multicast") << ui->dottedDecEdit << "239.255.255.250" << "239.255.255.250" << "239.255.255.250" << "239.255.255.250" << "01:00:5E:7F:FF:FA";
        QTest::newRow("240.0.0.1 of class E is no multicast") << ui->dottedDecEdit << "240.0.0.1" << "240.0.0.1" << "240.0.0.1" << "240.0.0.1" << "";
        // clang-format on
    }
    void conversionsPage()
    {
        QFETCH(QLineEdit*, edit);
        QFETCH(QString, typed);
        ui->tabWidget->setCurrentWidget(ui->conversionsTab);
        QVERIFY(!ui->octContainerWidget->isHidden());
        TypeOver(edit, typed);
        QTEST(edit->text(), "kept");
        QTEST(ui->dottedDecEdit->text(), "address");
        QTEST(ui->multicastEdit->text(), "multicast");
        QCOMPARE(ui->multicastEdit->isEnabled(), !ui->multicastEdit->text().isEmpty());
        QVERIFY(ui->decEdit->isEnabled() && ui->hexEdit->isEnabled()); // an invalid address keeps the page usable
        QTest::keyClick(edit, Qt::Key_Return);
        QTEST(edit->text(), "shown");
    }

    // Pasted text is trimmed first and, if it still does not fit, refused whole: it never becomes another address.
    void pasting_data()
    {
        const QString cut = QString(32760, QLatin1Char(' '));
        QTest::addColumn<QLineEdit*>("edit");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("stored"); // empty: the address before the paste stays
        // clang-format off
        QTest::newRow("decimal with a leading blank") << ui->decEdit << " 3232235521" << "192.168.0.1";
        QTest::newRow("decimal +4294967295 is too long") << ui->decEdit << "+4294967295" << "";
        QTest::newRow("binary with a plus sign") << ui->binEdit << "+110" << "";
        QTest::newRow("dotted hex one digit too long") << ui->dottedHexEdit << "c0.a8.00.011" << "";
        QTest::newRow("CIDR address beyond the edit's cap") << ui->cidrAddressEdit << cut + "192.168.0.1" << "";
        QTest::newRow("IPv6 address with a line end") << ui->ipv6AddressEdit << " 2001:db8::1\n" << "2001:DB8::1";
        QTest::newRow("IPv6 address beyond the edit's cap") << ui->ipv6AddressEdit << cut + "2001:db8::1" << "";
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

int main(int argc, char** argv)
{
    TestEnvironment environment;
    QApplication app(argc, argv);
    BrandingUtil::SetApplicationIdentity();
    QSettings().setValue("ShowOctalConversions", true); // by hand before the store loads, as a user would
    TstIPv4TabController test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ipv4tabcontroller.moc"
