#pragma once

#include <QCoreApplication>
#include <QString>

class Controller;
class IPv6Address;
class LookupScheduler;
class QLineEdit;

// An edit of the shared IPv6 address. The text is stored as it is typed;
// "address/n" also makes n the length of the prefix split into subnets once
// the text is complete (on Return, on leaving the edit, or at once when
// pasted); a word without ":" is looked up as a host name on leaving.
class IPv6AddressEntry
{
    Q_DECLARE_TR_FUNCTIONS(IPv6AddressEntry)

public:
    // The edit of controller's page; the controller forwards the edit's signals.
    IPv6AddressEntry(Controller* controller, QLineEdit* edit);

    // Writes address into the edit in compressed notation (empty when invalid).
    void ShowAddress(const IPv6Address& address);
    // Stores the address part of text; applies its prefix when pasted.
    void OnTextChanged(const QString& text);
    // Looks a host name up, applies the prefix and shows the address compressed.
    void OnEditingFinished();

private:
    void ApplyPrefix();
    // Resolves the name in the edit, unless an address was stored meanwhile.
    void LookUpHostName();

    Controller* m_controller;
    QLineEdit* m_edit;
    // The edit's child.
    LookupScheduler* m_lookupScheduler;
    // The text as last seen, to tell a paste from a keystroke.
    QString m_text;
};
