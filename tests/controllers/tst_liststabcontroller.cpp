// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainform.h"
#include "common/formtestutil.h"
#include "controllers/liststabcontroller.h"
#include "ui_octetrymainform.h"
#include "widgets/largetableview.h"

class TstListsTabController : public QObject
{
    Q_OBJECT
    MainForm form;
    Ui::OctetryMainForm* ui = form.GetUi();
    ListsTabController* controller = static_cast<ListsTabController*>(form.FindTabController(ui->listsTab));
    static OctetrySettings* Settings() { return OctetrySettings::Instance(); }

    static void Type(QPlainTextEdit* edit, const QString& text)
    {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        const QStringList lines = text.split('\n');
        for (qsizetype n = 0; n < lines.size(); ++n) {
            if (n > 0)
                QTest::keyClick(edit, Qt::Key_Return);
            QTest::keyClicks(edit, lines[n]);
        }
    }

    // The result as the user reads it: its rows' first cells, the counts, the problems and the note.
    QString Page() const
    {
        QStringList rows, problems;
        for (int row = 0; row < std::min(ui->listResultView->model()->rowCount(), 6); ++row)
            rows << ui->listResultView->model()->index(row, 0).data().toString();
        const QAbstractItemModel* problemModel = ui->listProblemsView->model();
        for (int row = 0; row < problemModel->rowCount(); ++row)
            problems << QString("%1%2 %3: %4")
                            .arg(problemModel->index(row, 0).data().toString(),
                                 problemModel->index(row, 1).data().toString(),
                                 problemModel->index(row, 2).data().toString(),
                                 problemModel->index(row, 3).data().toString());
        return QString("%1 | %2 | %3 | %4")
            .arg(rows.join(", "), ui->listCountsLabel->text(), problems.join("; "),
                 ui->listNoteLabel->isVisibleTo(&form) ? ui->listNoteLabel->text() : "");
    }

private slots:
    void init()
    {
        form.show();
        ui->tabWidget->setCurrentWidget(ui->listsTab);
        ui->listOperationComboBox->setCurrentIndex(0);
        ui->listSplitIPv4ComboBox->setCurrentIndex(0);
        ui->listSplitIPv6ComboBox->setCurrentIndex(0);
        ui->listBEdit->clear();
    }

    // Each operation follows the lists as typed, with its counts and each list's problems by line.
    void resultFollowsTyping_data()
    {
        AddColumns<QString, QString, int, int, int, QString>("a", "b", "operation", "split4", "split6", "page");
        // clang-format off
        AddRow("merge: adjacent halves, a duplicate, a comment, a bad line", QString("10.0.0.0/25, 10.0.0.128/25\n10.0.0.1 # inside\n10.0.0.256\n2001:db8::/33 2001:db8:8000::/33"), QString(), 0, -1, -1,
               QString("10.0.0.0/24, 2001:DB8::/32 | Items read: 5 in A, 0 in B. Addresses: 256 IPv4, 79,228,162,514,264,337,593,543,950,336 IPv6. Rows: 2. | A3 10.0.0.256: not an address | "));
        AddRow("minus, split into the free /26s", QString("192.168.0.0/24"), QString("192.168.0.64/26"), 1, 26, -1,
               QString("192.168.0.0/26, 192.168.0.128/26, 192.168.0.192/26 | Items read: 1 in A, 1 in B. Addresses: 192 IPv4, 0 IPv6. Rows: 3. |  | "));
        AddRow("and, with host bits reported", QString("10.1.2.3/8"), QString("10.0.0.0 - 10.0.0.9"), 2, -1, -1,
               QString("10.0.0.0/29, 10.0.0.8/31 | Items read: 1 in A, 1 in B. Addresses: 10 IPv4, 0 IPv6. Rows: 2. | A1 10.1.2.3/8: host bits set: counted as 10.0.0.0/8 | "));
        AddRow("::/0 split into /128: a window of the rows", QString("::/0"), QString(), 3, -1, 128,
               QString("::/128, ::1/128, ::2/128, ::3/128, ::4/128, ::5/128 | Items read: 1 in A, 0 in B. Addresses: 0 IPv4, 340,282,366,920,938,463,463,374,607,431,768,211,456 IPv6. Rows: 340,282,366,920,938,463,463,374,607,431,768,211,456. |  | The first 2,147,483,647 rows are shown."));
        AddRow("ranges", QString("10.0.0.5-10.0.0.100 10.0.0.101"), QString(), 6, -1, -1,
               QString("10.0.0.5 - 10.0.0.101 | Items read: 2 in A, 0 in B. Addresses: 97 IPv4, 0 IPv6. Rows: 1. |  | "));
        // clang-format on
    }
    void resultFollowsTyping()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, operation);
        QFETCH(int, split4);
        QFETCH(int, split6);
        Type(ui->listBEdit, b);
        Type(ui->listAEdit, a);
        ui->listOperationComboBox->setCurrentIndex(operation);
        ui->listSplitIPv4ComboBox->setCurrentIndex(split4 + 1);
        ui->listSplitIPv6ComboBox->setCurrentIndex(split6 + 1);
        QTEST(Page(), "page");
        QCOMPARE(Settings()->GetListA() + "|" + Settings()->GetListB(), a + "|" + b);
        QCOMPARE(QList<int>(
                     {Settings()->GetListOperation(), Settings()->GetListSplitIPv4(), Settings()->GetListSplitIPv6()}),
                 QList<int>({operation, split4, split6}));
    }

    // A long list is worked on off the window's thread, with progress; a newer change drops the older work.
    void longListWorkedOffThreadAndCancelled()
    {
        QString many;
        for (int n = 0; n < 200000; ++n)
            many += QString("10.%1.%2.0/24\n").arg(n >> 8 & 255).arg(n & 255);
        Type(ui->listAEdit, "192.0.2.0/24");
        ui->listAEdit->setPlainText(many + "11.0.0.0/8");      // 10.0.0.0/8 once the second octet wraps
        QCOMPARE(Page().section(" | ", 0, 0), "192.0.2.0/24"); // the page waits for the work's thread
        Type(ui->listAEdit, "172.16.0.0/12");
        QTest::qWait(500); // long enough for the dropped work to end, which must not show
        QCOMPARE(Page().section(" | ", 0, 0), "172.16.0.0/12");
        QVERIFY(!ui->listWorkingLabel->isVisibleTo(&form));
        ui->listAEdit->setPlainText(many + many); // over 1 MiB: kept, not stored
        QTRY_COMPARE_WITH_TIMEOUT(Page().section(" | ", 0, 0), "10.0.0.0/8", 20000);
        QVERIFY2(Page().contains("List A (5.8 MiB) is kept until Octetry quits, but not stored"), qPrintable(Page()));
        QCOMPARE(Settings()->GetListA(), QString());
    }

    // A list of up to 1 MiB is stored; one a byte longer is kept until the program quits.
    void storedUpToAMebibyte()
    {
        const QString mebibyte = QString("10.0.0.0/8\n").repeated(1024 * 1024 / 11) + "#";
        QCOMPARE(mebibyte.size(), 1024 * 1024);
        ui->listAEdit->setPlainText(mebibyte);
        QCOMPARE(Settings()->GetListA(), mebibyte);
        ui->listAEdit->setPlainText(mebibyte + "#");
        QCOMPARE(Settings()->GetListA(), QString());
        QTRY_VERIFY(Page().contains("List A (1.0 MiB) is kept until Octetry quits"));
    }

    // A list opened from a file, or dropped, and the result saved as text and CSV; a failure says why.
    void openAndSave()
    {
        QTemporaryDir folder;
        const QString list = folder.filePath("list.txt");
        QVERIFY(WriteAll(list, "10.0.0.0/9\n10.128.0.0/9\n"));
        controller->OpenList(0, list);
        QTRY_COMPARE(Page().section(" | ", 0, 0), "10.0.0.0/8");
        QVERIFY(controller->SaveResult(folder.filePath("r.txt")) && controller->SaveResult(folder.filePath("r.csv")));
        QCOMPARE(ReadAll(folder.filePath("r.txt")), "10.0.0.0/8\n");
        QCOMPARE(ReadAll(folder.filePath("r.csv")),
                 "Prefix,First Address,Last Address,Addresses\r\n10.0.0.0/8,10.0.0.0,10.255.255.255,16777216\r\n");
        MessageBoxCloser closer;
        QVERIFY(!controller->SaveResult(folder.filePath("none/r.txt")));
        controller->OpenList(1, folder.filePath("none"));
        QTRY_COMPARE(closer.count, 2);
        QCOMPARE(closer.title + ": " + closer.text.section(':', 0, 0),
                 "Open List B: " + folder.filePath("none") + " could not be read");

        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(list)});
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {}); // taken once its enter is
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(ui->listBEdit->viewport(), &enter);
        QApplication::sendEvent(ui->listBEdit->viewport(), &drop);
        QTRY_COMPARE(ui->listBEdit->toPlainText(), "10.0.0.0/9\n10.128.0.0/9\n");
        // Two files at once are the edit's own business (it inserts their names): neither is read.
        const QString other = folder.filePath("other.txt");
        QVERIFY(WriteAll(other, "192.0.2.0/24\n"));
        data.setUrls({QUrl::fromLocalFile(other), QUrl::fromLocalFile(other)});
        QApplication::sendEvent(ui->listBEdit->viewport(), &enter);
        QApplication::sendEvent(ui->listBEdit->viewport(), &drop);
        QTest::qWait(200);
        QVERIFY(ui->listBEdit->toPlainText().endsWith("other.txt\n10.0.0.0/9\n10.128.0.0/9\n"));

        // Binary data stays out of the edit, which it would freeze, and is still read; typing replaces it.
        QVERIFY(WriteAll(list, QByteArray("10.0.0.0/8\n\0\xff\n", 14)));
        controller->OpenList(0, list);
        QTRY_VERIFY(Page().contains("binary"));
        QVERIFY(ui->listAEdit->toPlainText().isEmpty());
        QCOMPARE(Page().section(" | ", 2), "A2 ?\xef\xbf\xbd: not an address | List A is read from " + list
                                               + " (0.0 MiB) and not shown in its editor: it holds binary data. "
                                                 "Typing into the editor replaces it.");
        Type(ui->listAEdit, "::1");
        QCOMPARE(Page().section(" | ", 0, 0) + Page().section(" | ", 3), "::1/128");

        // A line the edit could not lay out quickly keeps the file out of it, found at its line; one byte less does
        // not.
        const QByteArray longest(16384, 'a');
        QVERIFY(WriteAll(list, "10.0.0.0/8\n" + longest + "\n" + longest + "a"));
        controller->OpenList(0, list);
        QTRY_VERIFY(Page().contains("line 3 is longer than 16384 characters"));
        QVERIFY(WriteAll(list, "10.0.0.0/8\n" + longest + "\n" + longest));
        controller->OpenList(0, list);
        QTRY_COMPARE(ui->listAEdit->toPlainText().size(), 2 * longest.size() + 12);
    }

    // A long file goes into its edit slice by slice, after its result; a change meanwhile
    // computes the whole file still, and the edit ends up holding it exactly.
    void longFileFilledInSlices()
    {
        QByteArray text;
        for (int n = 0; n < 1000000; ++n)
            text += "10." + QByteArray::number(n >> 16) + '.' + QByteArray::number(n >> 8 & 255) + '.'
                    + QByteArray::number(n & 255) + (n % 1000 == 0 ? "/32\r\n" : "/32\n");
        text += "10.0.0.256\n192.0.2.0/24";
        QTemporaryDir folder;
        const QString list = folder.filePath("long.txt");
        QVERIFY(WriteAll(list, text));
        controller->OpenList(0, list);
        QTRY_VERIFY_WITH_TIMEOUT(ui->listAEdit->isReadOnly() && !ui->listAEdit->document()->isEmpty(), 20000);
        ui->listOperationComboBox->setCurrentIndex(static_cast<int>(ListOperation::RangesOfA));
        const QString whole = "10.0.0.0 - 10.15.66.63, 192.0.2.0 - 192.0.2.255 | Items read: 1,000,001 in A, 0 in B. "
                              "Addresses: 1,000,256 IPv4, 0 IPv6. Rows: 2. | A1000001 10.0.0.256: not an address";
        QTRY_COMPARE_WITH_TIMEOUT(Page().section(" | ", 0, 2), whole, 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!ui->listAEdit->isReadOnly(), 60000);
        QCOMPARE(ui->listAEdit->toPlainText(), QString::fromLatin1(text).replace("\r\n", "\n"));
        QCOMPARE(ui->listAEdit->document()->isUndoAvailable(), false);
        QCOMPARE(Page().section(" | ", 0, 2), whole);
    }
};

OCTETRY_WINDOW_TEST_MAIN(TstListsTabController)

#include "tst_liststabcontroller.moc"
