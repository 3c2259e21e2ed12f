// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainform.h"
#include "common/formtestutil.h"
#include "ui_octetrymainform.h"
#include "widgets/largetableview.h"

class TstIPv6SubnetsTabController : public QObject
{
    Q_OBJECT
    MainForm form;
    Ui::OctetryMainForm* ui = form.GetUi();
    static OctetrySettings* Settings() { return OctetrySettings::Instance(); }
    static QString Stored() { return QString::fromStdString(Settings()->GetIPv6Address().ToString(0)); }

    // The page as the user reads it: lengths, prefix, counts, the selected row and the reverse zone.
    QString Page() const
    {
        const LargeTableView* view = ui->ipv6SubnetsTableView;
        const QModelIndexList selected = view->selectionModel()->selectedRows();
        const QModelIndex row = selected.value(0);
        const bool shown = row.isValid() && view->viewport()->rect().contains(view->visualRect(row).topLeft());
        return QString("%1, %2 of %3-%4 | %5; %6 - %7; %8; %9 | %10 rows, row %11 (%12)%13: %14 | %15")
            .arg(ui->ipv6PrefixLengthComboBox->currentText(), ui->ipv6SubnetLengthComboBox->currentText(),
                 ui->ipv6SubnetLengthComboBox->itemText(0),
                 ui->ipv6SubnetLengthComboBox->itemText(ui->ipv6SubnetLengthComboBox->count() - 1),
                 ui->ipv6PrefixEdit->text(), ui->ipv6FirstAddressEdit->text(), ui->ipv6LastAddressEdit->text(),
                 ui->ipv6AddressCountEdit->text(), ui->ipv6SubnetCountEdit->text())
            .arg(view->model()->rowCount())
            .arg(selected.size() == 1 ? row.row() : -1)
            .arg(view->model()->headerData(row.row(), Qt::Vertical).toString(), shown ? "" : " hidden",
                 row.data().toString(), ui->ipv6ReverseZoneEdit->text());
    }

    static void Choose(QComboBox* box, int length) { box->setCurrentIndex(box->findText(QString("/%1").arg(length))); }

private slots:
    void init()
    {
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        ui->tabWidget->setCurrentWidget(ui->ipv6SubnetsTab);
        TypeOver(ui->ipv6SubnetsAddressEdit, "2001:db8::1");
        Choose(ui->ipv6PrefixLengthComboBox, 48);
        Choose(ui->ipv6SubnetLengthComboBox, 64);
    }

    // The page follows each kind of change, always with the address's own subnet selected and in view.
    void pageFollowsEachChange_data()
    {
        // onIPv6Page: the address typed there, this page shown after
        AddColumns<bool, QString, int, int, QString>("onIPv6Page", "address", "prefixLength", "subnetLength", "page");
        const QString all = "::/0; :: - FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF; 2^128 = "
                            "340,282,366,920,938,463,463,374,607,431,768,211,456";
        const QString ones = "FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF", f32 = QString("f.").repeated(32);
        // clang-format off
        AddRow("/40 into /56, typed here", false, QString("2001:db8:1234:5678::1"), 40, 56, QString("/40, /56 of /40-/128 | 2001:DB8:1200::/40; 2001:DB8:1200:: - 2001:DB8:12FF:FFFF:FFFF:FFFF:FFFF:FFFF; 2^88 = 309,485,009,821,345,068,724,781,056; 2^16 = 65,536 | 65536 rows, row 13398 (13398): 2001:DB8:1234:5600::/56 | 6.5.4.3.2.1.8.b.d.0.1.0.0.2.ip6.arpa"));
        AddRow("/0 into /128 at ::, typed on the IPv6 page", true, QString("::"), 0, 128, QString("/0, /128 of /0-/128 | " + all + "; " + all.section("; ", 2) + " | 2147483647 rows, row 0 (0): ::/128 | " + QString("0.").repeated(32) + "ip6.arpa"));
        AddRow("/0 into /128 at the top", false, ones, 0, 128, QString("/0, /128 of /0-/128 | " + all + "; " + all.section("; ", 2) + " | 2147483647 rows, row 2147483646 (340282366920938463463374607431768211455): " + ones + "/128 | " + f32 + "ip6.arpa"));
        AddRow("/0 into /64 in the middle: the window centred", false, QString("8000::1"), 0, 64, QString("/0, /64 of /0-/128 | " + all + "; 2^64 = 18,446,744,073,709,551,616 | 2147483647 rows, row 1073741823 (9223372036854775808): 8000::/64 | 0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.8.ip6.arpa"));
        AddRow("/128 into /128", true, QString("2001:db8::7"), 128, 128, QString("/128, /128 of /128-/128 | 2001:DB8::7/128; 2001:DB8::7 - 2001:DB8::7; 2^0 = 1; 2^0 = 1 | 1 rows, row 0 (0): 2001:DB8::7/128 | 7.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.8.b.d.0.1.0.0.2.ip6.arpa"));
        AddRow("/0 into /0: one subnet, the whole space", false, QString("2001:db8::1"), 0, 0, QString("/0, /0 of /0-/128 | " + all + "; 2^0 = 1 | 1 rows, row 0 (0): ::/0 | ip6.arpa"));
        AddRow("no address empties the page", false, QString("2001:db8::g"), 40, 56, QString(",  of /48-/128 | ;  - ; ;  | 0 rows, row -1 () hidden:  | "));
        AddRow("/127 into /128 on the IPv6 page", true, QString("2001:db8::1"), 127, 128, QString("/127, /128 of /127-/128 | 2001:DB8::/127; 2001:DB8:: - 2001:DB8::1; 2^1 = 2; 2^1 = 2 | 2 rows, row 1 (1): 2001:DB8::1/128 | 1.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.8.b.d.0.1.0.0.2.ip6.arpa"));
        AddRow("/62 has no reverse zone", false, QString("fe80::1"), 60, 62, QString("/60, /62 of /60-/128 | FE80::/60; FE80:: - FE80::F:FFFF:FFFF:FFFF:FFFF; 2^68 = 295,147,905,179,352,825,856; 2^2 = 4 | 4 rows, row 0 (0): FE80::/62 | "));
        // clang-format on
    }
    void pageFollowsEachChange()
    {
        QFETCH(bool, onIPv6Page);
        QFETCH(QString, address);
        QFETCH(int, prefixLength);
        QFETCH(int, subnetLength);
        // Here the lengths are chosen last; there the address is typed last, while this page is hidden.
        if (!onIPv6Page)
            TypeOver(ui->ipv6SubnetsAddressEdit, address);
        Choose(ui->ipv6PrefixLengthComboBox, prefixLength);
        Choose(ui->ipv6SubnetLengthComboBox, subnetLength);
        if (onIPv6Page) {
            ui->tabWidget->setCurrentWidget(ui->ipv6Tab);
            TypeOver(ui->ipv6AddressEdit, address);
            ui->tabWidget->setCurrentWidget(ui->ipv6SubnetsTab);
        }
        QTEST(Page(), "page");
    }

    // address/n in either IPv6 edit stores the address and, once complete, n as the prefix length.
    void prefixEntry_data()
    {
        // finish: 0 typed only, 1 typed and Return, 2 pasted
        AddColumns<QLineEdit*, QString, int, QString, QString>("edit", "text", "finish", "stored", "lengths");
        // clang-format off
        AddRow("IPv6 page /40 on Return", ui->ipv6AddressEdit, QString("2001:db8::1/40"), 1, QString("2001:DB8::1"), QString("/40 /64"));
        AddRow("pasted /72 lengthens the subnets", ui->ipv6SubnetsAddressEdit, QString("2001:db8::2 /72"), 2, QString("2001:DB8::2"), QString("/72 /72"));
        AddRow("IPv6 page pasted /0", ui->ipv6AddressEdit, QString("::/0"), 2, QString("::"), QString("/0 /64"));
        AddRow("pasted prefix of no address is refused", ui->ipv6SubnetsAddressEdit, QString("xyz/40"), 2, QString(), QString("/48 /64"));
        AddRow("half-typed /1 changes nothing", ui->ipv6SubnetsAddressEdit, QString("2001:db8::1/1"), 0, QString("2001:DB8::1"), QString("/48 /64"));
        // clang-format on
    }
    void prefixEntry()
    {
        MessageBoxCloser closer;
        QFETCH(QLineEdit*, edit);
        QFETCH(QString, text);
        QFETCH(int, finish);
        ui->tabWidget->setCurrentWidget(edit == ui->ipv6AddressEdit ? ui->ipv6Tab : ui->ipv6SubnetsTab);
        edit->selectAll();
        QApplication::clipboard()->setText(text);
        finish == 2 ? QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier) : QTest::keyClicks(edit, text);
        if (finish == 1)
            QTest::keyClick(edit, Qt::Key_Return);
        QTEST(Stored(), "stored");
        QTEST(QString("/%1 /%2").arg(Settings()->GetIPv6PrefixLength()).arg(Settings()->GetIPv6SubnetLength()),
              "lengths");
        QCOMPARE(closer.title, QString());
    }

    // A new random /48 under FD00::/8 at each click, shown as the page's prefix.
    void generateUla()
    {
        QTest::mouseClick(ui->ipv6GenerateUlaButton, Qt::LeftButton);
        const QString first = ui->ipv6PrefixEdit->text();
        QTest::mouseClick(ui->ipv6GenerateUlaButton, Qt::LeftButton);
        const QString prefix = ui->ipv6PrefixEdit->text();
        QVERIFY2(prefix.startsWith("FD") && prefix != first && prefix == Stored() + "/48", qPrintable(prefix));
    }

    // A MAC and the page's /64 make the address; another length, or bad text, is said beside it.
    void addressFromMac_data()
    {
        AddColumns<int, QString, QString, QString>("prefixLength", "mac", "stored", "note");
        // clang-format off
        AddRow("/64, on Return", 64, QString("00:11:22:33:44:55"), QString("2001:DB8::211:22FF:FE33:4455"), QString());
        AddRow("/48, by the button", 48, QString("34-56-78-9a-bc-de"), QString("2001:DB8::3656:78FF:FE9A:BCDE"), QString("The prefix is /48, not /64: the address keeps its first 64 bits"));
        AddRow("a bad MAC", 64, QString("00:11:22:33:44"), QString("2001:DB8::1"), QString("Not a MAC address: write it as 00:11:22:33:44:55, 00-11-22-33-44-55 or 0011.2233.4455"));
        // clang-format on
    }
    void addressFromMac()
    {
        QFETCH(int, prefixLength);
        QFETCH(QString, mac);
        Choose(ui->ipv6PrefixLengthComboBox, prefixLength);
        TypeOver(ui->ipv6MacAddressEdit, mac);
        prefixLength == 64 ? QTest::keyClick(ui->ipv6MacAddressEdit, Qt::Key_Return)
                           : QTest::mouseClick(ui->ipv6AddressFromMacButton, Qt::LeftButton);
        QTEST(Stored(), "stored");
        QTEST(ui->ipv6SubnetsAddressEdit->text(), "stored");
        QTEST(ui->ipv6MacNoteLabel->isVisible() ? ui->ipv6MacNoteLabel->text() : QString(), "note");
    }

    // Rows copied from the far end of a window carry their true subnets.
    void copyAcrossTheWindow()
    {
        TypeOver(ui->ipv6SubnetsAddressEdit, "::");
        Choose(ui->ipv6PrefixLengthComboBox, 0);
        Choose(ui->ipv6SubnetLengthComboBox, 127);
        LargeTableView* view = ui->ipv6SubnetsTableView;
        // Pasted at once, the address moves the window from one end to the other; the
        // row numbers widen with their indices.
        const int narrow = view->viewport()->x();
        QApplication::clipboard()->setText("ffff:ffff:ffff:ffff:ffff:ffff:ffff:fffe");
        ui->ipv6SubnetsAddressEdit->selectAll();
        QTest::keyClick(ui->ipv6SubnetsAddressEdit, Qt::Key_V, Qt::ControlModifier);
        QVERIFY(view->viewport()->x() > narrow + 100);
        const int last = view->model()->rowCount() - 1;
        view->selectionModel()->select(QItemSelection(view->model()->index(last - 1, 0), view->model()->index(last, 2)),
                                       QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        view->setFocus();
        QTest::keySequence(view, QKeySequence::Copy);
        QCOMPARE(QApplication::clipboard()->text(),
                 "Subnet\tFirst Address\tLast Address\n"
                 "FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFC/127\tFFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFC\t"
                 "FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFD\n"
                 "FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFE/127\tFFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFE\t"
                 "FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF\n");
    }

    // A copy too large to paste is refused and offered as a file, written while the window goes on;
    // the clipboard keeps what it had, and a cancelled save leaves no file.
    void saveRows()
    {
        TypeOver(ui->ipv6SubnetsAddressEdit, "2001:db8::");
        Choose(ui->ipv6PrefixLengthComboBox, 64);
        Choose(ui->ipv6SubnetLengthComboBox, 128);
        LargeTableView* view = ui->ipv6SubnetsTableView;
        QTemporaryDir folder;
        QString title, text, path = folder.filePath("rows.tsv");
        QTimer answer; // plays the user in each dialog that opens
        connect(&answer, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                title = box->windowTitle(), text = box->text() + " " + box->informativeText();
                for (QAbstractButton* button : box->buttons())
                    if (box->buttonRole(button) == QMessageBox::AcceptRole) // "Save Rows…"
                        button->click();
            } else if (auto* files = qobject_cast<QFileDialog*>(modal)) {
                files->findChild<QLineEdit*>("fileNameEdit")->setText(path);
                static_cast<QDialog*>(files)->accept();
            } else if (auto* progress = qobject_cast<QProgressDialog*>(modal); progress && path.contains("cancel")) {
                progress->cancel();
            }
        });
        answer.start(20);
        QApplication::clipboard()->setText("kept");
        view->setFocus();
        view->selectionModel()->select(QItemSelection(view->model()->index(0, 0), view->model()->index(99999, 2)),
                                       QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        QTest::keySequence(view, QKeySequence::Copy);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(path) && !QApplication::activeModalWidget(), 20000);
        QCOMPARE(title + ": " + text, "Copy Failed: The 100,000 selected rows make about 3,700,034 characters of "
                                      "text, more than one copy holds (2,097,152). Save them to a file instead?");
        const QList<QByteArray> lines = ReadAll(path).split('\n');
        QCOMPARE(lines.size(), 100002); // the header, the rows, and nothing after the last line break
        QCOMPARE(lines[1] + "; " + lines[100000], "2001:DB8::/128\t2001:DB8::\t2001:DB8::; "
                                                  "2001:DB8::1:869F/128\t2001:DB8::1:869F\t2001:DB8::1:869F");
        path = folder.filePath("cancelled.tsv");
        QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
        view->findChild<QAction*>("ipv6SubnetsTableViewCopyAction")->trigger(); // no window active now
        QTRY_VERIFY(text.startsWith("The 2,147,483,647 selected rows") && !QApplication::activeModalWidget());
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"rows.tsv"});
        QCOMPARE(QApplication::clipboard()->text(), "kept");
    }
};

OCTETRY_WINDOW_TEST_MAIN(TstIPv6SubnetsTabController)

#include "tst_ipv6subnetstabcontroller.moc"
