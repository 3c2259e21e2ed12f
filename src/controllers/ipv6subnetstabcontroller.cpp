// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controllers/ipv6subnetstabcontroller.h"

#include "address/addressregistry.h"
#include "address/ipv6address.h"
#include "controllers/tabcontrollerutil.h"
#include "ipv6/ipv6subnetplan.h"
#include "settings/octetrysettings.h"
#include "ui_octetrymainform.h"
#include "widgets/largetableview.h"

#include <QComboBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace {
constexpr int kAddressBits = 128;
// SLAAC forms an address from a /64 (RFC 4862 5.5.3) and RFC 4193 hands out /48s.
constexpr int kSlaacPrefixLength = 64;
constexpr int kUniqueLocalPrefixLength = 48;

// Adds "/length" for each length from first to 128.
void FillLengths(QComboBox* comboBox, int first)
{
    comboBox->clear();
    for (int length = first; length <= kAddressBits; ++length)
        comboBox->addItem(QStringLiteral("/%1").arg(length));
}
} // namespace

IPv6SubnetsTabController::IPv6SubnetsTabController(const ControllerContext& context)
    : TabController(context),
      m_addressEntry(this, GetUi()->ipv6SubnetsAddressEdit)
{
}

QWidget* IPv6SubnetsTabController::GetTabPage()
{
    return GetUi()->ipv6SubnetsTab;
}

QList<QObject*> IPv6SubnetsTabController::GetBlockedWidgets()
{
    Ui::OctetryMainForm* ui = GetUi();
    return {ui->ipv6SubnetsAddressEdit, ui->ipv6PrefixLengthComboBox, ui->ipv6SubnetLengthComboBox};
}

bool IPv6SubnetsTabController::IsSettingRelevant(OctetrySettings::Setting setting)
{
    return setting == OctetrySettings::IPv6AddressSetting || setting == OctetrySettings::IPv6PrefixLengthSetting
           || setting == OctetrySettings::IPv6SubnetLengthSetting;
}

void IPv6SubnetsTabController::InitializeView()
{
    Ui::OctetryMainForm* ui = GetUi();
    connect(ui->ipv6SubnetsAddressEdit, &QLineEdit::textChanged, this,
            &IPv6SubnetsTabController::on_ipv6SubnetsAddressEdit_textChanged);
    connect(ui->ipv6SubnetsAddressEdit, &QLineEdit::editingFinished, this,
            &IPv6SubnetsTabController::on_ipv6SubnetsAddressEdit_editingFinished);
    TabControllerUtil::SetupSystemAddressButton(ui->ipv6SubnetsAddressToolButton, false);

    connect(ui->ipv6PrefixLengthComboBox, &QComboBox::currentIndexChanged, this,
            &IPv6SubnetsTabController::on_ipv6PrefixLengthComboBox_currentIndexChanged);
    connect(ui->ipv6SubnetLengthComboBox, &QComboBox::currentIndexChanged, this,
            &IPv6SubnetsTabController::on_ipv6SubnetLengthComboBox_currentIndexChanged);

    connect(ui->ipv6GenerateUlaButton, &QPushButton::clicked, this,
            &IPv6SubnetsTabController::on_ipv6GenerateUlaButton_clicked);
    connect(ui->ipv6AddressFromMacButton, &QPushButton::clicked, this,
            &IPv6SubnetsTabController::on_ipv6AddressFromMacButton_clicked);
    connect(ui->ipv6MacAddressEdit, &QLineEdit::returnPressed, this,
            &IPv6SubnetsTabController::on_ipv6AddressFromMacButton_clicked);
    connect(ui->ipv6MacAddressEdit, &QLineEdit::textChanged, this,
            [ui] { TabControllerUtil::ShowNote(ui->ipv6MacNoteLabel, {}); });

    LargeTableView* tableView = ui->ipv6SubnetsTableView;
    tableView->setModel(&m_subnetModel);
    TabControllerUtil::SetupTableView(tableView);
    // Three full IPv6 addresses are wider than the window: all columns stay in view, with the addresses'
    // middles elided until the window is widened.
    tableView->SetColumnsShareWidth(true);
    connect(tableView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &IPv6SubnetsTabController::on_ipv6SubnetsTableView_currentRowChanged);
}

void IPv6SubnetsTabController::DoUpdateView(QWidget* source)
{
    Ui::OctetryMainForm* ui = GetUi();
    const OctetrySettings* settings = GetSettings();
    const IPv6Address& address = settings->GetIPv6Address();
    if (source != ui->ipv6SubnetsAddressEdit)
        m_addressEntry.ShowAddress();
    // The note tells of the last address made from a MAC address, not of what came after.
    if (source != ui->ipv6AddressFromMacButton)
        TabControllerUtil::ShowNote(ui->ipv6MacNoteLabel, {});
    TabControllerUtil::SetPageEnabled(GetTabPage(), ui->ipv6SubnetsAddressEdit, address.IsValid());
    if (!address.IsValid()) {
        m_subnetModel.Reset(IPv6SubnetPlan());
        return;
    }

    const int prefixLength = settings->GetIPv6PrefixLength();
    const int subnetLength = std::max(settings->GetIPv6SubnetLength(), prefixLength);
    // Filled when first shown, so that start-up does not wait for it.
    if (ui->ipv6PrefixLengthComboBox->count() == 0)
        FillLengths(ui->ipv6PrefixLengthComboBox, 0);
    ui->ipv6PrefixLengthComboBox->setCurrentIndex(prefixLength);
    // The subnet lengths run from the prefix length; the count tells the list apart.
    QComboBox* subnetLengthComboBox = ui->ipv6SubnetLengthComboBox;
    if (subnetLengthComboBox->count() != kAddressBits + 1 - prefixLength)
        FillLengths(subnetLengthComboBox, prefixLength);
    subnetLengthComboBox->setCurrentIndex(subnetLength - prefixLength);

    const IPv6SubnetPlan plan(address, prefixLength, subnetLength);
    TabControllerUtil::ShowFact(ui->ipv6PrefixLabel, ui->ipv6PrefixEdit,
                                IPv6SubnetPlan::PrefixText(plan.GetFirst(), prefixLength));
    TabControllerUtil::ShowFact(ui->ipv6FirstAddressLabel, ui->ipv6FirstAddressEdit,
                                plan.GetFirst().ToString(IPv6Address::CompressedNotation));
    TabControllerUtil::ShowFact(ui->ipv6LastAddressLabel, ui->ipv6LastAddressEdit,
                                plan.GetLast().ToString(IPv6Address::CompressedNotation));
    TabControllerUtil::ShowFact(ui->ipv6AddressCountLabel, ui->ipv6AddressCountEdit,
                                IPv6SubnetPlan::PowerOfTwoText(kAddressBits - prefixLength));
    TabControllerUtil::ShowFact(ui->ipv6SubnetCountLabel, ui->ipv6SubnetCountEdit,
                                IPv6SubnetPlan::PowerOfTwoText(subnetLength - prefixLength));

    m_subnetModel.Reset(plan);
    TabControllerUtil::ShowAddressRow(ui->ipv6SubnetsTableView, m_subnetModel.IndexOfAddress());
    on_ipv6SubnetsTableView_currentRowChanged(ui->ipv6SubnetsTableView->currentIndex());
}

void IPv6SubnetsTabController::on_ipv6SubnetsAddressEdit_textChanged(const QString& text)
{
    m_addressEntry.OnTextChanged(text);
}

void IPv6SubnetsTabController::on_ipv6SubnetsAddressEdit_editingFinished()
{
    m_addressEntry.OnEditingFinished();
}

void IPv6SubnetsTabController::on_ipv6PrefixLengthComboBox_currentIndexChanged(int index)
{
    const ChangeSource changeSource(this, GetUi()->ipv6PrefixLengthComboBox);
    GetSettings()->SetIPv6PrefixLength(index);
}

void IPv6SubnetsTabController::on_ipv6SubnetLengthComboBox_currentIndexChanged(int index)
{
    // A cleared box has no length to store.
    if (index < 0)
        return;
    const ChangeSource changeSource(this, GetUi()->ipv6SubnetLengthComboBox);
    GetSettings()->SetIPv6SubnetLength(GetSettings()->GetIPv6PrefixLength() + index);
}

void IPv6SubnetsTabController::on_ipv6SubnetsTableView_currentRowChanged(const QModelIndex& current)
{
    // Zones are delegated per nibble: only lengths of whole hex digits have one.
    const int subnetLength = m_subnetModel.GetPlan().GetSubnetLength();
    IPv6Address first;
    IPv6Address last;
    std::string zone;
    if (subnetLength % 4 == 0 && m_subnetModel.GetSubnet(current.row(), first, last))
        zone = AddressRegistry::ReverseDnsName(first, subnetLength);
    Ui::OctetryMainForm* ui = GetUi();
    TabControllerUtil::ShowFact(ui->ipv6ReverseZoneLabel, ui->ipv6ReverseZoneEdit, zone, zone);
}

void IPv6SubnetsTabController::on_ipv6GenerateUlaButton_clicked()
{
    OctetrySettings* settings = GetSettings();
    settings->SetIPv6Address(IPv6SubnetPlan::RandomUniqueLocalPrefix());
    settings->SetIPv6PrefixLength(kUniqueLocalPrefixLength);
}

void IPv6SubnetsTabController::on_ipv6AddressFromMacButton_clicked()
{
    Ui::OctetryMainForm* ui = GetUi();
    AddressRegistry::MacAddress mac{};
    if (!AddressRegistry::ParseMacAddress(ui->ipv6MacAddressEdit->text().trimmed().toStdString(), mac)) {
        TabControllerUtil::ShowNote(
            ui->ipv6MacNoteLabel,
            tr("Not a MAC address: write it as 00:11:22:33:44:55, 00-11-22-33-44-55 or 0011.2233.4455"));
        return;
    }
    OctetrySettings* settings = GetSettings();
    const int prefixLength = settings->GetIPv6PrefixLength();
    TabControllerUtil::ShowNote(
        ui->ipv6MacNoteLabel,
        prefixLength == kSlaacPrefixLength
            ? QString()
            : tr("The prefix is /%1, not /64: the address keeps its first 64 bits").arg(prefixLength));
    const ChangeSource changeSource(this, ui->ipv6AddressFromMacButton);
    settings->SetIPv6Address(AddressRegistry::Eui64Address(settings->GetIPv6Address(), mac));
}
