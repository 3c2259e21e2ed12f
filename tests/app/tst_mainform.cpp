// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/buildconfig.h"
#include "app/mainform.h"
#include "common/formtestutil.h"
#include "ui_octetrymainform.h"
#include "widgets/itemviewcopier.h"
#include "widgets/largetableview.h"

namespace {

const char storedTabMode[] = "--stored-tab";

// Child process, as the store loads once per process: store a tab index, build the window, let the News page's
// thread finish, and print the current page, the index stored then and the pages written (each writes once).
int RunStoredTabCase(int storedIndex)
{
    QSettings().setValue(QStringLiteral("TabIndex"), storedIndex);
    MainForm form;
    for (QThread* thread : form.findChildren<QThread*>())
        thread->wait();
    QCoreApplication::sendPostedEvents();
    Ui::OctetryMainForm* ui = form.GetUi();
    // clang-format off
    const QStringList texts{ui->dottedDecEdit->text(), ui->classesAddressEdit->text(), ui->subnetsAddressEdit->text(),
        ui->cidrAddressEdit->text(), ui->ipv6AddressEdit->text().remove(QRegularExpression("[0:]")),
        ui->newsTextBrowser->toPlainText(), ui->ipv6SubnetsAddressEdit->text(), ui->listCountsLabel->text()};
    // clang-format on
    QStringList pages;
    for (int i = 0; i < texts.size(); ++i)
        if (!texts[i].isEmpty())
            pages << QString::number(i);
    QTextStream(stdout) << "page " << ui->tabWidget->currentIndex() << ", stored "
                        << MainForm::GetSettings()->GetTabIndex() << ", written " << pages.join(',');
    return 0;
}

} // namespace

class TstMainForm : public QObject
{
    Q_OBJECT

public slots:
    // What the program asks the desktop to open.
    void open(const QUrl& url) { m_urls << url; }

private slots:
    void initTestCase()
    {
        for (const char* scheme : {"http", "https", "mailto"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
        m_form.show();
        m_designedSize = m_form.size();
    }

    void init()
    {
        m_form.show();
        m_form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&m_form));
        m_urls.clear();
        QApplication::clipboard()->clear();
    }

    // Each table and the tree of the window copies its selected rows, as the copier below does.
    void windowViewsCopy()
    {
        MainForm::GetSettings()->SetIPv4Address(IPv4Address(0xac100509)); // 172.16.5.9 has subnets
        MainForm::GetSettings()->SetListA("10.0.0.0/8");
        for (QAbstractItemView* view : std::initializer_list<QAbstractItemView*>{
                 m_ui->subnetsTableView, m_ui->cidrTableView, m_ui->ipv6AddressTypeTreeView, m_ui->listResultView}) {
            m_ui->tabWidget->setCurrentWidget(view->parentWidget());
            const QModelIndex first = view->model()->index(0, 0);
            view->selectionModel()->select(first, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            view->setFocus();
            QApplication::clipboard()->clear();
            QTest::keySequence(view, QKeySequence::Copy);
            QVERIFY2(QApplication::clipboard()->text().section('\n', 1, 1).startsWith(first.data().toString() + '\t'),
                     qPrintable(view->objectName()));
        }
    }

    // Copy puts the whole selected rows, in the view's order, with its shown columns in order, under their headers.
    void copySelectedRows_data()
    {
        // view: table, reordered table or tree; cells: (column, row) of the cells rRcC selected; copied: "kept" if none
        AddColumns<QString, QList<QPoint>, QString>("view", "cells", "copied");
        AddRow("nothing selected leaves the clipboard", "table", QList<QPoint>{}, "kept");
        AddRow("rows picked bottom first, each whole once", "table", QList<QPoint>{{0, 4}, {2, 1}, {2, 4}},
               "A\tB\tC\nr1c0\tr1c1\tr1c2\nr4c0\tr4c1\tr4c2\n");
        AddRow("column C moved first, B hidden", "reordered table", QList<QPoint>{{0, 3}}, "C\tA\nr3c2\tr3c0\n");
        AddRow("tree: parent before child, root rows by path", "tree", QList<QPoint>{{0, 3}, {0, 1}, {0, 2}},
               "A\tB\tC\nr2c0\tr2c1\tr2c2\nr1c0\tr1c1\tr1c2\nr3c0\tr3c1\tr3c2\n");
    }
    void copySelectedRows()
    {
        QFETCH(QString, view);
        QFETCH(QList<QPoint>, cells);
        QStandardItemModel model(5, 3);
        model.setHorizontalHeaderLabels({"A", "B", "C"});
        for (int row = 0; row < 5; ++row)
            for (int column = 0; column < 3; ++column)
                model.setItem(row, column, new QStandardItem(QString("r%1c%2").arg(row).arg(column)));
        for (QStandardItem* parent = model.item(2, 0);
             view == "tree" && parent->rowCount() < 2;) // r0, r1 become children of r2
            parent->appendRow(model.takeRow(0));
        QWidget window;
        QAbstractItemView* itemView =
            view == "tree" ? static_cast<QAbstractItemView*>(new QTreeView(&window)) : new LargeTableView(&window);
        itemView->setModel(&model);
        if (view == "reordered table") {
            static_cast<LargeTableView*>(itemView)->horizontalHeader()->moveSection(2, 0);
            static_cast<LargeTableView*>(itemView)->horizontalHeader()->hideSection(1);
        }
        ItemViewCopier::Install(itemView);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        itemView->setFocus();
        for (const QPoint& cell : cells) {
            const QStandardItem* row = model.findItems(QString("r%1c0").arg(cell.y()), Qt::MatchRecursive).first();
            itemView->selectionModel()->select(row->index().siblingAtColumn(cell.x()), QItemSelectionModel::Select);
        }
        QApplication::clipboard()->setText("kept");
        QTest::keySequence(itemView, QKeySequence::Copy);
        QTEST(QApplication::clipboard()->text(), "copied");
    }

    // Each option's check mark follows the stored value, whoever writes it; a trigger flips the stored value.
    void optionToggles()
    {
        OctetrySettings* settings = MainForm::GetSettings();
        for (const bool subnetBit : {true, false}) {
            QAction* action = subnetBit ? m_ui->actionAllowOneSubnetBit : m_ui->actionAllowOneHostBit;
            QAction* other = subnetBit ? m_ui->actionAllowOneHostBit : m_ui->actionAllowOneSubnetBit;
            auto stored = [&] { return subnetBit ? settings->GetAllowOneSubnetBit() : settings->GetAllowOneHostBit(); };
            auto set = [&](bool on) {
                subnetBit ? settings->SetAllowOneSubnetBit(on) : settings->SetAllowOneHostBit(on);
            };
            auto state = [&] { return std::pair(stored(), action->isChecked()); }; // as stored, as the menu shows it
            set(false); // another writer moves the check mark, and only this one
            QCOMPARE(state(), std::pair(false, false));
            QVERIFY(other->isChecked());
            action->trigger();
            QCOMPARE(state(), std::pair(true, true));
            // The stored value decides, even when the check mark disagrees with it.
            action->setChecked(false);
            action->trigger();
            QCOMPARE(state(), std::pair(false, false));
            set(true);
            QVERIFY(action->isChecked());
        }
    }

    void helpAddresses()
    {
        QTest::mouseClick(m_ui->bannerLabel, Qt::RightButton);
        QTest::mousePress(m_ui->bannerLabel, Qt::LeftButton);
        QVERIFY(m_urls.isEmpty()); // only a left button's release opens the web site
        QTest::mouseRelease(m_ui->bannerLabel, Qt::LeftButton);
        m_ui->actionVisitWebsite->trigger();
        m_ui->actionEmailSupport->trigger();
        const QUrl site(OCTETRY_ORGANIZATION_URL);
        QCOMPARE(m_urls, (QList<QUrl>{site, site, QUrl("mailto:" OCTETRY_SUPPORT_EMAIL)}));
    }

    void bannerStaysCentred()
    {
        // The page contents set the window's smallest size; odd extra space tests the rounding.
        const QSize smallest = m_form.minimumSizeHint().expandedTo(m_form.minimumSize());
        for (const QSize& size : {smallest + QSize(91, 11), smallest, smallest + QSize(20, 190)}) {
            m_form.resize(size);
            QTRY_COMPARE(m_form.size(), size);
            const QSize banner = m_ui->bannerWidget->size();
            QTRY_COMPARE(m_ui->bannerLabel->pos(), QPoint((banner.width() - 280) / 2, (banner.height() - 86) / 2));
        }
    }

    void aboutBox()
    {
        MessageBoxCloser closer;
        m_ui->actionAbout->trigger();
        const QString text = closer.text;
        QCOMPARE(closer.title, QStringLiteral("Quorvane Octetry")); // the window's title
        QVERIFY2(text.contains(QRegularExpression("<p>Version: [0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+</p>")),
                 qPrintable(text));
        QVERIFY2(Qt::mightBeRichText(text) && text.contains("<h3>Quorvane Octetry</h3>")
                     && text.contains("(GPL-3.0-or-later)") && text.contains(QString("Qt ") + qVersion()),
                 qPrintable(text)); // a page, not its source, with the licence and the Qt it runs on
        QVERIFY(!text.startsWith(QChar(0xFEFF)));
    }

    void storedTabReopened_data()
    {
        AddColumns<int, QString>("stored", "reopened");
        QTest::newRow("-3 opens Conversions, which stores 0") << -3 << "page 0, stored 0, written 0";
        QTest::newRow("99 opens the current last page in place and keeps 99") << 99 << "page 7, stored 99, written 5";
        QTest::newRow("5 names News, still the last page") << 5 << "page 7, stored 5, written 5";
        QTest::newRow("7 names Lists, two pages before it") << 7 << "page 6, stored 7, written 7";
    }

    void storedTabReopened()
    {
        QFETCH(int, stored);
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {storedTabMode, QString::number(stored)});
        QVERIFY(child.waitForFinished(120000));
        QCOMPARE(child.exitCode(), 0);
        QTEST(QString(child.readAllStandardOutput()), "reopened");
    }

    void closingWritesTheLastChange_data()
    {
        AddColumns<bool, int>("byExit", "tab");
        QTest::newRow("File > Exit") << true << 4;
        QTest::newRow("window closed") << false << 1;
    }

    // Closing the window, whichever way, writes the change just made before it goes.
    void closingWritesTheLastChange()
    {
        QFETCH(bool, byExit);
        QFETCH(int, tab);
        m_ui->tabWidget->setCurrentIndex(tab);
        byExit ? m_ui->actionExit->trigger() : void(m_form.close());
        QVERIFY(!m_form.isVisible());
        QVERIFY(ReadAll(QSettings().fileName()).contains("TabIndex=" + QByteArray::number(tab) + "\n"));
    }

    // The window reopens at its last place, size and state; one from a larger screen is pulled onto this one.
    void geometryRestoredAndClamped()
    {
        const QRect screen = m_form.screen()->availableGeometry();
        auto reopened = [](const QByteArray& geometry) {
            MainForm::GetSettings()->SetWindowGeometry(geometry);
            auto form = std::make_unique<MainForm>();
            form->show();
            return form;
        };
        m_form.setGeometry(screen.x() + 30, screen.y() + 40, 500, 420);
        m_form.close();
        QCOMPARE(reopened(MainForm::GetSettings()->GetWindowGeometry())->geometry(), m_form.geometry());

        QWidget larger;
        larger.setGeometry(screen.right() + 900, screen.bottom() + 700, screen.width() * 2, screen.height() * 2);
        QVERIFY(screen.contains(reopened(larger.saveGeometry())->frameGeometry()));
        QByteArray far; // a damaged file's place at the end of int
        const QRect end(QPoint(INT_MIN, INT_MIN), QSize(2000, 2000));
        QDataStream(&far, QIODevice::WriteOnly) << 0x1D9D0CB << quint16(3) << quint16(0) << end << end << 0 << quint8(0)
                                                << quint8(0) << screen.width() << end;
        QVERIFY(screen.contains(reopened(far)->frameGeometry()));

        QCOMPARE(reopened({})->size(), m_designedSize); // a file without the key, as before
        m_form.showMaximized();
        m_form.close();
        QVERIFY(reopened(MainForm::GetSettings()->GetWindowGeometry())->isMaximized());
    }

    void cleanupTestCase()
    {
        for (const char* scheme : {"http", "https", "mailto"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }

private:
    MainForm m_form;
    Ui::OctetryMainForm* m_ui = m_form.GetUi();
    QList<QUrl> m_urls;
    QSize m_designedSize;
};

int main(int argc, char** argv)
{
    TestEnvironment env;
    QApplication app(argc, argv);
    BrandingUtil::SetApplicationIdentity();
    if (argc == 3 && qstrcmp(argv[1], storedTabMode) == 0)
        return RunStoredTabCase(QByteArray(argv[2]).toInt());
    // Exit closes the last window; the test carries on afterwards.
    QApplication::setQuitOnLastWindowClosed(false);
    TstMainForm test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mainform.moc"
