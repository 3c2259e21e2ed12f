#include "common/formtestutil.h"
#include "common/testenvironment.h"

#include "address/ipv4address.h"
#include "app/brandingutil.h"
#include "app/mainform.h"
#include "controllers/tabcontroller.h"
#include "ipv4/ipv4addressclass.h"
#include "ipv4/ipv4subnetpolicy.h"
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
const QString kCaption = QStringLiteral("Subnet Bit &Usage");

OctetrySettings* Settings()
{
    return OctetrySettings::Instance();
}

QString MaskItem(const QString& mask, int bits)
{
    return QString("%1   (/%2)").arg(mask).arg(bits);
}

int StoredMaskBits()
{
    quint8 maskBits = 0;
    quint8 subnetBits = 0;
    quint8 hostBits = 0;
    Settings()->GetSubnetPolicy().GetBitCounts(maskBits, subnetBits, hostBits);
    return maskBits;
}
} // namespace

class TstSubnetsTabController : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void classBAddressOffersItsPolicies();
    void optionsChangeThePermittedPolicies_data();
    void optionsChangeThePermittedPolicies();
    void maskLengthIsKeptAndClamped_data();
    void maskLengthIsKeptAndClamped();
    void choosingAnEntryMovesAllFive_data();
    void choosingAnEntryMovesAllFive();
    void bitUsageShowsOneLegend();
    void tableSelectsTheAddressesSubnet_data();
    void tableSelectsTheAddressesSubnet();
    void tableHeadersAndRows();
    void addressWithoutSubnetsDisablesThePage_data();
    void addressWithoutSubnetsDisablesThePage();
    void hiddenPageCatchesUpWhenShown();
    void missingPolicyLeavesThePageEmpty();
    void tableRefitsItsColumnsWhenShown();

private:
    QList<QComboBox*> Combos() const;
    void SetOptions(bool rfc1878, bool rfc3021);
    void ChooseMaskBits(int maskBits);
    int SelectedRow() const;

    std::unique_ptr<MainForm> form;
    Ui::OctetryMainForm* ui = nullptr;
};

void TstSubnetsTabController::initTestCase()
{
    form = std::make_unique<MainForm>();
    ui = form->GetUi();
    ui->tabWidget->setCurrentWidget(ui->subnetsTab);
    form->show();
}

void TstSubnetsTabController::init()
{
    ui->tabWidget->setCurrentWidget(ui->subnetsTab);
    SetOptions(false, false);
    TypeOver(ui->subnetsAddressEdit, "172.16.0.1");
}

void TstSubnetsTabController::cleanupTestCase()
{
    form.reset();
}

QList<QComboBox*> TstSubnetsTabController::Combos() const
{
    return {ui->subnetsMaskComboBox, ui->subnetBitsComboBox, ui->maxSubnetsComboBox,
            ui->hostBitsComboBox, ui->maxHostsComboBox};
}

void TstSubnetsTabController::SetOptions(bool rfc1878, bool rfc3021)
{
    Settings()->SetAllowOneSubnetBit(rfc1878);
    Settings()->SetAllowOneHostBit(rfc3021);
}

void TstSubnetsTabController::ChooseMaskBits(int maskBits)
{
    const int index = ui->subnetsMaskComboBox->findText(QString("(/%1)").arg(maskBits),
                                                        Qt::MatchEndsWith);
    QVERIFY2(index >= 0, qPrintable(QString("no /%1 entry").arg(maskBits)));
    ui->subnetsMaskComboBox->setCurrentIndex(index);
}

int TstSubnetsTabController::SelectedRow() const
{
    const QModelIndexList rows = ui->subnetsTableView->selectionModel()->selectedRows();
    return rows.size() == 1 ? rows.first().row() : -static_cast<int>(rows.size()) - 1;
}

void TstSubnetsTabController::classBAddressOffersItsPolicies()
{
    QStringList masks;
    QStringList subnetBits;
    QStringList maxSubnets;
    QStringList hostBits;
    QStringList maxHosts;
    for (int bits = 2; bits <= 14; ++bits)
    {
        masks << MaskItem(QString::fromStdString(IPv4Address::CreateMask(16 + bits)
                                                     .ToString(IPv4Address::DottedDecimal)),
                          16 + bits);
        subnetBits << QString::number(bits);
        maxSubnets << QString::number((1u << bits) - 2);
        hostBits << QString::number(16 - bits);
        maxHosts << QString::number((1u << (16 - bits)) - 2);
    }
    QCOMPARE(masks.first(), QString("255.255.192.0   (/18)"));
    QCOMPARE(masks.last(), QString("255.255.255.252   (/30)"));

    QCOMPARE(ComboTexts(ui->subnetsMaskComboBox), masks);
    QCOMPARE(ComboTexts(ui->subnetBitsComboBox), subnetBits);
    QCOMPARE(ComboTexts(ui->maxSubnetsComboBox), maxSubnets);
    QCOMPARE(ComboTexts(ui->hostBitsComboBox), hostBits);
    QCOMPARE(ComboTexts(ui->maxHostsComboBox), maxHosts);
    QCOMPARE(maxSubnets.last(), QString("16382"));

    for (QComboBox* comboBox : Combos())
    {
        QCOMPARE(comboBox->maxVisibleItems(), 13);
        QVERIFY(comboBox->isEnabled());
        QCOMPARE(comboBox->currentIndex(), ui->subnetsMaskComboBox->currentIndex());
    }
    const IPv4SubnetPolicy first =
        ui->subnetsMaskComboBox->itemData(0).value<IPv4SubnetPolicy>();
    QCOMPARE(first, IPv4SubnetPolicy(IPv4AddressClass(IPv4AddressClass::ClassB), 2, false, false));
    QVERIFY(!ui->subnetBitsComboBox->itemData(0).isValid());
    QCOMPARE(ui->subnetsAddressEdit->text(), QString("172.16.0.1"));
}

void TstSubnetsTabController::optionsChangeThePermittedPolicies_data()
{
    QTest::addColumn<bool>("rfc1878");
    QTest::addColumn<bool>("rfc3021");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("firstMask");
    QTest::addColumn<QString>("lastMask");
    QTest::addColumn<QString>("firstMaxSubnets");
    QTest::addColumn<QString>("lastMaxHosts");

    QTest::newRow("neither option gives /26 to /30")
        << false << false << 5 << MaskItem("255.255.255.192", 26)
        << MaskItem("255.255.255.252", 30) << "2" << "2";
    QTest::newRow("RFC 1878 starts at /25 with 2 subnets")
        << true << false << 6 << MaskItem("255.255.255.128", 25)
        << MaskItem("255.255.255.252", 30) << "2" << "2";
    QTest::newRow("RFC 3021 ends at /31 with 2 hosts")
        << false << true << 6 << MaskItem("255.255.255.192", 26)
        << MaskItem("255.255.255.254", 31) << "2" << "2";
    QTest::newRow("both options give /25 to /31")
        << true << true << 7 << MaskItem("255.255.255.128", 25)
        << MaskItem("255.255.255.254", 31) << "2" << "2";
}

void TstSubnetsTabController::optionsChangeThePermittedPolicies()
{
    QFETCH(bool, rfc1878);
    QFETCH(bool, rfc3021);
    QFETCH(int, count);
    QFETCH(QString, firstMask);
    QFETCH(QString, lastMask);
    QFETCH(QString, firstMaxSubnets);
    QFETCH(QString, lastMaxHosts);

    TypeOver(ui->subnetsAddressEdit, "192.168.1.77");
    SetOptions(rfc1878, rfc3021);

    for (QComboBox* comboBox : Combos())
        QCOMPARE(comboBox->count(), count);
    QCOMPARE(ui->subnetsMaskComboBox->itemText(0), firstMask);
    QCOMPARE(ui->subnetsMaskComboBox->itemText(count - 1), lastMask);
    QCOMPARE(ui->subnetBitsComboBox->itemText(0), QString(rfc1878 ? "1" : "2"));
    QCOMPARE(ui->maxSubnetsComboBox->itemText(0), firstMaxSubnets);
    QCOMPARE(ui->hostBitsComboBox->itemText(count - 1), QString(rfc3021 ? "1" : "2"));
    QCOMPARE(ui->maxHostsComboBox->itemText(count - 1), lastMaxHosts);
    // Every permitted policy carries the options that permit it.
    const IPv4SubnetPolicy stored = Settings()->GetSubnetPolicy();
    QCOMPARE(stored.GetAllowOneSubnetBit(), rfc1878);
    QCOMPARE(stored.GetAllowOneHostBit(), rfc3021);
    QCOMPARE(ui->subnetsMaskComboBox->currentData().value<IPv4SubnetPolicy>(), stored);
}

void TstSubnetsTabController::maskLengthIsKeptAndClamped_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("rfc1878");
    QTest::addColumn<bool>("rfc3021");
    QTest::addColumn<int>("chosenBits");
    QTest::addColumn<QString>("newAddress");
    QTest::addColumn<bool>("newRfc1878");
    QTest::addColumn<bool>("newRfc3021");
    QTest::addColumn<int>("expectedBits");

    QTest::newRow("class B /20 becomes the first class C policy /26")
        << "172.16.0.1" << false << false << 20 << "192.168.1.1" << false << false << 26;
    QTest::newRow("class C /28 stays /28 in class B")
        << "192.168.1.1" << false << false << 28 << "172.16.0.1" << false << false << 28;
    QTest::newRow("class B /30 stays /30 in class A")
        << "172.16.0.1" << false << false << 30 << "10.0.0.1" << false << false << 30;
    QTest::newRow("class A /12 becomes the first class B policy /18")
        << "10.0.0.1" << false << false << 12 << "172.16.0.1" << false << false << 18;
    QTest::newRow("turning RFC 3021 off at /31 chooses /30")
        << "192.168.1.1" << false << true << 31 << "192.168.1.1" << false << false << 30;
    QTest::newRow("turning RFC 1878 off at /25 chooses /26")
        << "192.168.1.1" << true << false << 25 << "192.168.1.1" << false << false << 26;
    QTest::newRow("turning RFC 1878 on keeps /27")
        << "192.168.1.1" << false << false << 27 << "192.168.1.1" << true << false << 27;
}

void TstSubnetsTabController::maskLengthIsKeptAndClamped()
{
    QFETCH(QString, address);
    QFETCH(bool, rfc1878);
    QFETCH(bool, rfc3021);
    QFETCH(int, chosenBits);
    QFETCH(QString, newAddress);
    QFETCH(bool, newRfc1878);
    QFETCH(bool, newRfc3021);
    QFETCH(int, expectedBits);

    SetOptions(rfc1878, rfc3021);
    TypeOver(ui->subnetsAddressEdit, address);
    ChooseMaskBits(chosenBits);
    QCOMPARE(StoredMaskBits(), chosenBits);

    SetOptions(newRfc1878, newRfc3021);
    TypeOver(ui->subnetsAddressEdit, newAddress);
    QCOMPARE(StoredMaskBits(), expectedBits);
    QVERIFY(ui->subnetsMaskComboBox->currentText().endsWith(QString("(/%1)").arg(expectedBits)));
    const IPv4SubnetPolicy stored = Settings()->GetSubnetPolicy();
    QCOMPARE(stored.GetAddressClass(),
             IPv4AddressClass::FromAddress(IPv4Address(newAddress.toStdString(),
                                                       IPv4Address::DottedDecimal)));
    QCOMPARE(ui->subnetsMaskComboBox->currentData().value<IPv4SubnetPolicy>(), stored);
}

void TstSubnetsTabController::choosingAnEntryMovesAllFive_data()
{
    QTest::addColumn<int>("combo");
    QTest::newRow("subnet mask") << 0;
    QTest::newRow("subnet bits") << 1;
    QTest::newRow("max subnets") << 2;
    QTest::newRow("host bits") << 3;
    QTest::newRow("max hosts") << 4;
}

void TstSubnetsTabController::choosingAnEntryMovesAllFive()
{
    QFETCH(int, combo);

    ChooseMaskBits(18);
    QSignalSpy changes(Settings(), &OctetrySettings::SettingChanged);
    // /20: 4 subnet bits, 14 subnets of 4094 hosts.
    Combos().at(combo)->setCurrentIndex(2);

    for (QComboBox* comboBox : Combos())
        QCOMPARE(comboBox->currentIndex(), 2);
    QCOMPARE(ui->subnetsMaskComboBox->currentText(), MaskItem("255.255.240.0", 20));
    QCOMPARE(ui->subnetBitsComboBox->currentText(), QString("4"));
    QCOMPARE(ui->maxSubnetsComboBox->currentText(), QString("14"));
    QCOMPARE(ui->hostBitsComboBox->currentText(), QString("12"));
    QCOMPARE(ui->maxHostsComboBox->currentText(), QString("4094"));

    QCOMPARE(CountSettingChanges(changes, OctetrySettings::SubnetPolicySetting), 1);
    QCOMPARE(changes.count(), 1);
    QCOMPARE(Settings()->GetSubnetPolicy(),
             IPv4SubnetPolicy(IPv4AddressClass(IPv4AddressClass::ClassB), 4, false, false));
    QCOMPARE(ui->subnetsTableView->model()->rowCount(), 14);
    QCOMPARE(ui->subnetsBitUsageEdit->toPlainText(),
             QString("10nnnnnn.nnnnnnnn.sssshhhh.hhhhhhhh"));
    // The lists were not rebuilt under the user's hand.
    QCOMPARE(ui->subnetsMaskComboBox->count(), 13);
}

void TstSubnetsTabController::bitUsageShowsOneLegend()
{
    TypeOver(ui->subnetsAddressEdit, "172.16.0.2");
    TypeOver(ui->subnetsAddressEdit, "172.16.0.3");
    ChooseMaskBits(24);
    QCOMPARE(ui->subnetsBitUsageLabel->text(),
             kCaption + " (<span style=\"color:navy\">n=Network</span>; "
                        "<span style=\"color:maroon\">s=Subnet</span>; "
                        "<span style=\"color:green\">h=Host</span>)");
    QVERIFY(ui->subnetsBitUsageLabel->isEnabled());
    QVERIFY(ui->subnetsBitUsageEdit->isEnabled());
    QCOMPARE(ui->subnetsBitUsageEdit->toPlainText(),
             QString("10nnnnnn.nnnnnnnn.ssssssss.hhhhhhhh"));
}

void TstSubnetsTabController::tableSelectsTheAddressesSubnet_data()
{
    QTest::addColumn<bool>("rfc1878");
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("selectedRow");

    QTest::newRow("with RFC 1878 172.16.37.5 selects row 2") << true << "172.16.37.5" << 16 << 2;
    QTest::newRow("without RFC 1878 172.16.37.5 selects row 1")
        << false << "172.16.37.5" << 14 << 1;
    QTest::newRow("with RFC 1878 172.16.255.9 selects the last row")
        << true << "172.16.255.9" << 16 << 15;
    QTest::newRow("without RFC 1878 the zero subnet selects nothing")
        << false << "172.16.0.1" << 14 << -1;
}

void TstSubnetsTabController::tableSelectsTheAddressesSubnet()
{
    QFETCH(bool, rfc1878);
    QFETCH(QString, address);
    QFETCH(int, rows);
    QFETCH(int, selectedRow);

    SetOptions(rfc1878, false);
    ChooseMaskBits(20);
    TypeOver(ui->subnetsAddressEdit, address);

    QAbstractItemModel* model = ui->subnetsTableView->model();
    QCOMPARE(model->rowCount(), rows);
    QCOMPARE(SelectedRow(), selectedRow);
    if (selectedRow >= 0)
    {
        const IPv4Address typed(address.toStdString(), IPv4Address::DottedDecimal);
        const IPv4SubnetPolicy policy = Settings()->GetSubnetPolicy();
        IPv4Address subnetId;
        IPv4Address broadcast;
        policy.GetSubnet(typed, policy.GetSubnetIndex(typed), subnetId, broadcast);
        QCOMPARE(model->data(model->index(selectedRow, 0)).toString(),
                 QString::fromStdString(subnetId.ToString(IPv4Address::DottedDecimal)));
        QCOMPARE(model->headerData(selectedRow, Qt::Vertical).toUInt(),
                 policy.GetSubnetIndex(typed));
    }
}

void TstSubnetsTabController::tableHeadersAndRows()
{
    SetOptions(true, false);
    // A policy stored from elsewhere is shown like one chosen here.
    Settings()->SetSubnetPolicy(
        IPv4SubnetPolicy(IPv4AddressClass(IPv4AddressClass::ClassB), 4, true, false));
    QCOMPARE(ui->subnetsMaskComboBox->currentText(), MaskItem("255.255.240.0", 20));
    QCOMPARE(ui->maxSubnetsComboBox->currentText(), QString("16"));
    QTableView* view = ui->subnetsTableView;
    QAbstractItemModel* model = view->model();
    QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QString("Subnet ID"));
    QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QString("Host Addresses"));
    QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), QString("Subnet Broadcast"));
    QCOMPARE(model->data(model->index(15, 0)).toString(), QString("172.16.240.0"));
    QCOMPARE(model->data(model->index(15, 1)).toString(),
             QString("172.16.240.1 - 172.16.255.254"));
    QCOMPARE(model->data(model->index(15, 2)).toString(), QString("172.16.255.255"));
    QCOMPARE(view->verticalHeader()->defaultSectionSize(), 17);
    QCOMPARE(view->verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);

    // The largest table: Class A with 23 subnet bits and both options.
    SetOptions(true, true);
    TypeOver(ui->subnetsAddressEdit, "10.200.3.4");
    ChooseMaskBits(31);
    QCOMPARE(model->rowCount(), 8388608);
    QCOMPARE(SelectedRow(), (200 << 15) | (3 << 7) | 2);
    QCOMPARE(model->data(model->index(SelectedRow(), 1)).toString(),
             QString("10.200.3.4 - 10.200.3.5"));
    QCOMPARE(model->data(model->index(SelectedRow(), 0)).toString(), QString("N/A"));
    // Centred, give or take the row the scroll steps snap to.
    const int centreRow = view->rowAt(view->viewport()->height() / 2);
    QVERIFY2(qAbs(centreRow - SelectedRow()) <= 1, qPrintable(QString::number(centreRow)));
}

void TstSubnetsTabController::addressWithoutSubnetsDisablesThePage_data()
{
    QTest::addColumn<QString>("address");
    QTest::newRow("loopback 127.0.0.1") << "127.0.0.1";
    QTest::newRow("multicast 224.0.0.1") << "224.0.0.1";
    QTest::newRow("an empty address") << "";
    QTest::newRow("an unfinished host name") << "host";
}

void TstSubnetsTabController::addressWithoutSubnetsDisablesThePage()
{
    QFETCH(QString, address);

    ChooseMaskBits(22);
    const IPv4SubnetPolicy before = Settings()->GetSubnetPolicy();
    TypeOver(ui->subnetsAddressEdit, address);

    QVERIFY(ui->subnetsAddressEdit->isEnabled());
    QVERIFY(ui->subnetsAddressLabel->isEnabled());
    QCOMPARE(ui->subnetsAddressEdit->text(), address);
    for (QComboBox* comboBox : Combos())
    {
        QVERIFY(!comboBox->isEnabled());
        QCOMPARE(comboBox->currentIndex(), -1);
    }
    QVERIFY(!ui->subnetsBitUsageLabel->isEnabled());
    QCOMPARE(ui->subnetsBitUsageLabel->text(), kCaption);
    QVERIFY(!ui->subnetsBitUsageEdit->isEnabled());
    QCOMPARE(ui->subnetsBitUsageEdit->toPlainText(), QString());
    QVERIFY(!ui->subnetsTableView->isEnabled());
    QCOMPARE(ui->subnetsTableView->model()->rowCount(), 0);
    // Clearing the boxes is no choice: a policy of the mask length stays stored
    // (typing may pass through addresses of other classes on the way).
    QVERIFY(Settings()->GetSubnetPolicy().IsValid());
    QCOMPARE(StoredMaskBits(), 22);

    TypeOver(ui->subnetsAddressEdit, "172.16.0.9");
    QCOMPARE(ui->subnetsMaskComboBox->currentData().value<IPv4SubnetPolicy>(), before);
    QVERIFY(ui->subnetsTableView->isEnabled());
    QCOMPARE(ui->subnetsBitUsageEdit->toPlainText().size(), 35);
}

void TstSubnetsTabController::hiddenPageCatchesUpWhenShown()
{
    TabController* controller = form->FindTabController(ui->subnetsTab);
    QVERIFY(controller != nullptr);

    ui->tabWidget->setCurrentWidget(ui->classesTab);
    ui->classesAddressEdit->selectAll();
    QTest::keyClicks(ui->classesAddressEdit, "192.168.7.9");
    Settings()->SetAllowOneHostBit(true);
    QVERIFY(controller->IsStale());
    QCOMPARE(ui->subnetsAddressEdit->text(), QString("172.16.0.1"));

    ui->tabWidget->setCurrentWidget(ui->subnetsTab);
    QVERIFY(!controller->IsStale());
    QCOMPARE(ui->subnetsAddressEdit->text(), QString("192.168.7.9"));
    QCOMPARE(ui->subnetsMaskComboBox->count(), 6);
    QCOMPARE(Settings()->GetSubnetPolicy().GetAddressClass(),
             IPv4AddressClass(IPv4AddressClass::ClassC));
}

void TstSubnetsTabController::missingPolicyLeavesThePageEmpty()
{
    TypeOver(ui->subnetsAddressEdit, "127.0.0.1");
    Settings()->SetSubnetPolicy(IPv4SubnetPolicy());
    QVERIFY(!Settings()->GetSubnetPolicy().IsValid());
    QCOMPARE(ui->subnetsBitUsageLabel->text(), kCaption);
    QCOMPARE(ui->subnetsBitUsageEdit->toPlainText(), QString());
    QCOMPARE(ui->subnetsTableView->model()->rowCount(), 0);

    // The first subnettable address brings a policy back: the first of its class.
    TypeOver(ui->subnetsAddressEdit, "10.0.0.1");
    QCOMPARE(Settings()->GetSubnetPolicy(),
             IPv4SubnetPolicy(IPv4AddressClass(IPv4AddressClass::ClassA), 2, false, false));
    QCOMPARE(ui->subnetsMaskComboBox->currentIndex(), 0);
    QCOMPARE(ui->subnetsTableView->model()->rowCount(), 2);
}

void TstSubnetsTabController::tableRefitsItsColumnsWhenShown()
{
    QTableView* table = ui->subnetsTableView;
    const int fitted = table->columnWidth(1);
    QVERIFY(fitted > 20);
    table->setColumnWidth(1, 5);

    // Leaving and reopening an up-to-date page updates nothing; only showing refits.
    ui->tabWidget->setCurrentWidget(ui->classesTab);
    ui->tabWidget->setCurrentWidget(ui->subnetsTab);
    QCOMPARE(table->columnWidth(1), fitted);
}

int main(int argc, char** argv)
{
    TestEnvironment environment;
    QApplication app(argc, argv);
    BrandingUtil::SetApplicationIdentity();
    TstSubnetsTabController test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_subnetstabcontroller.moc"
