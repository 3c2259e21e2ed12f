// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controllers/classestabcontroller.h"

#include "address/ipv4address.h"
#include "controllers/ipv4page.h"
#include "controllers/tabcontrollerutil.h"
#include "ipv4/ipv4addressclass.h"
#include "settings/octetrysettings.h"
#include "ui_octetrymainform.h"

#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QVariant>

ClassesTabController::ClassesTabController(const ControllerContext& context)
    : IPv4TabController(context)
{
}

QWidget* ClassesTabController::GetTabPage()
{
    return GetUi()->classesTab;
}

void ClassesTabController::GetAddressWidgets(QLineEdit** addressEdit, QToolButton** addressButton)
{
    if (addressEdit != nullptr)
        *addressEdit = GetUi()->classesAddressEdit;
    if (addressButton != nullptr)
        *addressButton = GetUi()->classesAddressToolButton;
}

QList<QObject*> ClassesTabController::GetBlockedWidgets()
{
    QList<QObject*> widgets = IPv4TabController::GetBlockedWidgets();
    widgets.append(GetUi()->classesComboBox);
    return widgets;
}

void ClassesTabController::InitializeView()
{
    IPv4TabController::InitializeView();
    Ui::OctetryMainForm* ui = GetUi();
    m_bitUsageCaption = ui->classBitUsageLabel->text();

    QComboBox* comboBox = ui->classesComboBox;
    for (const IPv4AddressClass& addressClass : IPv4AddressClass::GetClasses())
        comboBox->insertItem(comboBox->count(), QIcon(), QString::fromStdString(addressClass.GetName()),
                             QVariant::fromValue(addressClass));
    // Connected only now, so that filling the list reports no choice.
    connect(comboBox, &QComboBox::currentIndexChanged, this,
            &ClassesTabController::on_classesComboBox_currentIndexChanged);
}

void ClassesTabController::DoUpdateView(QWidget* source)
{
    IPv4TabController::DoUpdateView(source);

    Ui::OctetryMainForm* ui = GetUi();
    const IPv4Address& address = GetSettings()->GetIPv4Address();
    const IPv4AddressClass addressClass = IPv4AddressClass::FromAddress(address);
    const bool valid = addressClass.IsValid();
    QComboBox* comboBox = ui->classesComboBox;

    const IPv4AddressClass currentClass = IPv4Page::ItemValue<IPv4AddressClass>(comboBox, comboBox->currentIndex());
    if (valid && source != comboBox && currentClass != addressClass) {
        IPv4Page::SelectItem(comboBox, addressClass);
    }
    if (valid)
        ui->classAddressRangeEdit->setText(
            TabControllerUtil::RangeText(addressClass.GetFirstAddress(), addressClass.GetLastAddress()));

    TabControllerUtil::ShowBitUsage(addressClass.GetBitUsage(), address, m_bitUsageCaption, ui->classBitUsageLabel,
                                    ui->classBitUsageEdit, valid);
}

void ClassesTabController::on_classesComboBox_currentIndexChanged(int index)
{
    const IPv4AddressClass addressClass = IPv4Page::ItemValue<IPv4AddressClass>(GetUi()->classesComboBox, index);
    // Only a cleared list yields no class; there is nothing to move the address into.
    if (!addressClass.IsValid())
        return;
    IPv4Address address = GetSettings()->GetIPv4Address();
    if (address.IsValid())
        addressClass.ClampAddress(address);
    else
        address = addressClass.GetFirstAddress();

    const ChangeSource changeSource(this, GetUi()->classesComboBox);
    GetSettings()->SetIPv4Address(address);
}
