#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "app/brandingutil.h"
#include "app/buildconfig.h"
#include "app/mainform.h"
#include "app/menucontroller.h"
#include "common/testenvironment.h"
#include "settings/octetrysettings.h"

// Receives what the program asks the desktop to open.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public slots:
    void open(const QUrl& url) { urls << url; }
};

class TstMenuController : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void brandedTexts();
    void checkMarksFollowTheStoreAtStart();
    void optionToggles_data();
    void optionToggles();
    void checkMarkFollowsOtherWriters_data();
    void checkMarkFollowsOtherWriters();
    void bannerClicks_data();
    void bannerClicks();
    void helpCommandsOpenTheirAddresses();
    void bannerStaysCentred();
    void aboutBox();
    void versionText();
    void exitClosesTheWindow();

private:
    MainForm* m_form = nullptr;
    UrlRecorder m_recorder;
};

void TstMenuController::initTestCase()
{
    for (const char* scheme : {"http", "https", "mailto"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &m_recorder, "open");
    m_form = new MainForm;
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
}

void TstMenuController::init()
{
    m_recorder.urls.clear();
}

void TstMenuController::cleanupTestCase()
{
    for (const char* scheme : {"http", "https", "mailto"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    delete m_form;
}

void TstMenuController::brandedTexts()
{
    Ui::OctetryMainForm* ui = m_form->GetUi();
    QCOMPARE(ui->actionVisitWebsite->text(), QStringLiteral("Visit the Quorvane &Website..."));
    QCOMPARE(ui->actionEmailSupport->text(), QStringLiteral("&Email Quorvane Support..."));
    QCOMPARE(ui->bannerLabel->toolTip(), QStringLiteral("Click to visit the Quorvane website"));
}

void TstMenuController::checkMarksFollowTheStoreAtStart()
{
    // A fresh store has both options on.
    Ui::OctetryMainForm* ui = m_form->GetUi();
    QCOMPARE(ui->actionAllowOneSubnetBit->isChecked(), MainForm::GetSettings()->GetAllowOneSubnetBit());
    QCOMPARE(ui->actionAllowOneHostBit->isChecked(), MainForm::GetSettings()->GetAllowOneHostBit());
    QVERIFY(ui->actionAllowOneSubnetBit->isChecked());
    QVERIFY(ui->actionAllowOneHostBit->isChecked());
}

void TstMenuController::optionToggles_data()
{
    QTest::addColumn<bool>("subnetBit");
    QTest::newRow("Allow 1 Subnet Bit") << true;
    QTest::newRow("Allow 1 Host Bit") << false;
}

void TstMenuController::optionToggles()
{
    QFETCH(bool, subnetBit);
    Ui::OctetryMainForm* ui = m_form->GetUi();
    OctetrySettings* settings = MainForm::GetSettings();
    QAction* action = subnetBit ? ui->actionAllowOneSubnetBit : ui->actionAllowOneHostBit;
    auto stored = [&] { return subnetBit ? settings->GetAllowOneSubnetBit() : settings->GetAllowOneHostBit(); };
    auto store = [&](bool on) { subnetBit ? settings->SetAllowOneSubnetBit(on) : settings->SetAllowOneHostBit(on); };

    store(false);
    QVERIFY(!action->isChecked());
    action->trigger();
    QVERIFY(stored());
    QVERIFY(action->isChecked());
    action->trigger();
    QVERIFY(!stored());
    QVERIFY(!action->isChecked());

    // The stored value decides, even when the check mark disagrees with it.
    action->setChecked(true);
    action->trigger();
    QVERIFY(stored());
    QVERIFY(action->isChecked());
}

void TstMenuController::checkMarkFollowsOtherWriters_data()
{
    optionToggles_data();
}

void TstMenuController::checkMarkFollowsOtherWriters()
{
    QFETCH(bool, subnetBit);
    Ui::OctetryMainForm* ui = m_form->GetUi();
    OctetrySettings* settings = MainForm::GetSettings();
    QAction* action = subnetBit ? ui->actionAllowOneSubnetBit : ui->actionAllowOneHostBit;
    QAction* other = subnetBit ? ui->actionAllowOneHostBit : ui->actionAllowOneSubnetBit;
    auto store = [&](bool on) { subnetBit ? settings->SetAllowOneSubnetBit(on) : settings->SetAllowOneHostBit(on); };

    const bool otherChecked = other->isChecked();
    for (bool on : {false, true, false, true}) {
        store(on);
        QCOMPARE(action->isChecked(), on);
        QCOMPARE(other->isChecked(), otherChecked);
    }
}

void TstMenuController::bannerClicks_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("opens");
    QTest::newRow("left click opens the web site") << Qt::LeftButton << true;
    QTest::newRow("right click opens nothing") << Qt::RightButton << false;
    QTest::newRow("middle click opens nothing") << Qt::MiddleButton << false;
}

void TstMenuController::bannerClicks()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, opens);
    QLabel* banner = m_form->GetUi()->bannerLabel;
    const QPoint centre = banner->rect().center();

    QTest::mousePress(banner, button, Qt::NoModifier, centre);
    QVERIFY(m_recorder.urls.isEmpty()); // only the release opens
    QTest::mouseRelease(banner, button, Qt::NoModifier, centre);
    if (opens)
        QCOMPARE(m_recorder.urls, QList<QUrl>{QUrl(QStringLiteral(OCTETRY_ORGANIZATION_URL))});
    else
        QVERIFY(m_recorder.urls.isEmpty());
}

void TstMenuController::helpCommandsOpenTheirAddresses()
{
    Ui::OctetryMainForm* ui = m_form->GetUi();
    ui->actionVisitWebsite->trigger();
    ui->actionEmailSupport->trigger();
    QCOMPARE(m_recorder.urls, (QList<QUrl>{QUrl(QStringLiteral(OCTETRY_ORGANIZATION_URL)),
                                           QUrl(QStringLiteral("mailto:" OCTETRY_SUPPORT_EMAIL))}));
}

void TstMenuController::bannerStaysCentred()
{
    Ui::OctetryMainForm* ui = m_form->GetUi();
    // The page contents set the window's smallest size; grow from there.
    const QSize smallest = m_form->minimumSizeHint().expandedTo(m_form->minimumSize());
    for (const QSize& size : {smallest + QSize(90, 10), smallest, smallest + QSize(20, 190)}) {
        m_form->resize(size);
        QTRY_COMPARE(m_form->size(), size);
        const QSize banner = ui->bannerWidget->size();
        const QPoint expected((banner.width() - 280) / 2, (banner.height() - 86) / 2);
        QTRY_COMPARE(ui->bannerLabel->pos(), expected);
        QCOMPARE(ui->bannerLabel->size(), QSize(280, 86));
    }
}

void TstMenuController::aboutBox()
{
    QString title;
    QString text;
    bool found = false;
    // The box is modal; close it from inside its own event loop.
    std::function<void()> closeBox = [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            QTimer::singleShot(20, closeBox);
            return;
        }
        found = true;
        title = box->windowTitle();
        text = box->text();
        box->accept();
    };
    QTimer::singleShot(0, closeBox);
    m_form->GetUi()->actionAbout->trigger();

    QVERIFY(found);
    QCOMPARE(title, QStringLiteral("Quorvane Octetry"));
    QCOMPARE(title, m_form->windowTitle());
    QVERIFY(Qt::mightBeRichText(text));
    QVERIFY2(text.contains(QStringLiteral("<h3>Quorvane Octetry</h3>")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("<p>Version: ") + MenuController::GetVersionText() + "</p>"));
    QVERIFY(!text.contains(QLatin1Char('%')));
    QVERIFY(!text.startsWith(QChar(0xFEFF)));
}

void TstMenuController::versionText()
{
    QCOMPARE(MenuController::GetVersionText(), QStringLiteral("%1.%2.%3.%4")
                                                   .arg(OCTETRY_VERSION_MAJOR)
                                                   .arg(OCTETRY_VERSION_MINOR)
                                                   .arg(OCTETRY_VERSION_PATCH)
                                                   .arg(OCTETRY_VERSION_TWEAK));
    QVERIFY(QRegularExpression(QStringLiteral("^(0|[1-9][0-9]*)(\\.(0|[1-9][0-9]*)){3}$"))
                .match(MenuController::GetVersionText())
                .hasMatch());
}

void TstMenuController::exitClosesTheWindow()
{
    QVERIFY(m_form->isVisible());
    m_form->GetUi()->actionExit->trigger();
    QVERIFY(!m_form->isVisible());
}

int main(int argc, char** argv)
{
    TestEnvironment env;
    QApplication app(argc, argv);
    BrandingUtil::SetApplicationIdentity();
    // Exit closes the last window; the test itself carries on afterwards.
    QApplication::setQuitOnLastWindowClosed(false);
    TstMenuController test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_menucontroller.moc"
