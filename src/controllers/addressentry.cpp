// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controllers/addressentry.h"

#include "address/addressprefix.h"
#include "address/hostname.h"
#include "controllers/hostlookup.h"
#include "controllers/lookupscheduler.h"
#include "controllers/tabcontroller.h"
#include "controllers/tabcontrollerutil.h"
#include "widgets/fittingvalidator.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QLineEdit>
#include <QMessageBox>

AddressEntry::AddressEntry(TabController* controller, QLineEdit* edit, const AddressEntryFamily& family,
                           PrefixLengthSink applyPrefixLength)
    : m_controller(controller),
      m_edit(edit),
      m_family(family),
      m_applyPrefixLength(std::move(applyPrefixLength)),
      m_lookupScheduler(new LookupScheduler(edit))
{
    FittingValidator::Install(edit, FittingValidator::addressTextLimit);
}

void AddressEntry::ShowAddress()
{
    m_lookupScheduler->Cancel();
    m_text = m_family.storedText();
    m_edit->setText(m_text);
}

void AddressEntry::OnTextChanged(const QString& text)
{
    m_lookupScheduler->Cancel();
    const AddressPrefix entry = m_family.split(text.toStdString());
    {
        const Controller::ChangeSource changeSource(m_controller, m_edit);
        m_family.store(entry.form == AddressPrefix::Form::Bad ? std::string() : entry.addressText);
    }
    // A prefix is applied once it is complete: a paste brings it whole, typing
    // waits for Return or leaving the edit.
    const bool pasted = TabControllerUtil::IsPasted(m_text, text);
    m_text = text;
    if (pasted)
        ApplyPrefix();
}

void AddressEntry::OnEditingFinished()
{
    if (!m_family.isStoredValid()) {
        const std::string hostName = HostName::ToAscii(m_edit->text().trimmed().toStdString());
        if (!hostName.empty())
            m_lookupScheduler->Schedule(m_controller->GetTabPage(), QString::fromStdString(hostName),
                                        [this](const QHostInfo& hostInfo) { OnLookupAnswer(hostInfo); });
        return;
    }
    ApplyPrefix();
    ShowAddress();
}

void AddressEntry::OnLookupAnswer(const QHostInfo& hostInfo)
{
    if (m_family.isStoredValid())
        return;
    QString errorText;
    const QHostAddress address = HostLookup::FirstAddress(
        hostInfo, m_family.protocol, QCoreApplication::translate(m_family.context, m_family.noAddressText), errorText);
    if (address.isNull()) {
        QMessageBox::warning(nullptr, QCoreApplication::translate(m_family.context, m_family.failureTitle), errorText,
                             QMessageBox::Ok);
        return;
    }
    m_family.storeResolved(address);
    ShowAddress();
}

void AddressEntry::ApplyPrefix()
{
    const AddressPrefix entry = m_family.split(m_edit->text().toStdString());
    if (entry.form == AddressPrefix::Form::Prefix && m_family.isStoredValid()) {
        // The edit keeps the text until it is left.
        const Controller::ChangeSource changeSource(m_controller, m_edit);
        m_applyPrefixLength(entry.prefixLength);
    }
}
