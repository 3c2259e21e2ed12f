#include "controllers/ipv4tabcontroller.h"

#include "address/addressprefix.h"
#include "address/ipv4address.h"
#include "controllers/hostlookup.h"
#include "controllers/ipv4page.h"
#include "controllers/lookupscheduler.h"
#include "controllers/tabcontrollerutil.h"
#include "settings/octetrysettings.h"
#include "widgets/fittingvalidator.h"

#include <QHostAddress>
#include <QLineEdit>
#include <QMessageBox>
#include <QToolButton>

namespace {
bool ContainsLetter(const QString& text)
{
    for (const QChar c : text)
        if (c.isLetter())
            return true;
    return false;
}

AddressPrefix PrefixEntry(const QString& text)
{
    return AddressPrefix::SplitIPv4(text.toStdString());
}

// The first IPv4 answer of a host name, or an invalid address with the
// reason in errorText.
IPv4Address ResolveIPv4(const QString& hostName, QString& errorText)
{
    const QHostAddress address = HostLookup::FirstAddress(
        hostName, QAbstractSocket::IPv4Protocol,
        IPv4TabController::tr("No IPv4 addresses are available for this host name"), errorText);
    return address.isNull() ? IPv4Address() : IPv4Address(address.toIPv4Address());
}
} // namespace

IPv4TabController::IPv4TabController(const ControllerContext& context)
    : TabController(context)
{
}

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
        FittingValidator::Install(addressEdit, FittingValidator::addressTextLimit);
        m_lookupScheduler = new LookupScheduler(addressEdit);
    }
    if (addressButton != nullptr)
        TabControllerUtil::SetupSystemAddressButton(addressButton, true);
}

void IPv4TabController::DoUpdateView(QWidget* source)
{
    QLineEdit* addressEdit = GetAddressEdit();
    if (addressEdit != nullptr && addressEdit != source) {
        addressEdit->setText(IPv4Page::DottedDecimal(GetSettings()->GetIPv4Address()));
        m_addressText = addressEdit->text();
    }
    TabControllerUtil::SetPageEnabled(GetTabPage(), addressEdit, IsViewEnabled());
}

bool IPv4TabController::IsSettingRelevant(OctetrySettings::Setting setting)
{
    return setting == OctetrySettings::IPv4AddressSetting;
}

void IPv4TabController::ApplyPrefixLength(int /*prefixLength*/) {}

void IPv4TabController::ApplyPrefixOf(QLineEdit* addressEdit)
{
    const AddressPrefix entry = PrefixEntry(addressEdit->text());
    if (entry.form == AddressPrefix::Form::Prefix && GetSettings()->GetIPv4Address().IsValid()) {
        // The edit keeps the text until it is left.
        const ChangeSource changeSource(this, addressEdit);
        ApplyPrefixLength(entry.prefixLength);
    }
}

void IPv4TabController::on_ipv4AddressEdit_textChanged(const QString& text)
{
    const AddressPrefix entry = PrefixEntry(text);
    const IPv4Address address = entry.form == AddressPrefix::Form::Bad
                                    ? IPv4Address()
                                    : IPv4Address(entry.addressText, IPv4Address::DottedDecimal);
    QLineEdit* addressEdit = qobject_cast<QLineEdit*>(sender());
    {
        const ChangeSource changeSource(this, addressEdit);
        GetSettings()->SetIPv4Address(address);
    }
    // A prefix is applied once it is complete: a paste brings it whole, typing
    // waits for Return or leaving the edit.
    const bool pasted = TabControllerUtil::IsPasted(m_addressText, text);
    m_addressText = text;
    if (pasted && addressEdit != nullptr)
        ApplyPrefixOf(addressEdit);
}

void IPv4TabController::on_ipv4AddressEdit_editingFinished()
{
    QLineEdit* addressEdit = qobject_cast<QLineEdit*>(sender());
    if (addressEdit == nullptr)
        return;

    const IPv4Address address = GetSettings()->GetIPv4Address();
    if (!address.IsValid()) {
        const QString text = addressEdit->text();
        // A host name holds neither a "/" nor a blank.
        if (ContainsLetter(text) && PrefixEntry(text).form == AddressPrefix::Form::NoPrefix)
            m_lookupScheduler->Schedule([this, addressEdit] { LookUpHostName(addressEdit); });
        return;
    }
    ApplyPrefixOf(addressEdit);
    addressEdit->setText(IPv4Page::DottedDecimal(address));
}

void IPv4TabController::LookUpHostName(QLineEdit* addressEdit)
{
    if (GetSettings()->GetIPv4Address().IsValid())
        return;
    QString errorText;
    const IPv4Address address = ResolveIPv4(addressEdit->text(), errorText);
    if (!address.IsValid()) {
        QMessageBox::warning(nullptr, tr("IPv4 Resolve Failed"), errorText, QMessageBox::Ok);
        return;
    }
    GetSettings()->SetIPv4Address(address);
    addressEdit->setText(IPv4Page::DottedDecimal(address));
}

QLineEdit* IPv4TabController::GetAddressEdit()
{
    QLineEdit* addressEdit = nullptr;
    GetAddressWidgets(&addressEdit, nullptr);
    return addressEdit;
}
