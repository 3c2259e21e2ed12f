#include <QAbstractScrollArea>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QSettings>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTextStream>
#include <QThread>

#include "app/brandingutil.h"
#include "app/mainform.h"
#include "common/testenvironment.h"
#include "controllers/tabcontroller.h"
#include "settings/octetrysettings.h"

namespace {

const char storedTabMode[] = "--stored-tab";

// Whether each page's controller has written its view: every page writes its
// address (or, for the News page, its text) on its first update.
QStringList UpdatedPages(Ui::OctetryMainForm* ui)
{
    QStringList pages;
    if (!ui->dottedDecEdit->text().isEmpty())
        pages << "0";
    if (!ui->classesAddressEdit->text().isEmpty())
        pages << "1";
    if (!ui->subnetsAddressEdit->text().isEmpty())
        pages << "2";
    if (!ui->cidrAddressEdit->text().isEmpty())
        pages << "3";
    if (ui->ipv6AddressEdit->text() != QLatin1String("0000:0000:0000:0000:0000:0000:0000:0000"))
        pages << "4";
    if (!ui->newsTextBrowser->toPlainText().isEmpty())
        pages << "5";
    return pages;
}

// Child process: store a tab index before the settings store exists, build
// the window and report what it did.
int RunStoredTabCase(int argc, char** argv, int storedIndex)
{
    TestEnvironment env;
    QApplication app(argc, argv);
    BrandingUtil::SetApplicationIdentity();
    {
        QSettings settings;
        settings.setValue(QStringLiteral("TabIndex"), storedIndex);
    }
    MainForm form;
    Ui::OctetryMainForm* ui = form.GetUi();
    // The News page is prepared on a thread; let it finish and be shown.
    for (QThread* thread : form.findChildren<QThread*>())
        thread->wait();
    QCoreApplication::sendPostedEvents();
    QStringList controllers;
    for (int i = 0; i < ui->tabWidget->count(); ++i) {
        if (form.FindTabController(ui->tabWidget->widget(i)))
            controllers << QString::number(i);
    }
    QTextStream out(stdout);
    out << "current " << ui->tabWidget->currentIndex() << '\n'
        << "stored " << MainForm::GetSettings()->GetTabIndex() << '\n'
        << "controllers " << controllers.join(',') << '\n'
        << "updated " << UpdatedPages(ui).join(',') << '\n';
    return 0;
}

} // namespace

class TstMainForm : public QObject
{
    Q_OBJECT

private slots:
    void formBeforeControllers();
    void windowTitle();
    void objectNames_data();
    void objectNames();
    void buddies_data();
    void buddies();
    void focusChain();
    void bitUsageViewportsShowTextCursor();
    void findTabController();
    void resources_data();
    void resources();
    void aboutTemplateIsUtf8WithByteOrderMark();
    void storedTabReopened_data();
    void storedTabReopened();
    void cleanupTestCase();

private:
    MainForm* Form();
    MainForm* m_form = nullptr;
};

MainForm* TstMainForm::Form()
{
    if (!m_form)
        m_form = new MainForm;
    return m_form;
}

void TstMainForm::formBeforeControllers()
{
    QMainWindow window;
    Ui::OctetryMainForm ui;
    ui.setupUi(&window);
    QCOMPARE(window.objectName(), QStringLiteral("OctetryMainForm"));
    QCOMPARE(window.windowTitle(), QStringLiteral("OctetryMainForm"));
    QCOMPARE(window.size(), QSize(391, 508));
    QCOMPARE(ui.tabWidget->currentIndex(), 5);
    QCOMPARE(ui.tabWidget->currentWidget(), ui.newsTab);
    QCOMPARE(ui.tabWidget->tabText(5), QStringLiteral("%BRAND_ORGANIZATION%"));
    QCOMPARE(ui.actionVisitWebsite->text(), QStringLiteral("Visit the %BRAND_ORGANIZATION% &Website..."));
    QCOMPARE(ui.bannerLabel->geometry(), QRect(0, 0, 280, 86));
    QCOMPARE(ui.bannerLabel->pixmap().size(), QSize(280, 75));

    const QStringList titles{"Conversions", "Classes", "Subnets", "CIDR", "IPv6"};
    for (int i = 0; i < titles.size(); ++i)
        QCOMPARE(ui.tabWidget->tabText(i), titles[i]);

    const QList<QAction*> help = ui.menuHelp->actions();
    QCOMPARE(help.size(), 4);
    QCOMPARE(help[0], ui.actionVisitWebsite);
    QCOMPARE(help[1], ui.actionEmailSupport);
    QVERIFY(help[2]->isSeparator());
    QCOMPARE(help[3], ui.actionAbout);
    QCOMPARE(ui.menuOptions->actions(), (QList<QAction*>{ui.actionAllowOneSubnetBit, ui.actionAllowOneHostBit}));
    QCOMPARE(ui.menuFile->actions(), QList<QAction*>{ui.actionExit});
    QVERIFY(ui.actionAllowOneSubnetBit->isCheckable());
    QVERIFY(ui.actionAllowOneHostBit->isCheckable());
    QCOMPARE(ui.actionExit->menuRole(), QAction::QuitRole);
    QCOMPARE(ui.actionExit->shortcutContext(), Qt::ApplicationShortcut);
    QCOMPARE(ui.actionAbout->menuRole(), QAction::AboutRole);
}

void TstMainForm::windowTitle()
{
    QCOMPARE(Form()->windowTitle(), QStringLiteral("Quorvane Octetry"));
}

void TstMainForm::objectNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");

    const QList<QPair<const char*, QStringList>> byClass{
        {"QWidget",
         {"centralWidget", "bannerWidget", "conversionsTab", "classesTab", "subnetsTab", "cidrTab", "ipv6Tab", "newsTab",
          "conversionsAddressWidget", "octContainerWidget", "classesAddressWidget", "subnetsAddressWidget",
          "cidrAddressWidget", "cidrBitsLayoutWidget", "cidrMaskLayoutWidget", "ipv6AddressWidget"}},
        {"QTabWidget", {"tabWidget"}},
        {"QLineEdit",
         {"dottedDecEdit", "decEdit", "dottedHexEdit", "hexEdit", "dottedBinEdit", "binEdit", "dottedOctEdit", "octEdit",
          "multicastEdit", "classesAddressEdit", "classAddressRangeEdit", "subnetsAddressEdit", "cidrAddressEdit",
          "addressBlockRangeEdit", "ipv6AddressEdit"}},
        {"QToolButton",
         {"conversionsAddressToolButton", "classesAddressToolButton", "subnetsAddressToolButton",
          "cidrAddressToolButton", "ipv6AddressToolButton"}},
        {"QComboBox",
         {"classesComboBox", "subnetsMaskComboBox", "subnetBitsComboBox", "maxSubnetsComboBox", "hostBitsComboBox",
          "maxHostsComboBox", "addressBlockMaskComboBox", "cidrBitsComboBox", "cidrMaxNetworksComboBox",
          "cidrMaskComboBox"}},
        {"QTextBrowser", {"classBitUsageEdit", "subnetsBitUsageEdit", "cidrBitUsageEdit", "newsTextBrowser"}},
        {"QTableView", {"subnetsTableView", "cidrTableView"}},
        {"QTreeView", {"ipv6AddressTypeTreeView"}},
        {"QGraphicsView", {"ipv6GraphicsView"}},
        {"QLabel",
         {"bannerLabel", "dottedDecLabel", "decLabel", "dottedHexLabel", "hexLabel", "dottedBinLabel", "binLabel",
          "dottedOctLabel", "octLabel", "multicastLabel", "classesAddressLabel", "classLabel", "classAddressRangeLabel",
          "classBitUsageLabel", "subnetsAddressLabel", "subnetsMaskLabel", "subnetBitsLabel", "maxSubnetsLabel",
          "hostBitsLabel", "maxHostsLabel", "subnetsBitUsageLabel", "subnetsTableLabel", "cidrAddressLabel",
          "addressBlockMaskLabel", "addressBlockRangeLabel", "cidrBitsLabel", "cidrMaxNetworksLabel", "cidrMaskLabel",
          "cidrBitUsageLabel", "cidrTableLabel", "ipv6AddressLabel", "ipv6AddressTypeLabel",
          "ipv6AddressFormatLabel"}},
        {"QMenuBar", {"menuBar"}},
        {"QMenu", {"menuFile", "menuOptions", "menuHelp"}},
        {"QAction",
         {"actionExit", "actionAllowOneSubnetBit", "actionAllowOneHostBit", "actionVisitWebsite",
          "actionEmailSupport", "actionAbout"}},
    };
    for (const auto& [className, names] : byClass) {
        for (const QString& name : names)
            QTest::addRow("%s is a %s", qPrintable(name), className) << name << QString::fromLatin1(className);
    }
}

void TstMainForm::objectNames()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    const QList<QObject*> found = Form()->findChildren<QObject*>(name);
    QCOMPARE(found.size(), 1);
    QCOMPARE(QString::fromLatin1(found.first()->metaObject()->className()), className);
}

void TstMainForm::buddies_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("buddy");
    const QList<QPair<const char*, const char*>> pairs{
        {"dottedDecLabel", "dottedDecEdit"},
        {"decLabel", "decEdit"},
        {"dottedHexLabel", "dottedHexEdit"},
        {"hexLabel", "hexEdit"},
        {"dottedBinLabel", "dottedBinEdit"},
        {"binLabel", "binEdit"},
        {"dottedOctLabel", "dottedOctEdit"},
        {"octLabel", "octEdit"},
        {"multicastLabel", "multicastEdit"},
        {"classesAddressLabel", "classesAddressEdit"},
        {"classLabel", "classesComboBox"},
        {"classAddressRangeLabel", "classAddressRangeEdit"},
        {"classBitUsageLabel", "classBitUsageEdit"},
        {"subnetsAddressLabel", "subnetsAddressEdit"},
        {"subnetsMaskLabel", "subnetsMaskComboBox"},
        {"subnetBitsLabel", "subnetBitsComboBox"},
        {"maxSubnetsLabel", "maxSubnetsComboBox"},
        {"hostBitsLabel", "hostBitsComboBox"},
        {"maxHostsLabel", "maxHostsComboBox"},
        {"subnetsBitUsageLabel", "subnetsBitUsageEdit"},
        {"subnetsTableLabel", "subnetsTableView"},
        {"cidrAddressLabel", "cidrAddressEdit"},
        {"addressBlockMaskLabel", "addressBlockMaskComboBox"},
        {"addressBlockRangeLabel", "addressBlockRangeEdit"},
        {"cidrBitsLabel", "cidrBitsComboBox"},
        {"cidrMaxNetworksLabel", "cidrMaxNetworksComboBox"},
        {"cidrMaskLabel", "cidrMaskComboBox"},
        {"cidrBitUsageLabel", "cidrBitUsageEdit"},
        {"cidrTableLabel", "cidrTableView"},
        {"ipv6AddressLabel", "ipv6AddressEdit"},
        {"ipv6AddressTypeLabel", "ipv6AddressTypeTreeView"},
        {"ipv6AddressFormatLabel", "ipv6GraphicsView"},
    };
    for (const auto& [label, buddy] : pairs)
        QTest::addRow("%s moves to %s", label, buddy) << label << buddy;
}

void TstMainForm::buddies()
{
    QFETCH(QString, label);
    QFETCH(QString, buddy);
    auto* labelWidget = Form()->findChild<QLabel*>(label);
    QVERIFY(labelWidget);
    QVERIFY(labelWidget->buddy());
    QCOMPARE(labelWidget->buddy()->objectName(), buddy);
}

void TstMainForm::focusChain()
{
    // The tab widget holds every page, and Qt 6 links the widget that follows a
    // compound widget after that widget's last descendant; so the chain is
    // checked from the first page's address edit through the page widgets.
    const QStringList expected{
        "dottedDecEdit", "conversionsAddressToolButton", "decEdit", "dottedHexEdit", "hexEdit",
        "dottedBinEdit", "binEdit", "dottedOctEdit", "octEdit", "multicastEdit", "classesAddressEdit",
        "classesAddressToolButton", "classesComboBox", "classAddressRangeEdit", "classBitUsageEdit",
        "subnetsAddressEdit", "subnetsAddressToolButton", "subnetsMaskComboBox", "subnetBitsComboBox",
        "maxSubnetsComboBox", "hostBitsComboBox", "maxHostsComboBox", "subnetsBitUsageEdit", "subnetsTableView",
        "cidrAddressEdit", "cidrAddressToolButton", "addressBlockMaskComboBox", "addressBlockRangeEdit",
        "cidrBitsComboBox", "cidrMaxNetworksComboBox", "cidrMaskComboBox", "cidrBitUsageEdit", "cidrTableView",
        "ipv6AddressEdit", "ipv6AddressToolButton", "ipv6AddressTypeTreeView"};
    // Inner widgets such as viewports carry other names and are passed over.
    QWidget* start = Form()->GetUi()->dottedDecEdit;
    QStringList seen;
    QWidget* widget = start;
    do {
        const QString name = widget->objectName();
        if (expected.contains(name) && !seen.contains(name))
            seen << name;
        widget = widget->nextInFocusChain();
    } while (widget && widget != start);
    QCOMPARE(seen, expected);
}

void TstMainForm::bitUsageViewportsShowTextCursor()
{
    Ui::OctetryMainForm* ui = Form()->GetUi();
    for (QAbstractScrollArea* view : {static_cast<QAbstractScrollArea*>(ui->classBitUsageEdit),
                                      static_cast<QAbstractScrollArea*>(ui->subnetsBitUsageEdit),
                                      static_cast<QAbstractScrollArea*>(ui->cidrBitUsageEdit)}) {
        QCOMPARE(view->viewport()->cursor().shape(), Qt::IBeamCursor);
        QCOMPARE(view->maximumHeight(), 20);
        QCOMPARE(view->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(view->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    }
}

void TstMainForm::findTabController()
{
    MainForm* form = Form();
    Ui::OctetryMainForm* ui = form->GetUi();
    QCOMPARE(form->FindTabController(nullptr), nullptr);
    QCOMPARE(form->FindTabController(ui->bannerWidget), nullptr);
    for (int i = 0; i < ui->tabWidget->count(); ++i) {
        QWidget* page = ui->tabWidget->widget(i);
        if (TabController* controller = form->FindTabController(page))
            QCOMPARE(controller->GetTabPage(), page);
    }
}

void TstMainForm::resources_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        QTest::addRow("%d pixel icon", size) << QStringLiteral(":/images/octetry-icon-%1x%1x32.png").arg(size)
                                             << QSize(size, size);
    QTest::newRow("banner") << ":/images/banner-280x75x32.png" << QSize(280, 75);
    QTest::newRow("news badge") << ":/images/new-icon-16x16x32.png" << QSize(16, 16);
}

void TstMainForm::resources()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    const QImage image(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    QCOMPARE(image.size(), size);
    QVERIFY(image.hasAlphaChannel());
}

void TstMainForm::aboutTemplateIsUtf8WithByteOrderMark()
{
    QFile file(QStringLiteral(":/html/about.html"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    QVERIFY(bytes.contains("<h3>%APPLICATION_TITLE%</h3>"));
    QVERIFY(bytes.contains("<p>Version: %VERSION%</p>"));
    QVERIFY(bytes.contains("content=\"en-us\""));
}

void TstMainForm::storedTabReopened_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("expected");
    QTest::newRow("5, the News page, stays current") << 5 << 5;
    QTest::newRow("2 opens Subnets") << 2 << 2;
    QTest::newRow("-3 opens Conversions") << -3 << 0;
    QTest::newRow("99 opens the last page") << 99 << 5;
    QTest::newRow("0 opens Conversions") << 0 << 0;
}

void TstMainForm::storedTabReopened()
{
    QFETCH(int, stored);
    QFETCH(int, expected);

    // The store loads once per process, so each case runs in a child of its own.
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {storedTabMode, QString::number(stored)});
    QVERIFY(child.waitForFinished(120000));
    QCOMPARE(child.exitCode(), 0);

    QMap<QString, QString> report;
    for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        const int blank = line.indexOf(' ');
        if (blank > 0)
            report.insert(QString::fromLatin1(line.left(blank)), QString::fromLatin1(line.mid(blank + 1)));
    }
    QCOMPARE(report.value("current"), QString::number(expected));

    const QStringList controllers = report.value("controllers").split(',', Qt::SkipEmptyParts);
    const bool hasController = controllers.contains(QString::number(expected));
    // Only the reopened page is written; a page changed to stores its index,
    // while reopening the page already current writes nothing.
    QCOMPARE(report.value("updated"), hasController ? QString::number(expected) : QString());
    const int storedAfter = (expected != 5 && hasController) ? expected : stored;
    QCOMPARE(report.value("stored"), QString::number(storedAfter));
}

void TstMainForm::cleanupTestCase()
{
    delete m_form;
    m_form = nullptr;
}

int main(int argc, char** argv)
{
    if (argc == 3 && qstrcmp(argv[1], storedTabMode) == 0)
        return RunStoredTabCase(1, argv, QByteArray(argv[2]).toInt());

    TestEnvironment env;
    QApplication app(argc, argv);
    BrandingUtil::SetApplicationIdentity();
    TstMainForm test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mainform.moc"
