#include "controllers/cidrtabcontroller.h"

#include <vector>

#include <QComboBox>
#include <QIcon>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QVariant>

#include "address/ipv4address.h"
#include "app/mainform.h"
#include "controllers/tabcontrollerutil.h"
#include "ipv4/ipv4addressblock.h"
#include "ipv4/ipv4cidrpolicy.h"
#include "settings/octetrysettings.h"
#include "ui_octetrymainform.h"

namespace
{
// B + c, read from the members so that it never throws.
int CidrMaskLength(const IPv4CidrPolicy& policy)
{
    return policy.GetAddressBlock().GetMaskBits() + policy.GetCidrBits();
}

// Whether policy divides block, i.e. is one of GetPolicies(block).
bool IsPolicyOf(const IPv4CidrPolicy& policy, const IPv4AddressBlock& block)
{
    return policy.IsValid() && policy.GetAddressBlock() == block && CidrMaskLength(policy) <= 32;
}

// The policy to keep when the list changes: the same CIDR mask length or
// the next longer one, clamped to the list; the first without a stored policy.
std::size_t ChoosePolicy(const std::vector<IPv4CidrPolicy>& policies, const IPv4CidrPolicy& stored)
{
    if (!stored.IsValid())
        return 0;
    const int length = CidrMaskLength(stored);
    for (std::size_t index = 0; index < policies.size(); ++index)
        if (CidrMaskLength(policies[index]) >= length)
            return index;
    return policies.size() - 1;
}

template <typename T>
T ItemValue(const QComboBox* comboBox, int index)
{
    return comboBox->itemData(index).value<T>();
}

// Stores the value of the chosen item, naming the combo box as the source.
template <typename T>
void StoreItemValue(Controller* controller, QComboBox* comboBox, int index,
                    void (OctetrySettings::*setter)(const T&))
{
    const T value = ItemValue<T>(comboBox, index);
    // Only a cleared selection yields an invalid value; there is nothing to store.
    if (!value.IsValid())
        return;
    const Controller::ChangeSource changeSource(controller, comboBox);
    (Controller::GetSettings()->*setter)(value);
}
} // namespace

CidrTabController::CidrTabController(MainForm* parent)
    : IPv4TabController(parent),
      m_policyComboBoxes{GetUi()->cidrBitsComboBox, GetUi()->cidrMaxNetworksComboBox,
                         GetUi()->cidrMaskComboBox}
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
    for (QComboBox* comboBox : m_policyComboBoxes)
        widgets.append(comboBox);
    return widgets;
}

bool CidrTabController::IsSettingRelevant(OctetrySettings::Setting setting)
{
    return IPv4TabController::IsSettingRelevant(setting)
           || setting == OctetrySettings::CidrAddressBlockSetting
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
    blockComboBox->setMaxVisibleItems(int(blocks.size()));
    connect(blockComboBox, &QComboBox::currentIndexChanged, this,
            &CidrTabController::on_addressBlockMaskComboBox_currentIndexChanged);

    // A choice in any of the three describes the same policy, so it moves the other two.
    for (QComboBox* sender : m_policyComboBoxes)
        for (QComboBox* receiver : m_policyComboBoxes)
            if (sender != receiver)
                connect(sender, &QComboBox::currentIndexChanged, receiver, &QComboBox::setCurrentIndex);
    connect(ui->cidrMaskComboBox, &QComboBox::currentIndexChanged, this,
            &CidrTabController::on_cidrMaskComboBox_currentIndexChanged);

    m_bitUsageCaption = ui->cidrBitUsageLabel->text();

    ui->cidrTableView->setModel(&m_routeModel);
    TabControllerUtil::SetupTableView(ui->cidrTableView);
}

bool CidrTabController::RebuildPolicyComboBoxes(const IPv4AddressBlock& block)
{
    // The invalid block has no policies of its own.
    const std::vector<IPv4CidrPolicy> policies =
        block.IsValid() ? IPv4CidrPolicy::GetPolicies(block) : std::vector<IPv4CidrPolicy>();

    for (QComboBox* comboBox : m_policyComboBoxes)
    {
        comboBox->clear();
        comboBox->setMaxVisibleItems(int(policies.size()));
    }
    if (policies.empty())
        return false;

    QComboBox* bitsComboBox = m_policyComboBoxes[0];
    QComboBox* maxNetworksComboBox = m_policyComboBoxes[1];
    QComboBox* maskComboBox = m_policyComboBoxes[2];
    for (const IPv4CidrPolicy& policy : policies)
    {
        quint32 maxNetworks = 0;
        quint32 addressesPerNetwork = 0;
        policy.GetMaxCounts(maxNetworks, addressesPerNetwork);
        bitsComboBox->addItem(QIcon(), QString::number(policy.GetCidrBits()));
        maxNetworksComboBox->addItem(QIcon(), QString::number(maxNetworks));
        maskComboBox->addItem(QIcon(), TabControllerUtil::MaskText(policy.GetCidrMask(), CidrMaskLength(policy)),
                              QVariant::fromValue(policy));
    }

    const std::size_t chosen = ChoosePolicy(policies, GetSettings()->GetCidrPolicy());
    GetSettings()->SetCidrPolicy(policies[chosen]);
    for (QComboBox* comboBox : m_policyComboBoxes)
        comboBox->setCurrentIndex(int(chosen));
    return true;
}

void CidrTabController::DoUpdateView(QWidget* source)
{
    IPv4TabController::DoUpdateView(source);

    Ui::OctetryMainForm* ui = GetUi();
    const IPv4Address address = GetSettings()->GetIPv4Address();
    const IPv4AddressBlock block = GetSettings()->GetCidrAddressBlock();
    const bool valid = address.IsValid();
    QComboBox* blockComboBox = ui->addressBlockMaskComboBox;

    if (valid && source != blockComboBox)
    {
        int found = -1;
        for (int index = 0; index < blockComboBox->count() && found < 0; ++index)
            if (ItemValue<IPv4AddressBlock>(blockComboBox, index) == block)
                found = index;
        blockComboBox->setCurrentIndex(found);
    }
    if (valid)
    {
        QString rangeText;
        if (block.IsValid())
        {
            IPv4Address first;
            IPv4Address last;
            block.GetRange(address, first, last);
            rangeText = TabControllerUtil::RangeText(first, last);
        }
        ui->addressBlockRangeEdit->setText(rangeText);
    }
    if (valid && source != ui->cidrMaskComboBox && !RebuildPolicyComboBoxes(block))
    {
        // A block of one address (/32) cannot be divided: nothing to choose.
        for (QComboBox* comboBox : m_policyComboBoxes)
            comboBox->setEnabled(false);
    }

    // The stored policy outlives a block without policies; it is shown only
    // while it divides the stored block.
    const IPv4CidrPolicy policy = GetSettings()->GetCidrPolicy();
    const bool showPolicy = valid && IsPolicyOf(policy, block);
    TabControllerUtil::ShowBitUsage(showPolicy ? policy.GetBitUsage() : BitUsage(), address, m_bitUsageCaption,
                                    ui->cidrBitUsageLabel, ui->cidrBitUsageEdit, showPolicy);

    if (!showPolicy)
    {
        m_routeModel.Clear();
        return;
    }
    QTableView* tableView = ui->cidrTableView;
    m_routeModel.Reset(address, policy);
    // The view lays out a reset model only later; scrolling now would clamp to
    // the scroll range of the previous row count.
    tableView->doItemsLayout();
    const QModelIndex current = m_routeModel.IndexOfAddress(address);
    tableView->selectionModel()->select(current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    tableView->scrollTo(current, QAbstractItemView::PositionAtCenter);
    TabControllerUtil::ResizeColumnsToContents(tableView);
}

void CidrTabController::on_addressBlockMaskComboBox_currentIndexChanged(int index)
{
    StoreItemValue(this, GetUi()->addressBlockMaskComboBox, index, &OctetrySettings::SetCidrAddressBlock);
}

void CidrTabController::on_cidrMaskComboBox_currentIndexChanged(int index)
{
    StoreItemValue(this, GetUi()->cidrMaskComboBox, index, &OctetrySettings::SetCidrPolicy);
}
