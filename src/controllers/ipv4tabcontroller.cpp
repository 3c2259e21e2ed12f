// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controllers/ipv4tabcontroller.h"

#include "controllers/ipv4addressentry.h"
#include "controllers/ipv4prefixrequest.h"
#include "controllers/tabcontrollerutil.h"
#include "settings/octetrysettings.h"

#include <QLineEdit>
#include <QToolButton>

IPv4TabController::IPv4TabController(const ControllerContext& context)
    : TabController(context)
{
}

IPv4TabController::~IPv4TabController() = default;

bool IPv4TabController::IsViewEnabled()
{
    return GetSettings()->GetIPv4Address().IsValid();
}

QList<QObject*> IPv4TabController::GetBlockedWidgets()
{
    QList<QObject*> widgets;
    if (QLineEdit* addressEdit = GetAddressEdit())
        widgets.append(addressEdit);
    return widgets;
}

void IPv4TabController::InitializeView()
{
    QLineEdit* addressEdit = nullptr;
    QToolButton* addressButton = nullptr;
    GetAddressWidgets(&addressEdit, &addressButton);
    if (addressEdit != nullptr) {
        connect(addressEdit, &QLineEdit::textChanged, this, &IPv4TabController::on_ipv4AddressEdit_textChanged);
        connect(addressEdit, &QLineEdit::editingFinished, this, &IPv4TabController::on_ipv4AddressEdit_editingFinished);
        // A prefix typed on any IPv4 page sets the masks of both mask pages.
        m_addressEntry = std::make_unique<IPv4AddressEntry>(this, addressEdit, [this](int prefixLength) {
            if (IPv4PrefixRequest* request = GetContext().prefixRequest)
                request->Apply(prefixLength);
        });
    }
    if (addressButton != nullptr)
        TabControllerUtil::SetupSystemAddressButton(addressButton, true);
}

void IPv4TabController::DoUpdateView(QWidget* source)
{
    QLineEdit* addressEdit = GetAddressEdit();
    if (m_addressEntry && addressEdit != source)
        m_addressEntry->ShowAddress();
    TabControllerUtil::SetPageEnabled(GetTabPage(), addressEdit, IsViewEnabled());
}

bool IPv4TabController::IsSettingRelevant(OctetrySettings::Setting setting)
{
    return setting == OctetrySettings::IPv4AddressSetting;
}

void IPv4TabController::on_ipv4AddressEdit_textChanged(const QString& text)
{
    if (m_addressEntry)
        m_addressEntry->OnTextChanged(text);
}

void IPv4TabController::on_ipv4AddressEdit_editingFinished()
{
    if (m_addressEntry)
        m_addressEntry->OnEditingFinished();
}

QLineEdit* IPv4TabController::GetAddressEdit()
{
    QLineEdit* addressEdit = nullptr;
    GetAddressWidgets(&addressEdit, nullptr);
    return addressEdit;
}
