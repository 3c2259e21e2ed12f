// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controllers/cidrtabcontroller.h"

#include "address/ipv4address.h"
#include "controllers/ipv4page.h"
#include "controllers/ipv4prefixrequest.h"
#include "controllers/tabcontrollerutil.h"
#include "ipv4/ipv4addressblock.h"
#include "ipv4/ipv4cidrpolicy.h"
#include "settings/octetrysettings.h"
#include "ui_octetrymainform.h"

#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QVariant>

#include <vector>

namespace {
using IPv4Page::CidrMaskLength;

// Whether policy divides block, i.e. is one of GetPolicies(block).
bool IsPolicyOf(const IPv4CidrPolicy& policy, const IPv4AddressBlock& block)
{
    return policy.IsValid() && policy.GetAddressBlock() == block && CidrMaskLength(policy) <= 32;
}
} // namespace

CidrTabController::CidrTabController(const ControllerContext& context)
    : IPv4TabController(context),
      m_policyCombos({context.ui->cidrBitsComboBox, context.ui->cidrMaxNetworksComboBox, context.ui->cidrMaskComboBox},
                     2)
{
}

QWidget* CidrTabController::GetTabPage()
{
    return GetUi()->cidrTab;
}

void CidrTabController::GetAddressWidgets(QLineEdit** addressEdit, QToolButton** addressButton)
{
    if (addressEdit != nullptr)
        *addressEdit = GetUi()->cidrAddressEdit;
    if (addressButton != nullptr)
        *addressButton = GetUi()->cidrAddressToolButton;
}

QList<QObject*> CidrTabController::GetBlockedWidgets()
{
    QList<QObject*> widgets = IPv4TabController::GetBlockedWidgets();
    widgets.append(GetUi()->addressBlockMaskComboBox);
    return widgets + m_policyCombos.GetWidgets();
}

bool CidrTabController::IsSettingRelevant(OctetrySettings::Setting setting)
{
    return IPv4TabController::IsSettingRelevant(setting) || setting == OctetrySettings::CidrAddressBlockSetting
           || setting == OctetrySettings::CidrPolicySetting;
}

void CidrTabController::InitializeView()
{
    IPv4TabController::InitializeView();
    Ui::OctetryMainForm* ui = GetUi();

    QComboBox* blockComboBox = ui->addressBlockMaskComboBox;
    const std::vector<IPv4AddressBlock> blocks = IPv4AddressBlock::GetBlocks();
    for (const IPv4AddressBlock& block : blocks)
        blockComboBox->addItem(QIcon(), TabControllerUtil::MaskText(block.GetMask(), block.GetMaskBits()),
                               QVariant::fromValue(block));
    blockComboBox->setMaxVisibleItems(static_cast<int>(blocks.size()));
    connect(blockComboBox, &QComboBox::currentIndexChanged, this,
            &CidrTabController::on_addressBlockMaskComboBox_currentIndexChanged);

    m_policyCombos.Link();
    connect(ui->cidrMaskComboBox, &QComboBox::currentIndexChanged, this,
            &CidrTabController::on_cidrMaskComboBox_currentIndexChanged);

    m_bitUsageCaption = ui->cidrBitUsageLabel->text();

    ui->cidrTableView->setModel(&m_routeModel);
    TabControllerUtil::SetupTableView(ui->cidrTableView);
    if (IPv4PrefixRequest* request = GetContext().prefixRequest)
        connect(request, &IPv4PrefixRequest::Changed, this, &CidrTabController::UpdateView);
}

bool CidrTabController::RebuildPolicyComboBoxes(const IPv4AddressBlock& block)
{
    // The invalid block has no policies of its own.
    const std::vector<IPv4CidrPolicy> policies =
        block.IsValid() ? IPv4CidrPolicy::GetPolicies(block) : std::vector<IPv4CidrPolicy>();

    m_policyCombos.Fill(policies, [](const IPv4CidrPolicy& policy) {
        quint32 maxNetworks = 0;
        quint32 addressesPerNetwork = 0;
        policy.GetMaxCounts(maxNetworks, addressesPerNetwork);
        return QStringList{QString::number(policy.GetCidrBits()), QString::number(maxNetworks),
                           TabControllerUtil::MaskText(policy.GetCidrMask(), CidrMaskLength(policy))};
    });
    if (policies.empty())
        return false;

    // The same CIDR mask length or the next longer one.
    const int chosen = IPv4Page::ChoosePolicy(policies, GetSettings()->GetCidrPolicy(), CidrMaskLength);
    GetSettings()->SetCidrPolicy(policies[static_cast<std::size_t>(chosen)]);
    m_policyCombos.SetCurrentIndex(chosen);
    return true;
}

void CidrTabController::DoUpdateView(QWidget* source)
{
    IPv4TabController::DoUpdateView(source);

    Ui::OctetryMainForm* ui = GetUi();
    const IPv4PrefixRequest* request = GetContext().prefixRequest;
    TabControllerUtil::ShowNote(ui->cidrMaskNoteLabel, request ? request->CidrNote() : QString());
    const IPv4Address address = GetSettings()->GetIPv4Address();
    const IPv4AddressBlock block = GetSettings()->GetCidrAddressBlock();
    const bool valid = address.IsValid();
    QComboBox* blockComboBox = ui->addressBlockMaskComboBox;

    if (valid && source != blockComboBox)
        IPv4Page::SelectItem(blockComboBox, block);
    if (valid) {
        QString rangeText;
        if (block.IsValid()) {
            IPv4Address first;
            IPv4Address last;
            block.GetRange(address, first, last);
            rangeText = TabControllerUtil::RangeText(first, last);
        }
        ui->addressBlockRangeEdit->setText(rangeText);
    }
    if (valid && source != ui->cidrMaskComboBox && !RebuildPolicyComboBoxes(block)) {
        // A block of one address (/32) cannot be divided: nothing to choose.
        m_policyCombos.SetEnabled(false);
    }

    // The stored policy outlives a block without policies; it is shown only
    // while it divides the stored block.
    const IPv4CidrPolicy policy = GetSettings()->GetCidrPolicy();
    const bool showPolicy = valid && IsPolicyOf(policy, block);
    TabControllerUtil::ShowBitUsage(showPolicy ? policy.GetBitUsage() : BitUsage(), address, m_bitUsageCaption,
                                    ui->cidrBitUsageLabel, ui->cidrBitUsageEdit, showPolicy);

    ui->cidrWildcardEdit->setText(showPolicy ? IPv4Page::WildcardText(policy.GetCidrMask()) : QString());
    if (!showPolicy) {
        m_routeModel.Clear();
        return;
    }
    m_routeModel.Reset(address, policy);
    TabControllerUtil::ShowAddressRow(ui->cidrTableView, m_routeModel.IndexOfAddress(address));
}

void CidrTabController::on_addressBlockMaskComboBox_currentIndexChanged(int index)
{
    ForgetTypedPrefix();
    IPv4Page::StoreItemValue(this, GetUi()->addressBlockMaskComboBox, index, &OctetrySettings::SetCidrAddressBlock);
}

void CidrTabController::on_cidrMaskComboBox_currentIndexChanged(int index)
{
    ForgetTypedPrefix();
    IPv4Page::StoreItemValue(this, GetUi()->cidrMaskComboBox, index, &OctetrySettings::SetCidrPolicy);
}

void CidrTabController::ForgetTypedPrefix()
{
    // The user's own choice replaces the typed prefix.
    if (IPv4PrefixRequest* request = GetContext().prefixRequest)
        request->ForgetCidr();
}
