#include "common/testenvironment.h"

#include "address/ipv4address.h"
#include "app/brandingutil.h"
#include "app/mainform.h"
#include "settings/octetrysettings.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace
{
void TypeOver(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

QString StoredAddress()
{
    return QString::fromStdString(
        OctetrySettings::Instance()->GetIPv4Address().ToString(IPv4Address::DottedDecimal));
}

// Closes every message box that opens while it exists and remembers what each said.
class MessageBoxCloser : public QObject
{
public:
    MessageBoxCloser()
    {
        connect(&timer, &QTimer::timeout, this, [this] { CloseOpenBoxes(); });
        timer.start(20);
    }

    QStringList titles;
    QStringList texts;

private:
    void CloseOpenBoxes()
    {
        for (QWidget* widget : QApplication::topLevelWidgets())
        {
            QMessageBox* box = qobject_cast<QMessageBox*>(widget);
            if (box == nullptr || !box->isVisible())
                continue;
            titles << box->windowTitle();
            texts << box->text();
            box->button(QMessageBox::Ok)->click();
        }
    }

    QTimer timer;
};
} // namespace

class TstIPv4TabController : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void hiddenPageIsStaleAndUpdatedOnceShown();
    void leavingTheEdit_data();
    void leavingTheEdit();
    void failedLookupShowsTheWarning();
    void systemAddressButtons();
    void systemAddressEntryRewritesItsOwnEdit();
    void octalRowsHiddenWithoutTheOption();

private:
    std::unique_ptr<MainForm> form;
    Ui::OctetryMainForm* ui = nullptr;
};

void TstIPv4TabController::initTestCase()
{
    form = std::make_unique<MainForm>();
    ui = form->GetUi();
}

void TstIPv4TabController::init()
{
    ui->tabWidget->setCurrentWidget(ui->classesTab);
    TypeOver(ui->classesAddressEdit, "10.0.0.1");
}

void TstIPv4TabController::cleanupTestCase()
{
    form.reset();
}

void TstIPv4TabController::hiddenPageIsStaleAndUpdatedOnceShown()
{
    ui->tabWidget->setCurrentWidget(ui->conversionsTab);
    QCOMPARE(ui->dottedDecEdit->text(), QString("10.0.0.1"));
    ui->tabWidget->setCurrentWidget(ui->classesTab);

    TypeOver(ui->classesAddressEdit, "192.168.1.1");
    QCOMPARE(ui->classesAddressEdit->text(), QString("192.168.1.1"));
    QCOMPARE(ui->classesComboBox->currentText(), QString("Class C"));
    // The Conversions page is hidden, so nothing of it is written yet.
    QCOMPARE(ui->dottedDecEdit->text(), QString("10.0.0.1"));
    QCOMPARE(ui->hexEdit->text(), QString("0xa000001"));

    ui->tabWidget->setCurrentWidget(ui->conversionsTab);
    QCOMPARE(OctetrySettings::Instance()->GetTabIndex(), 0);
    QCOMPARE(ui->dottedDecEdit->text(), QString("192.168.1.1"));
    QCOMPARE(ui->hexEdit->text(), QString("0xc0a80101"));

    // Up to date now: showing the page again rewrites nothing.
    {
        const QSignalBlocker blocker(ui->hexEdit);
        ui->hexEdit->setText("1");
    }
    ui->tabWidget->setCurrentWidget(ui->classesTab);
    QCOMPARE(OctetrySettings::Instance()->GetTabIndex(), 1);
    ui->tabWidget->setCurrentWidget(ui->conversionsTab);
    QCOMPARE(ui->hexEdit->text(), QString("1"));
}

void TstIPv4TabController::leavingTheEdit_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shownOnLeaving");

    QTest::newRow("300.1.2.3 is refused without a lookup") << "300.1.2.3" << "" << "300.1.2.3";
    QTest::newRow("10.0.0 gives 10.0.0.0") << "10.0.0" << "10.0.0.0" << "10.0.0.0";
    QTest::newRow("a trailing dot is dropped") << "172.16." << "172.16.0.0" << "172.16.0.0";
    QTest::newRow("blanks and leading zeros are dropped")
        << " 010.001.2.3 " << "10.1.2.3" << "10.1.2.3";
    QTest::newRow("localhost resolves to 127.0.0.1") << "localhost" << "127.0.0.1" << "127.0.0.1";
    QTest::newRow("empty text stays empty") << "" << "" << "";
}

void TstIPv4TabController::leavingTheEdit()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(QString, shownOnLeaving);

    MessageBoxCloser closer;
    ui->classesAddressEdit->clear();
    QTest::keyClicks(ui->classesAddressEdit, typed);
    QCOMPARE(ui->classesAddressEdit->text(), typed);
    QTest::keyClick(ui->classesAddressEdit, Qt::Key_Return);

    QCOMPARE(closer.titles, QStringList());
    QCOMPARE(StoredAddress(), stored);
    QCOMPARE(ui->classesAddressEdit->text(), shownOnLeaving);
    QCOMPARE(ui->classesComboBox->isEnabled(), !stored.isEmpty());
}

void TstIPv4TabController::failedLookupShowsTheWarning()
{
    MessageBoxCloser closer;
    TypeOver(ui->classesAddressEdit, "octetry-test.invalid");
    QTest::keyClick(ui->classesAddressEdit, Qt::Key_Return);

    QCOMPARE(closer.titles, QStringList{"IPv4 Resolve Failed"});
    QVERIFY(!closer.texts.first().isEmpty());
    QCOMPARE(ui->classesAddressEdit->text(), QString("octetry-test.invalid"));
    QVERIFY(!OctetrySettings::Instance()->GetIPv4Address().IsValid());
    QVERIFY(!ui->classesComboBox->isEnabled());
    QVERIFY(ui->classesAddressEdit->isEnabled());
}

void TstIPv4TabController::systemAddressButtons()
{
    QToolButton* const buttons[] = {ui->conversionsAddressToolButton, ui->classesAddressToolButton,
                                    ui->subnetsAddressToolButton, ui->cidrAddressToolButton};
    QMenu* const menu = ui->classesAddressToolButton->menu();
    QVERIFY(menu);
    for (QToolButton* button : buttons)
    {
        if (button->menu() == nullptr)
            continue; // that page's controller is not part of this build
        QCOMPARE(button->menu(), menu);
        QCOMPARE(button->text(), QString());
        QCOMPARE(button->toolTip(), QString("System Addresses"));
        QCOMPARE(button->popupMode(), QToolButton::InstantPopup);
        QCOMPARE(button->isEnabled(), !menu->actions().isEmpty());
    }
}

void TstIPv4TabController::systemAddressEntryRewritesItsOwnEdit()
{
    QMenu* const menu = ui->classesAddressToolButton->menu();
    QVERIFY(menu);
    if (menu->actions().isEmpty())
        QSKIP("this machine has no IPv4 interface address besides 127.0.0.1");
    QAction* const entry = menu->actions().first();

    TypeOver(ui->classesAddressEdit, "1.2.3.4");
    entry->trigger();
    QCOMPARE(StoredAddress(), entry->text());
    QCOMPARE(ui->classesAddressEdit->text(), entry->text());
}

void TstIPv4TabController::octalRowsHiddenWithoutTheOption()
{
    QVERIFY(ui->octContainerWidget->isHidden());
}

int main(int argc, char** argv)
{
    TestEnvironment environment;
    QApplication app(argc, argv);
    BrandingUtil::SetApplicationIdentity();
    TstIPv4TabController test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ipv4tabcontroller.moc"
