#include "common/testenvironment.h"

#include "address/ipv4address.h"
#include "app/brandingutil.h"
#include "app/mainform.h"
#include "ipv4/ipv4addressblock.h"
#include "ipv4/ipv4cidrpolicy.h"
#include "settings/octetrysettings.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTextBrowser>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace
{
const QString kCaption = QStringLiteral("CIDR Bit &Usage");
const QString kCidrAndOpenLegend = QStringLiteral(
    "<span style=\"color:teal\">c=CIDR</span>; <span style=\"color:gray\">x=Open</span>");

void TypeOver(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Delete);
    else
        QTest::keyClicks(edit, text);
}

OctetrySettings* Settings()
{
    return OctetrySettings::Instance();
}

IPv4CidrPolicy Policy(quint8 blockBits, quint32 cidrBits)
{
    return IPv4CidrPolicy(IPv4AddressBlock(blockBits), cidrBits);
}

QStringList Items(const QComboBox* comboBox)
{
    QStringList texts;
    for (int index = 0; index < comboBox->count(); ++index)
        texts << comboBox->itemText(index);
    return texts;
}

int CountOf(const QSignalSpy& spy, OctetrySettings::Setting setting)
{
    int count = 0;
    for (const QList<QVariant>& arguments : spy)
        if (arguments.at(0).value<OctetrySettings::Setting>() == setting)
            ++count;
    return count;
}
} // namespace

class TstCidrTabController : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void blockComboHoldsTheThirtyTwoBlocks();
    void block16OffersSixteenPolicies();
    void choosingInAnyComboMovesTheOthers_data();
    void choosingInAnyComboMovesTheOthers();
    void tableListsTheRoutesAndSelectsTheAddress();
    void changingTheBlockKeepsTheCidrMaskLength();
    void singleAddressRoutesShowNoRange();
    void largeBlocksShowAWindowAroundTheAddress_data();
    void largeBlocksShowAWindowAroundTheAddress();
    void blockOfOneAddressShowsItsRangeAlone();
    void invalidStoredPolicyTakesTheFirstOfTheNextBlock();
    void hiddenPageFollowsTheStoreWhenShown();
    void invalidAddressDisablesAllButTheEntry();

private:
    void PickBlock(int maskBits);
    void PickMask(int maskBits);
    int SelectedRow() const;

    std::unique_ptr<MainForm> form;
    Ui::OctetryMainForm* ui = nullptr;
};

void TstCidrTabController::initTestCase()
{
    form = std::make_unique<MainForm>();
    ui = form->GetUi();
    // Shown, so that the table lays out and scrolls its visible rows as on screen.
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
}

void TstCidrTabController::init()
{
    ui->tabWidget->setCurrentWidget(ui->cidrTab);
    TypeOver(ui->cidrAddressEdit, "10.200.3.4");
    PickBlock(16);
    PickMask(20);
}

void TstCidrTabController::cleanupTestCase()
{
    form.reset();
}

// What a choice in the drop-down list does.
void TstCidrTabController::PickBlock(int maskBits)
{
    ui->addressBlockMaskComboBox->setCurrentIndex(maskBits - 1);
}

void TstCidrTabController::PickMask(int maskBits)
{
    const int index = ui->cidrMaskComboBox->findText(QString("   (/%1)").arg(maskBits), Qt::MatchEndsWith);
    QVERIFY2(index >= 0, qPrintable(QString::number(maskBits)));
    ui->cidrMaskComboBox->setCurrentIndex(index);
}

int TstCidrTabController::SelectedRow() const
{
    const QModelIndexList rows = ui->cidrTableView->selectionModel()->selectedRows();
    return rows.size() == 1 ? rows.first().row() : -rows.size() - 1;
}

void TstCidrTabController::blockComboHoldsTheThirtyTwoBlocks()
{
    const QComboBox* comboBox = ui->addressBlockMaskComboBox;
    QCOMPARE(comboBox->count(), 32);
    QCOMPARE(comboBox->maxVisibleItems(), 32);
    QCOMPARE(comboBox->itemText(0), QString("128.0.0.0   (/1)"));
    QCOMPARE(comboBox->itemText(15), QString("255.255.0.0   (/16)"));
    QCOMPARE(comboBox->itemText(31), QString("255.255.255.255   (/32)"));
    for (int index = 0; index < comboBox->count(); ++index)
        QCOMPARE(comboBox->itemData(index).value<IPv4AddressBlock>().GetMaskBits(), quint8(index + 1));
    QCOMPARE(comboBox->currentIndex(), 15);
    QCOMPARE(Settings()->GetCidrAddressBlock(), IPv4AddressBlock(16));
}

void TstCidrTabController::block16OffersSixteenPolicies()
{
    QCOMPARE(ui->addressBlockRangeEdit->text(), QString("10.200.0.0 - 10.200.255.255"));

    QStringList bits, maxRoutes, masks;
    const char* const maskTexts[] = {"255.255.128.0", "255.255.192.0", "255.255.224.0", "255.255.240.0",
                                     "255.255.248.0", "255.255.252.0", "255.255.254.0", "255.255.255.0",
                                     "255.255.255.128", "255.255.255.192", "255.255.255.224",
                                     "255.255.255.240", "255.255.255.248", "255.255.255.252",
                                     "255.255.255.254", "255.255.255.255"};
    for (int c = 1; c <= 16; ++c)
    {
        bits << QString::number(c);
        maxRoutes << QString::number(1u << c);
        masks << QString("%1   (/%2)").arg(maskTexts[c - 1]).arg(16 + c);
    }
    QCOMPARE(Items(ui->cidrBitsComboBox), bits);
    QCOMPARE(Items(ui->cidrMaxNetworksComboBox), maxRoutes);
    QCOMPARE(Items(ui->cidrMaskComboBox), masks);
    for (const QComboBox* comboBox : {ui->cidrBitsComboBox, ui->cidrMaxNetworksComboBox, ui->cidrMaskComboBox})
        QCOMPARE(comboBox->maxVisibleItems(), 16);
    // Only the mask combo carries the policy.
    QVERIFY(!ui->cidrBitsComboBox->itemData(0).isValid());
    QCOMPARE(ui->cidrMaskComboBox->itemData(3).value<IPv4CidrPolicy>(), Policy(16, 4));
}

void TstCidrTabController::choosingInAnyComboMovesTheOthers_data()
{
    QTest::addColumn<QString>("comboName");
    QTest::addColumn<int>("index");

    QTest::newRow("6 CIDR bits") << "cidrBitsComboBox" << 5;
    QTest::newRow("1024 routes") << "cidrMaxNetworksComboBox" << 9;
    QTest::newRow("mask /18") << "cidrMaskComboBox" << 1;
    QTest::newRow("mask /32") << "cidrMaskComboBox" << 15;
}

void TstCidrTabController::choosingInAnyComboMovesTheOthers()
{
    QFETCH(QString, comboName);
    QFETCH(int, index);

    QSignalSpy changes(Settings(), &OctetrySettings::SettingChanged);
    QComboBox* comboBox = ui->cidrTab->findChild<QComboBox*>(comboName);
    QVERIFY(comboBox != nullptr);
    comboBox->setCurrentIndex(index);

    QCOMPARE(ui->cidrBitsComboBox->currentIndex(), index);
    QCOMPARE(ui->cidrMaxNetworksComboBox->currentIndex(), index);
    QCOMPARE(ui->cidrMaskComboBox->currentIndex(), index);
    const IPv4CidrPolicy expected = Policy(16, quint32(index + 1));
    QCOMPARE(Settings()->GetCidrPolicy(), expected);
    QCOMPARE(CountOf(changes, OctetrySettings::CidrPolicySetting), 1);
    QCOMPARE(changes.count(), 1);
    QCOMPARE(ui->cidrTableView->model()->rowCount(), 1 << (index + 1));

    const int hostBits = 16 - (index + 1);
    QString bitString = "00001010.11001000." + QString(index + 1, 'c') + QString(hostBits, 'x');
    bitString.insert(26, '.');
    QCOMPARE(ui->cidrBitUsageEdit->toPlainText(), bitString);
    // Captured once: repeated updates never stack legends.
    QCOMPARE(ui->cidrBitUsageLabel->text(),
             hostBits > 0 ? kCaption + " (" + kCidrAndOpenLegend + ")"
                          : kCaption + " (<span style=\"color:teal\">c=CIDR</span>)");
}

void TstCidrTabController::tableListsTheRoutesAndSelectsTheAddress()
{
    const QAbstractItemModel* model = ui->cidrTableView->model();
    QCOMPARE(model->rowCount(), 16);
    QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QString("Route"));
    QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QString("Address Range"));
    QCOMPARE(model->headerData(0, Qt::Vertical).toInt(), 0);
    QCOMPARE(model->headerData(15, Qt::Vertical).toInt(), 15);
    QCOMPARE(model->index(0, 0).data().toString(), QString("10.200.0.0"));
    QCOMPARE(model->index(0, 1).data().toString(), QString("10.200.0.0 - 10.200.15.255"));
    QCOMPARE(model->index(15, 0).data().toString(), QString("10.200.240.0"));
    QCOMPARE(model->index(15, 1).data().toString(), QString("10.200.240.0 - 10.200.255.255"));
    QCOMPARE(SelectedRow(), 0);
    QCOMPARE(ui->cidrTableView->verticalHeader()->defaultSectionSize(), 17);

    TypeOver(ui->cidrAddressEdit, "10.200.37.5");
    QCOMPARE(SelectedRow(), 2);
    QCOMPARE(ui->cidrAddressEdit->text(), QString("10.200.37.5"));
    TypeOver(ui->cidrAddressEdit, "172.16.255.1");
    QCOMPARE(ui->addressBlockRangeEdit->text(), QString("172.16.0.0 - 172.16.255.255"));
    QCOMPARE(model->index(15, 1).data().toString(), QString("172.16.240.0 - 172.16.255.255"));
    QCOMPARE(SelectedRow(), 15);
    QCOMPARE(Settings()->GetCidrPolicy(), Policy(16, 4));
}

void TstCidrTabController::changingTheBlockKeepsTheCidrMaskLength()
{
    QSignalSpy changes(Settings(), &OctetrySettings::SettingChanged);
    PickBlock(8);
    QCOMPARE(Settings()->GetCidrAddressBlock(), IPv4AddressBlock(8));
    QCOMPARE(ui->addressBlockRangeEdit->text(), QString("10.0.0.0 - 10.255.255.255"));
    QCOMPARE(ui->cidrMaskComboBox->count(), 24);
    QCOMPARE(ui->cidrMaskComboBox->currentText(), QString("255.255.240.0   (/20)"));
    QCOMPARE(ui->cidrBitsComboBox->currentText(), QString("12"));
    QCOMPARE(ui->cidrMaxNetworksComboBox->currentText(), QString("4096"));
    QCOMPARE(Settings()->GetCidrPolicy(), Policy(8, 12));
    QCOMPARE(CountOf(changes, OctetrySettings::CidrAddressBlockSetting), 1);
    QCOMPARE(CountOf(changes, OctetrySettings::CidrPolicySetting), 1);
    QCOMPARE(ui->cidrTableView->model()->rowCount(), 4096);
    // 10.200.3.4 lies in route 200 * 16 of the /8 block.
    QCOMPARE(SelectedRow(), 3200);

    PickBlock(24);
    QCOMPARE(ui->cidrMaskComboBox->currentText(), QString("255.255.255.128   (/25)"));
    QCOMPARE(ui->cidrMaskComboBox->currentIndex(), 0);
    QCOMPARE(Settings()->GetCidrPolicy(), Policy(24, 1));

    // From /25 back to /16: the mask length carries over, not the one CIDR bit.
    PickBlock(16);
    QCOMPARE(ui->cidrMaskComboBox->currentText(), QString("255.255.255.128   (/25)"));
    QCOMPARE(ui->cidrBitsComboBox->currentText(), QString("9"));
}

void TstCidrTabController::singleAddressRoutesShowNoRange()
{
    PickBlock(24);
    PickMask(32);
    const QAbstractItemModel* model = ui->cidrTableView->model();
    QCOMPARE(model->rowCount(), 256);
    for (int row = 0; row < 256; ++row)
        QCOMPARE(model->index(row, 1).data().toString(), QString("N/A"));
    QCOMPARE(model->index(255, 0).data().toString(), QString("10.200.3.255"));
    QCOMPARE(SelectedRow(), 4);
    QCOMPARE(ui->cidrBitUsageLabel->text(), kCaption + " (<span style=\"color:teal\">c=CIDR</span>)");
}

void TstCidrTabController::largeBlocksShowAWindowAroundTheAddress_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("firstIndex");
    QTest::addColumn<int>("selectedRow");

    QTest::newRow("0.0.1.0 at the start") << "0.0.1.0" << 0 << 256;
    QTest::newRow("172.16.0.1 in the middle") << "172.16.0.1" << 730857473 << 8388608;
    QTest::newRow("255.255.255.254 at the end") << "255.255.255.254" << 2130706432 << 16777214;
}

void TstCidrTabController::largeBlocksShowAWindowAroundTheAddress()
{
    QFETCH(QString, address);
    QFETCH(int, firstIndex);
    QFETCH(int, selectedRow);

    TypeOver(ui->cidrAddressEdit, address);
    PickBlock(1);
    PickMask(32);
    QCOMPARE(ui->cidrMaxNetworksComboBox->currentText(), QString("2147483648"));

    const QAbstractItemModel* model = ui->cidrTableView->model();
    QCOMPARE(model->rowCount(), 16777216);
    QCOMPARE(model->headerData(0, Qt::Vertical).toLongLong(), qlonglong(firstIndex));
    QCOMPARE(SelectedRow(), selectedRow);
    QCOMPARE(model->index(selectedRow, 0).data().toString(), address);
    // Scrolled into view, also right after a smaller table.
    const QRect selectedRect = ui->cidrTableView->visualRect(model->index(selectedRow, 0));
    QVERIFY(ui->cidrTableView->viewport()->rect().contains(selectedRect.center()));
}

void TstCidrTabController::blockOfOneAddressShowsItsRangeAlone()
{
    QSignalSpy changes(Settings(), &OctetrySettings::SettingChanged);
    PickBlock(32);
    QCOMPARE(Settings()->GetCidrAddressBlock(), IPv4AddressBlock(32));
    QCOMPARE(ui->addressBlockMaskComboBox->currentIndex(), 31);
    QCOMPARE(ui->addressBlockRangeEdit->text(), QString("10.200.3.4"));
    for (const QComboBox* comboBox : {ui->cidrBitsComboBox, ui->cidrMaxNetworksComboBox, ui->cidrMaskComboBox})
    {
        QCOMPARE(comboBox->count(), 0);
        QCOMPARE(comboBox->currentIndex(), -1);
        QVERIFY(!comboBox->isEnabled());
    }
    QVERIFY(!ui->cidrBitUsageLabel->isEnabled());
    QCOMPARE(ui->cidrBitUsageLabel->text(), kCaption);
    QVERIFY(!ui->cidrBitUsageEdit->isEnabled());
    QCOMPARE(ui->cidrBitUsageEdit->toPlainText(), QString());
    QCOMPARE(ui->cidrTableView->model()->rowCount(), 0);
    // Nothing could be chosen, so the last policy stays stored for the next block.
    QCOMPARE(Settings()->GetCidrPolicy(), Policy(16, 4));
    QCOMPARE(changes.count(), 1);

    TypeOver(ui->cidrAddressEdit, "192.168.1.7");
    QCOMPARE(ui->addressBlockRangeEdit->text(), QString("192.168.1.7"));
    QCOMPARE(ui->cidrTableView->model()->rowCount(), 0);
    QVERIFY(!ui->cidrMaskComboBox->isEnabled());

    PickBlock(24);
    QCOMPARE(ui->addressBlockRangeEdit->text(), QString("192.168.1.0 - 192.168.1.255"));
    QCOMPARE(ui->cidrMaskComboBox->count(), 8);
    QVERIFY(ui->cidrMaskComboBox->isEnabled());
    QVERIFY(ui->cidrBitsComboBox->isEnabled());
    QCOMPARE(ui->cidrMaskComboBox->currentText(), QString("255.255.255.128   (/25)"));
    QCOMPARE(Settings()->GetCidrPolicy(), Policy(24, 1));
    QVERIFY(ui->cidrBitUsageEdit->isEnabled());
    QCOMPARE(ui->cidrTableView->model()->rowCount(), 2);
    QCOMPARE(SelectedRow(), 0);
}

void TstCidrTabController::invalidStoredPolicyTakesTheFirstOfTheNextBlock()
{
    // As the store leaves it when it completes a stored /32 block without a policy.
    Settings()->SetCidrAddressBlock(IPv4AddressBlock(32));
    Settings()->SetCidrPolicy(IPv4CidrPolicy());
    QCOMPARE(ui->addressBlockMaskComboBox->currentIndex(), 31);
    QCOMPARE(ui->cidrBitUsageLabel->text(), kCaption);
    QVERIFY(!ui->cidrBitUsageEdit->isEnabled());
    QCOMPARE(ui->cidrTableView->model()->rowCount(), 0);

    PickBlock(8);
    QCOMPARE(Settings()->GetCidrPolicy(), Policy(8, 1));
    QCOMPARE(ui->cidrMaskComboBox->currentText(), QString("255.128.0.0   (/9)"));
    QCOMPARE(ui->cidrTableView->model()->rowCount(), 2);
}

void TstCidrTabController::hiddenPageFollowsTheStoreWhenShown()
{
    ui->tabWidget->setCurrentWidget(ui->classesTab);
    TypeOver(ui->classesAddressEdit, "192.168.1.7");
    Settings()->SetCidrAddressBlock(IPv4AddressBlock(24));
    // Hidden: still the old contents.
    QCOMPARE(ui->cidrAddressEdit->text(), QString("10.200.3.4"));
    QCOMPARE(ui->addressBlockMaskComboBox->currentIndex(), 15);

    ui->tabWidget->setCurrentWidget(ui->cidrTab);
    QCOMPARE(ui->cidrAddressEdit->text(), QString("192.168.1.7"));
    QCOMPARE(ui->addressBlockMaskComboBox->currentIndex(), 23);
    QCOMPARE(ui->addressBlockRangeEdit->text(), QString("192.168.1.0 - 192.168.1.255"));
    QCOMPARE(ui->cidrMaskComboBox->currentText(), QString("255.255.255.128   (/25)"));
    QCOMPARE(SelectedRow(), 0);
}

void TstCidrTabController::invalidAddressDisablesAllButTheEntry()
{
    TypeOver(ui->cidrAddressEdit, QString());
    QVERIFY(!Settings()->GetIPv4Address().IsValid());

    QVERIFY(ui->cidrAddressEdit->isEnabled());
    QVERIFY(ui->cidrAddressLabel->isEnabled());
    QVERIFY(ui->cidrAddressToolButton->isEnabled() || ui->cidrAddressToolButton->menu()->actions().isEmpty());

    for (const QComboBox* comboBox : {ui->addressBlockMaskComboBox, ui->cidrBitsComboBox,
                                      ui->cidrMaxNetworksComboBox, ui->cidrMaskComboBox})
    {
        QVERIFY(!comboBox->isEnabled());
        QCOMPARE(comboBox->currentIndex(), -1);
    }
    QVERIFY(!ui->addressBlockRangeEdit->isEnabled());
    QCOMPARE(ui->addressBlockRangeEdit->text(), QString());
    QVERIFY(!ui->cidrBitUsageLabel->isEnabled());
    QCOMPARE(ui->cidrBitUsageLabel->text(), kCaption);
    QVERIFY(!ui->cidrBitUsageEdit->isEnabled());
    QCOMPARE(ui->cidrBitUsageEdit->toPlainText(), QString());
    QVERIFY(!ui->cidrTableView->isEnabled());
    QCOMPARE(ui->cidrTableView->model()->rowCount(), 0);
    // Emptying the combos stored nothing.
    QCOMPARE(Settings()->GetCidrAddressBlock(), IPv4AddressBlock(16));
    QCOMPARE(Settings()->GetCidrPolicy(), Policy(16, 4));

    TypeOver(ui->cidrAddressEdit, "10.200.3.4");
    QVERIFY(ui->cidrMaskComboBox->isEnabled());
    QCOMPARE(ui->addressBlockMaskComboBox->currentIndex(), 15);
    QCOMPARE(ui->cidrMaskComboBox->currentText(), QString("255.255.240.0   (/20)"));
    QCOMPARE(ui->addressBlockRangeEdit->text(), QString("10.200.0.0 - 10.200.255.255"));
    QCOMPARE(ui->cidrBitUsageLabel->text(), kCaption + " (" + kCidrAndOpenLegend + ")");
    QCOMPARE(ui->cidrTableView->model()->rowCount(), 16);
    QCOMPARE(SelectedRow(), 0);
}

int main(int argc, char** argv)
{
    TestEnvironment environment;
    QApplication app(argc, argv);
    BrandingUtil::SetApplicationIdentity();
    TstCidrTabController test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_cidrtabcontroller.moc"
