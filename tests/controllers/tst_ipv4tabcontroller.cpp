#include "app/brandingutil.h"
#include "app/mainform.h"
#include "common/formtestutil.h"
#include "common/testenvironment.h"
#include "ui_octetrymainform.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMessageBox>
#include <QToolButton>
#include <QtTest>

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

private slots:
    void classesPage_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QStringList>("shown"); // class, range and bit usage
        QTest::newRow("an empty address disables all but the entry") << ""
                                                                     << "" << QStringList{"", "", ""};
        QTest::newRow("127.0.0.1 is loopback")
            << "127.0.0.1"
            << "127.0.0.1"
            << QStringList{"Loopback", "127.0.0.0 - 127.255.255.255", "01111111.xxxxxxxx.xxxxxxxx.xxxxxxxx"};
        QTest::newRow("picking class C clamps 10.1.2.3")
            << "10.1.2.3"
            << "192.1.2.3"
            << QStringList{"Class C", "192.0.0.0 - 223.255.255.255", "110nnnnn.nnnnnnnn.nnnnnnnn.hhhhhhhh"};
        QTest::newRow("picking broadcast")
            << "10.1.2.3"
            << "255.255.255.255" << QStringList{"Broadcast", "255.255.255.255", "11111111.11111111.11111111.11111111"};
    }
    void classesPage()
    {
        QFETCH(QString, typed);
        QFETCH(QString, address);
        QFETCH(QStringList, shown);
        ui->tabWidget->setCurrentWidget(ui->classesTab);
        TypeOver(ui->classesAddressEdit, typed);
        if (address != typed) // the row picks its class from the list
            ui->classesComboBox->setCurrentIndex(ui->classesComboBox->findText(shown.first()));
        QCOMPARE(ui->classesAddressEdit->text(), address);
        QCOMPARE(QStringList({ui->classesComboBox->currentText(), ui->classAddressRangeEdit->text(),
                              ui->classBitUsageEdit->toPlainText()}),
                 shown);
        QVERIFY(ui->classBitUsageLabel->text().count("(<span") <= 1); // the legend is appended once only
        QCOMPARE(QList<bool>({ui->classesComboBox->isEnabled(), ui->classAddressRangeEdit->isEnabled(),
                              ui->classBitUsageEdit->isEnabled()}),
                 QList<bool>(3, !address.isEmpty()));
    }

    void leavingTheEdit_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("warning");
        QTest::newRow("300.1.2.3 is refused without a lookup") << "300.1.2.3"
                                                               << ""
                                                               << "";
        QTest::newRow("10.0.0 gives 10.0.0.0") << "10.0.0"
                                               << "10.0.0.0"
                                               << "";
        QTest::newRow("localhost resolves to 127.0.0.1") << "localhost"
                                                         << "127.0.0.1"
                                                         << "";
        QTest::newRow("a failed lookup warns") << "no-such-host.invalid"
                                               << ""
                                               << "IPv4 Resolve Failed";
    }
    void leavingTheEdit()
    {
        QString warning;
        QTimer closer; // closes the warning box and keeps its title
        connect(&closer, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                warning = box->windowTitle(), box->close();
        });
        closer.start(20);
        QFETCH(QString, typed);
        ui->tabWidget->setCurrentWidget(ui->classesTab);
        TypeOver(ui->classesAddressEdit, typed);
        QTest::keyClick(ui->classesAddressEdit, Qt::Key_Return);
        QTEST(warning, "warning");
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
        QTest::addColumn<QString>("editName");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("shown"); // after Return
        QTest::addColumn<QString>("multicast");
        QTest::newRow("hex c0a80001 gives 192.168.0.1") << "hexEdit"
                                                        << "c0a80001"
                                                        << "c0a80001"
                                                        << "192.168.0.1"
                                                        << "0xc0a80001"
                                                        << "";
        QTest::newRow("hex refuses the x of a lone 0x") << "hexEdit"
                                                        << "0x"
                                                        << "0"
                                                        << "0.0.0.0"
                                                        << "0"
                                                        << "";
        QTest::newRow("decimal refuses 4294967296") << "decEdit"
                                                    << "4294967296"
                                                    << "429496729"
                                                    << "25.153.153.153"
                                                    << "429496729"
                                                    << "";
        QTest::newRow("dotted binary 1..1 invalidates the page") << "dottedBinEdit"
                                                                 << "1..1"
                                                                 << "1..1"
                                                                 << ""
                                                                 << ""
                                                                 << "";
        QTest::newRow("dotted binary with short parts") << "dottedBinEdit"
                                                        << "1.10.11.0"
                                                        << "1.10.11.0"
                                                        << "1.2.3.0"
                                                        << "00000001.00000010.00000011.00000000"
                                                        << "";
        QTest::newRow("octal, shown by the stored option") << "octEdit"
                                                           << "25404000001"
                                                           << "25404000001"
                                                           << "172.16.0.1"
                                                           << "025404000001"
                                                           << "";
        QTest::newRow("239.255.255.250 is multicast") << "dottedDecEdit"
                                                      << "239.255.255.250"
                                                      << "239.255.255.250"
                                                      << "239.255.255.250"
                                                      << "239.255.255.250"
                                                      << "01:00:5E:7F:FF:FA";
        QTest::newRow("240.0.0.1 of class E is no multicast") << "dottedDecEdit"
                                                              << "240.0.0.1"
                                                              << "240.0.0.1"
                                                              << "240.0.0.1"
                                                              << "240.0.0.1"
                                                              << "";
    }
    void conversionsPage()
    {
        QFETCH(QString, editName);
        QFETCH(QString, typed);
        ui->tabWidget->setCurrentWidget(ui->conversionsTab);
        QVERIFY(!ui->octContainerWidget->isHidden());
        QLineEdit* edit = form.findChild<QLineEdit*>(editName);
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
        QTest::addColumn<QString>("editName");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("stored"); // empty: the address before the paste stays
        QTest::newRow("decimal with a leading blank") << "decEdit"
                                                      << " 3232235521"
                                                      << "192.168.0.1";
        QTest::newRow("decimal +4294967295 is too long") << "decEdit"
                                                         << "+4294967295"
                                                         << "";
        QTest::newRow("binary with a plus sign") << "binEdit"
                                                 << "+110"
                                                 << "";
        QTest::newRow("dotted hex one digit too long") << "dottedHexEdit"
                                                       << "c0.a8.00.011"
                                                       << "";
        QTest::newRow("CIDR address beyond the edit's cap") << "cidrAddressEdit" << cut + "192.168.0.1"
                                                            << "";
        QTest::newRow("IPv6 address with a line end") << "ipv6AddressEdit"
                                                      << " 2001:db8::1\n"
                                                      << "2001:DB8::1";
        QTest::newRow("IPv6 address beyond the edit's cap") << "ipv6AddressEdit" << cut + "2001:db8::1"
                                                            << "";
    }
    void pasting()
    {
        QFETCH(QString, editName);
        QFETCH(QString, pasted);
        QFETCH(QString, stored);
        Settings()->SetIPv4Address(IPv4Address(0x01020304));
        Settings()->SetIPv6Address(IPv6Address(std::string("1::2")));
        auto storedText = [&] {
            return editName.startsWith("ipv6") ? QString::fromStdString(Settings()->GetIPv6Address().ToString(0))
                                               : Stored();
        };
        QLineEdit* edit = form.findChild<QLineEdit*>(editName);
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
