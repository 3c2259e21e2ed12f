#include "controllers/ipv6addressentry.h"

#include "address/addressprefix.h"
#include "address/ipv6address.h"
#include "controllers/controller.h"
#include "controllers/hostlookup.h"
#include "controllers/lookupscheduler.h"
#include "controllers/tabcontrollerutil.h"
#include "settings/octetrysettings.h"

#include <QLineEdit>
#include <QMessageBox>

namespace {
AddressPrefix PrefixEntry(const QString& text)
{
    return AddressPrefix::SplitIPv6(text.toStdString());
}

// The first IPv6 answer of a host name, or an invalid address with the
// reason in errorText.
IPv6Address ResolveIPv6(const QString& hostName, QString& errorText)
{
    const QHostAddress address =
        HostLookup::FirstAddress(hostName, QAbstractSocket::IPv6Protocol,
                                 IPv6AddressEntry::tr("No IPv6 addresses are available for this host name"), errorText);
    return address.isNull() ? IPv6Address() : IPv6Address(address.toIPv6Address());
}
} // namespace

IPv6AddressEntry::IPv6AddressEntry(Controller* controller, QLineEdit* edit)
    : m_controller(controller),
      m_edit(edit),
      m_lookupScheduler(new LookupScheduler(edit))
{
}

void IPv6AddressEntry::ShowAddress(const IPv6Address& address)
{
    m_text = QString::fromStdString(address.ToString(IPv6Address::CompressedNotation));
    m_edit->setText(m_text);
}

void IPv6AddressEntry::OnTextChanged(const QString& text)
{
    const AddressPrefix entry = PrefixEntry(text);
    const IPv6Address address = entry.form == AddressPrefix::Form::Bad ? IPv6Address() : IPv6Address(entry.addressText);
    {
        const Controller::ChangeSource changeSource(m_controller, m_edit);
        Controller::GetSettings()->SetIPv6Address(address);
    }
    const bool pasted = TabControllerUtil::IsPasted(m_text, text);
    m_text = text;
    if (pasted)
        ApplyPrefix();
}

void IPv6AddressEntry::OnEditingFinished()
{
    const IPv6Address address = Controller::GetSettings()->GetIPv6Address();
    if (!address.IsValid()) {
        const QString text = m_edit->text();
        // A colon marks a mistyped address, a "/" a prefix: never a host name.
        if (!text.contains(QLatin1Char(':')) && PrefixEntry(text).form == AddressPrefix::Form::NoPrefix)
            m_lookupScheduler->Schedule([this] { LookUpHostName(); });
        return;
    }
    ApplyPrefix();
    ShowAddress(address);
}

void IPv6AddressEntry::LookUpHostName()
{
    OctetrySettings* settings = Controller::GetSettings();
    if (settings->GetIPv6Address().IsValid())
        return;
    QString errorText;
    const IPv6Address address = ResolveIPv6(m_edit->text(), errorText);
    if (!address.IsValid()) {
        QMessageBox::warning(nullptr, IPv6AddressEntry::tr("IPv6 Resolve Failed"), errorText, QMessageBox::Ok);
        return;
    }
    settings->SetIPv6Address(address);
    ShowAddress(address);
}

void IPv6AddressEntry::ApplyPrefix()
{
    const AddressPrefix entry = PrefixEntry(m_edit->text());
    if (entry.form == AddressPrefix::Form::Prefix && Controller::GetSettings()->GetIPv6Address().IsValid()) {
        // The edit keeps the text until it is left.
        const Controller::ChangeSource changeSource(m_controller, m_edit);
        Controller::GetSettings()->SetIPv6PrefixLength(entry.prefixLength);
    }
}
