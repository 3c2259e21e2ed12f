// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controllers/subnetstabcontroller.h"

#include "address/ipv4address.h"
#include "controllers/ipv4page.h"
#include "controllers/ipv4prefixrequest.h"
#include "controllers/tabcontrollerutil.h"
#include "ipv4/ipv4addressclass.h"
#include "ipv4/ipv4subnetpolicy.h"
#include "settings/octetrysettings.h"
#include "ui_octetrymainform.h"

#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QVariant>

namespace {
// The texts of one policy in the five boxes.
QStringList PolicyTexts(const IPv4SubnetPolicy& policy)
{
    quint8 maskBits = 0;
    quint8 subnetBits = 0;
    quint8 hostBits = 0;
    quint32 maxSubnets = 0;
    quint32 maxHosts = 0;
    policy.GetBitCounts(maskBits, subnetBits, hostBits);
    policy.GetMaxCounts(maxSubnets, maxHosts);
    return {TabControllerUtil::MaskText(policy.GetSubnetMask(), maskBits), QString::number(subnetBits),
            QString::number(maxSubnets), QString::number(hostBits), QString::number(maxHosts)};
}
} // namespace

SubnetsTabController::SubnetsTabController(const ControllerContext& context)
    : IPv4TabController(context),
      m_policyCombos({context.ui->subnetsMaskComboBox, context.ui->subnetBitsComboBox, context.ui->maxSubnetsComboBox,
                      context.ui->hostBitsComboBox, context.ui->maxHostsComboBox},
                     0)
{
}

QWidget* SubnetsTabController::GetTabPage()
{
    return GetUi()->subnetsTab;
}

void SubnetsTabController::GetAddressWidgets(QLineEdit** addressEdit, QToolButton** addressButton)
{
    if (addressEdit != nullptr)
        *addressEdit = GetUi()->subnetsAddressEdit;
    if (addressButton != nullptr)
        *addressButton = GetUi()->subnetsAddressToolButton;
}

bool SubnetsTabController::IsViewEnabled()
{
    const IPv4Address& address = GetSettings()->GetIPv4Address();
    return address.IsValid() && IPv4AddressClass::FromAddress(address).IsSubnettable();
}

QList<QObject*> SubnetsTabController::GetBlockedWidgets()
{
    return IPv4TabController::GetBlockedWidgets() + m_policyCombos.GetWidgets();
}

bool SubnetsTabController::IsSettingRelevant(OctetrySettings::Setting setting)
{
    return IPv4TabController::IsSettingRelevant(setting) || setting == OctetrySettings::AllowOneSubnetBitSetting
           || setting == OctetrySettings::AllowOneHostBitSetting || setting == OctetrySettings::SubnetPolicySetting;
}

void SubnetsTabController::InitializeView()
{
    IPv4TabController::InitializeView();
    Ui::OctetryMainForm* ui = GetUi();
    m_bitUsageCaption = ui->subnetsBitUsageLabel->text();

    m_policyCombos.Link();
    connect(m_policyCombos.GetValueBox(), &QComboBox::currentIndexChanged, this,
            &SubnetsTabController::on_maskComboBox_currentIndexChanged);

    ui->subnetsTableView->setModel(&m_subnetModel);
    TabControllerUtil::SetupTableView(ui->subnetsTableView);
    if (IPv4PrefixRequest* request = GetContext().prefixRequest)
        connect(request, &IPv4PrefixRequest::Changed, this, &SubnetsTabController::UpdateView);
}

void SubnetsTabController::DoUpdateView(QWidget* source)
{
    IPv4TabController::DoUpdateView(source);

    Ui::OctetryMainForm* ui = GetUi();
    OctetrySettings* settings = GetSettings();
    const IPv4Address address = settings->GetIPv4Address();
    const IPv4AddressClass addressClass = IPv4AddressClass::FromAddress(address);
    const bool subnettable = addressClass.IsSubnettable();

    // While the user is choosing in the mask box the lists stay as they are.
    if (source != m_policyCombos.GetValueBox() && subnettable) {
        const std::vector<IPv4SubnetPolicy> policies = GetPolicies(addressClass);
        m_policyCombos.Fill(policies, PolicyTexts);
        // A change of class or options keeps the mask length where the new list allows it.
        const int chosen = IPv4Page::ChoosePolicy(policies, settings->GetSubnetPolicy(), IPv4Page::SubnetMaskLength);
        settings->SetSubnetPolicy(policies[static_cast<std::size_t>(chosen)]);
        m_policyCombos.SetCurrentIndex(chosen);
    }

    // Only a store that never saw a subnettable address holds no policy.
    const IPv4SubnetPolicy& policy = settings->GetSubnetPolicy();
    const bool hasPolicy = policy.IsValid();
    TabControllerUtil::ShowBitUsage(hasPolicy ? policy.GetBitUsage() : BitUsage(), address, m_bitUsageCaption,
                                    ui->subnetsBitUsageLabel, ui->subnetsBitUsageEdit, subnettable && hasPolicy);
    ui->subnetsWildcardEdit->setText(subnettable && hasPolicy ? IPv4Page::WildcardText(policy.GetSubnetMask())
                                                              : QString());

    ShowSubnets(address, subnettable && hasPolicy);
    const IPv4PrefixRequest* request = GetContext().prefixRequest;
    TabControllerUtil::ShowNote(ui->subnetsMaskNoteLabel, request ? request->SubnetsNote() : QString());
}

std::vector<IPv4SubnetPolicy> SubnetsTabController::GetPolicies(const IPv4AddressClass& addressClass)
{
    return IPv4SubnetPolicy::GetPolicies(addressClass, GetSettings()->GetAllowOneSubnetBit(),
                                         GetSettings()->GetAllowOneHostBit());
}

void SubnetsTabController::ShowSubnets(const IPv4Address& address, bool show)
{
    if (!show) {
        m_subnetModel.Clear();
        return;
    }
    m_subnetModel.Reset(address, GetSettings()->GetSubnetPolicy());
    TabControllerUtil::ShowAddressRow(GetUi()->subnetsTableView, m_subnetModel.IndexOfAddress(address));
}

void SubnetsTabController::on_maskComboBox_currentIndexChanged(int index)
{
    // The user's own choice replaces the typed prefix.
    if (IPv4PrefixRequest* request = GetContext().prefixRequest)
        request->ForgetSubnets();
    IPv4Page::StoreItemValue(this, m_policyCombos.GetValueBox(), index, &OctetrySettings::SetSubnetPolicy);
}
