// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controllers/conversionstabcontroller.h"

#include "address/addressregistry.h"
#include "controllers/tabcontrollerutil.h"
#include "ipv4/ipv4addressclass.h"
#include "settings/octetrysettings.h"
#include "ui_octetrymainform.h"
#include "widgets/fittingvalidator.h"
#include "widgets/ipv4addressvalidator.h"
#include "widgets/uint32validator.h"

#include <QLineEdit>

namespace {
QString ToText(const IPv4Address& address, const IPv4Address::Notation& notation)
{
    return QString::fromStdString(address.ToString(notation));
}

bool IsMulticast(const IPv4Address& address)
{
    return address.IsValid() && IPv4AddressClass::FromAddress(address).GetClassID() == IPv4AddressClass::ClassD;
}

// 01:00:5E followed by the low 23 bits of the address.
QString EthernetMulticastText(const IPv4Address& address)
{
    const quint32 value = address.GetValue();
    return QString::fromStdString(
        AddressRegistry::MacAddressText({0x01, 0x00, 0x5e, static_cast<quint8>((value >> 16) & 0x7f),
                                         static_cast<quint8>(value >> 8), static_cast<quint8>(value)}));
}
} // namespace

ConversionsTabController::ConversionsTabController(const ControllerContext& context)
    : IPv4TabController(context)
{
    Ui::OctetryMainForm* ui = GetUi();
    m_notationEdits = {
        {ui->decEdit, IPv4Address::Decimal},     {ui->dottedBinEdit, IPv4Address::DottedBinary},
        {ui->binEdit, IPv4Address::Binary},      {ui->dottedHexEdit, IPv4Address::DottedHexadecimal},
        {ui->hexEdit, IPv4Address::Hexadecimal}, {ui->dottedOctEdit, IPv4Address::DottedOctal},
        {ui->octEdit, IPv4Address::Octal},
    };
}

QWidget* ConversionsTabController::GetTabPage()
{
    return GetUi()->conversionsTab;
}

void ConversionsTabController::GetAddressWidgets(QLineEdit** addressEdit, QToolButton** addressButton)
{
    if (addressEdit != nullptr)
        *addressEdit = GetUi()->dottedDecEdit;
    if (addressButton != nullptr)
        *addressButton = GetUi()->conversionsAddressToolButton;
}

bool ConversionsTabController::IsViewEnabled()
{
    return true;
}

QList<QObject*> ConversionsTabController::GetBlockedWidgets()
{
    QList<QObject*> widgets = IPv4TabController::GetBlockedWidgets();
    for (const NotationEdit& entry : m_notationEdits)
        widgets.append(entry.edit);
    return widgets;
}

void ConversionsTabController::InitializeView()
{
    IPv4TabController::InitializeView();
    for (const NotationEdit& entry : m_notationEdits) {
        QValidator* validator = nullptr;
        if (entry.notation.dotted)
            validator = new IPv4AddressValidator(entry.notation.radix, this);
        else
            validator = new UInt32Validator(entry.notation.radix, this);
        entry.edit->setValidator(validator);
        FittingValidator::Install(entry.edit);
        connect(entry.edit, &QLineEdit::textChanged, this, &ConversionsTabController::on_notationEdit_textChanged);
        connect(entry.edit, &QLineEdit::editingFinished, this,
                &ConversionsTabController::on_notationEdit_editingFinished);
    }
    GetUi()->octContainerWidget->setVisible(GetSettings()->GetShowOctalConversions());
}

void ConversionsTabController::DoUpdateView(QWidget* source)
{
    IPv4TabController::DoUpdateView(source);

    const IPv4Address& address = GetSettings()->GetIPv4Address();
    for (const NotationEdit& entry : m_notationEdits)
        if (entry.edit != source)
            entry.edit->setText(ToText(address, entry.notation));

    Ui::OctetryMainForm* ui = GetUi();
    const bool multicast = IsMulticast(address);
    ui->multicastLabel->setEnabled(multicast);
    ui->multicastEdit->setEnabled(multicast);
    ui->multicastEdit->setText(multicast ? EthernetMulticastText(address) : QString());
    TabControllerUtil::ShowFact(ui->addressSpaceLabel, ui->addressSpaceEdit, AddressRegistry::IPv4AddressSpace(address),
                                AddressRegistry::IPv4AddressSpaceDetails(address));
    TabControllerUtil::ShowFact(ui->reverseDnsLabel, ui->reverseDnsEdit,
                                address.IsValid() ? AddressRegistry::ReverseDnsName(address) : std::string());
}

void ConversionsTabController::on_notationEdit_textChanged(const QString& text)
{
    QLineEdit* edit = qobject_cast<QLineEdit*>(sender());
    if (edit == nullptr)
        return;
    const IPv4Address address(text.toStdString(), GetNotation(edit));
    const ChangeSource changeSource(this, edit);
    GetSettings()->SetIPv4Address(address);
}

void ConversionsTabController::on_notationEdit_editingFinished()
{
    QLineEdit* edit = qobject_cast<QLineEdit*>(sender());
    if (edit == nullptr)
        return;
    edit->setText(ToText(GetSettings()->GetIPv4Address(), GetNotation(edit)));
}

IPv4Address::Notation ConversionsTabController::GetNotation(const QLineEdit* edit) const
{
    for (const NotationEdit& entry : m_notationEdits)
        if (entry.edit == edit)
            return entry.notation;
    return IPv4Address::DottedDecimal;
}
