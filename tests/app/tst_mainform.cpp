#include "app/brandingutil.h"
#include "app/buildconfig.h"
#include "app/mainform.h"
#include "common/formtestutil.h"
#include "common/testenvironment.h"
#include "ui_octetrymainform.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTest>
#include <QThread>
#include <QTimer>

namespace {

const char storedTabMode[] = "--stored-tab";

// Child process, as the store loads once per process: store a tab index, build
// the window, let the News page's thread finish, and print the current page,
// the stored index and the pages written (each writes its address or text once).
int RunStoredTabCase(int argc, char** argv, int storedIndex)
{
    TestEnvironment env;
    QApplication app(argc, argv);
    BrandingUtil::SetApplicationIdentity();
    QSettings().setValue(QStringLiteral("TabIndex"), storedIndex);
    MainForm form;
    for (QThread* thread : form.findChildren<QThread*>())
        thread->wait();
    QCoreApplication::sendPostedEvents();
    Ui::OctetryMainForm* ui = form.GetUi();
    const QStringList texts{ui->dottedDecEdit->text(),
                            ui->classesAddressEdit->text(),
                            ui->subnetsAddressEdit->text(),
                            ui->cidrAddressEdit->text(),
                            ui->ipv6AddressEdit->text().remove(QRegularExpression("[0:]")),
                            ui->newsTextBrowser->toPlainText()};
    QStringList pages;
    for (int i = 0; i < texts.size(); ++i)
        if (!texts[i].isEmpty())
            pages << QString::number(i);
    QTextStream(stdout) << ui->tabWidget->currentIndex() << ' ' << MainForm::GetSettings()->GetTabIndex() << ' '
                        << pages.join(',');
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
        m_form = new MainForm;
        m_ui = m_form->GetUi();
        m_form->show();
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form));
    }

    void init()
    {
        m_urls.clear();
        QApplication::clipboard()->clear();
    }

    void branding()
    {
        QCOMPARE(BrandingUtil::Apply("%BRAND_APPLICATION_NAME%|%BRAND_ORGANIZATION%|%BRAND_ORGANIZATION_DOMAIN%|"
                                     "%BRAND_ORGANIZATION_URL%|%BRAND_REMOTE_NEWS_URL%|%BRAND_SUPPORT_EMAIL%|"
                                     "%BRAND_SUPPORT_EMAIL_TEXT%|%BRAND_ORGANIZATION%"),
                 "Octetry|Quorvane|" OCTETRY_ORGANIZATION_DOMAIN "|" OCTETRY_ORGANIZATION_URL
                 "|" OCTETRY_REMOTE_NEWS_URL "|" OCTETRY_SUPPORT_EMAIL "|Quorvane|Quorvane");
    }

    // By the copy shortcut, which each view of the window gets.
    void copySelectedRows_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("view");
        QTest::newRow("subnets table") << 2 << "subnetsTableView";
        QTest::newRow("CIDR table") << 3 << "cidrTableView";
        QTest::newRow("IPv6 tree") << 4 << "ipv6AddressTypeTreeView";
    }

    void copySelectedRows()
    {
        QFETCH(int, page);
        QFETCH(QString, view);
        m_ui->tabWidget->setCurrentIndex(page);
        auto* itemView = m_form->findChild<QAbstractItemView*>(view);
        TypeOver(m_ui->subnetsAddressEdit, "172.16.5.9");
        TypeOver(m_ui->cidrAddressEdit, "172.16.5.9");
        m_ui->addressBlockMaskComboBox->setCurrentText("255.255.0.0   (/16)");
        m_ui->cidrBitsComboBox->setCurrentText("4");
        const QAbstractItemModel* model = itemView->model();
        itemView->clearSelection(); // the page selects its address's row
        for (int row : {2, 0})
            itemView->selectionModel()->select(model->index(row, 0),
                                               QItemSelectionModel::Select | QItemSelectionModel::Rows);
        itemView->setFocus();
        QTest::keySequence(itemView, QKeySequence::Copy);
        const QStringList lines = QApplication::clipboard()->text().split('\n');
        QCOMPARE(lines.size(), 4);
        QVERIFY(lines[1].startsWith(model->index(0, 0).data().toString() + '\t'));
        QVERIFY(lines[2].startsWith(model->index(2, 0).data().toString() + '\t'));
    }

    void optionToggles_data()
    {
        QTest::addColumn<bool>("subnetBit");
        QTest::newRow("Allow 1 Subnet Bit") << true;
        QTest::newRow("Allow 1 Host Bit") << false;
    }

    void optionToggles()
    {
        QFETCH(bool, subnetBit);
        OctetrySettings* settings = MainForm::GetSettings();
        QAction* action = subnetBit ? m_ui->actionAllowOneSubnetBit : m_ui->actionAllowOneHostBit;
        QAction* other = subnetBit ? m_ui->actionAllowOneHostBit : m_ui->actionAllowOneSubnetBit;
        auto stored = [&] { return subnetBit ? settings->GetAllowOneSubnetBit() : settings->GetAllowOneHostBit(); };
        auto store = [&](bool on) {
            subnetBit ? settings->SetAllowOneSubnetBit(on) : settings->SetAllowOneHostBit(on);
        };

        auto state = [&] { return QString("stored %1, checked %2").arg(stored()).arg(action->isChecked()); };

        store(false); // another writer moves the check mark, and only this one
        QCOMPARE(state(), "stored 0, checked 0");
        QVERIFY(other->isChecked());
        action->trigger();
        QCOMPARE(state(), "stored 1, checked 1");
        // The stored value decides, even when the check mark disagrees with it.
        action->setChecked(false);
        action->trigger();
        QCOMPARE(state(), "stored 0, checked 0");
        store(true);
        QVERIFY(action->isChecked());
    }

    void helpAddresses()
    {
        QTest::mouseClick(m_ui->bannerLabel, Qt::RightButton);
        QTest::mousePress(m_ui->bannerLabel, Qt::LeftButton);
        QVERIFY(m_urls.isEmpty()); // only a left button's release opens the web site
        QTest::mouseRelease(m_ui->bannerLabel, Qt::LeftButton);
        m_ui->actionVisitWebsite->trigger();
        m_ui->actionEmailSupport->trigger();
        QCOMPARE(m_ui->actionVisitWebsite->text(), QStringLiteral("Visit the Quorvane &Website..."));
        const QUrl site(OCTETRY_ORGANIZATION_URL);
        QCOMPARE(m_urls, (QList<QUrl>{site, site, QUrl("mailto:" OCTETRY_SUPPORT_EMAIL)}));
    }

    void bannerStaysCentred()
    {
        // The page contents set the window's smallest size; odd extra space tests the rounding.
        const QSize smallest = m_form->minimumSizeHint().expandedTo(m_form->minimumSize());
        for (const QSize& size : {smallest + QSize(91, 11), smallest, smallest + QSize(20, 190)}) {
            m_form->resize(size);
            QTRY_COMPARE(m_form->size(), size);
            const QSize banner = m_ui->bannerWidget->size();
            QTRY_COMPARE(m_ui->bannerLabel->pos(), QPoint((banner.width() - 280) / 2, (banner.height() - 86) / 2));
        }
    }

    void aboutBox()
    {
        QString title, text;
        // The box is modal; close it from inside its own event loop.
        std::function<void()> closeBox = [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return QTimer::singleShot(20, closeBox);
            title = box->windowTitle();
            text = box->text();
            box->accept();
        };
        QTimer::singleShot(0, closeBox);
        m_ui->actionAbout->trigger();

        QCOMPARE(title, QStringLiteral("Quorvane Octetry")); // the window's title
        QVERIFY2(text.contains(QStringLiteral("<h3>Quorvane Octetry</h3>")), qPrintable(text));
        QVERIFY2(text.contains(QRegularExpression("<p>Version: [0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+</p>")),
                 qPrintable(text));
        QVERIFY(!text.startsWith(QChar(0xFEFF)));
    }

    void storedTabReopened_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("report"); // current page, stored index, pages written
        QTest::newRow("5, the current News page, is written in place") << 5 << "5 5 5";
        QTest::newRow("2 opens Subnets") << 2 << "2 2 2";
        QTest::newRow("-3 opens Conversions, which stores 0") << -3 << "0 0 0";
        QTest::newRow("99 stays on the last page") << 99 << "5 99 5";
    }

    void storedTabReopened()
    {
        QFETCH(int, stored);
        QFETCH(QString, report);
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {storedTabMode, QString::number(stored)});
        QVERIFY(child.waitForFinished(120000));
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(QString::fromLatin1(child.readAllStandardOutput()), report);
    }

    void exitClosesTheWindow()
    {
        QVERIFY(m_form->isVisible());
        m_ui->actionExit->trigger();
        QVERIFY(!m_form->isVisible());
    }

    void cleanupTestCase()
    {
        for (const char* scheme : {"http", "https", "mailto"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
        delete m_form;
    }

private:
    MainForm* m_form = nullptr;
    Ui::OctetryMainForm* m_ui = nullptr;
    QList<QUrl> m_urls;
};

int main(int argc, char** argv)
{
    if (argc == 3 && qstrcmp(argv[1], storedTabMode) == 0)
        return RunStoredTabCase(1, argv, QByteArray(argv[2]).toInt());
    TestEnvironment env;
    QApplication app(argc, argv);
    BrandingUtil::SetApplicationIdentity();
    // Exit closes the last window; the test carries on afterwards.
    QApplication::setQuitOnLastWindowClosed(false);
    TstMainForm test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mainform.moc"
