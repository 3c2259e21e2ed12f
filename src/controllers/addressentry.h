// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAbstractSocket>
#include <QString>

#include <functional>
#include <string>

class AddressPrefix;
class LookupScheduler;
class QHostAddress;
class QHostInfo;
class QLineEdit;
class TabController;

// What sets one address family's entry apart: how its text splits, where
// its address is stored, and the lookup's texts.
struct AddressEntryFamily
{
    // The family's split of text into address and prefix.
    AddressPrefix (*split)(const std::string& text);
    // Stores addressText parsed in the family's notation; an empty text stores no address.
    void (*store)(const std::string& addressText);
    // Stores an address the resolver answered.
    void (*storeResolved)(const QHostAddress& address);
    // Whether the stored address of the family is valid.
    bool (*isStoredValid)();
    // The stored address as the edit shows it.
    QString (*storedText)();
    QAbstractSocket::NetworkLayerProtocol protocol;
    // Translated in context: the text for a name without such an address, and the warning's title.
    const char* context;
    const char* noAddressText;
    const char* failureTitle;
};

// An edit of one of the shared addresses, of either family. The text is
// stored as it is typed; "address/n" also hands n to the page once the text
// is complete (on Return, on leaving the edit, or at once when pasted); text
// that can be a host name is looked up on leaving, without blocking, and a
// valid address is then shown in its canonical form.
class AddressEntry
{
public:
    // Takes a finished entry's prefix length, for the page that has a mask or a split.
    using PrefixLengthSink = std::function<void(int prefixLength)>;

    // The edit of controller's page, limited to an address's length; the
    // controller forwards the edit's signals.
    AddressEntry(TabController* controller, QLineEdit* edit, const AddressEntryFamily& family,
                 PrefixLengthSink applyPrefixLength);
    AddressEntry(const AddressEntry&) = delete;
    AddressEntry& operator=(const AddressEntry&) = delete;

    // Writes the stored address into the edit in canonical form (empty when invalid); drops a running lookup.
    void ShowAddress();
    // Stores the address part of text; applies its prefix when pasted; drops a running lookup.
    void OnTextChanged(const QString& text);
    // Looks a host name up, applies the prefix and shows the address canonically.
    void OnEditingFinished();

private:
    void ApplyPrefix();
    // Takes the lookup's answer, unless an address was stored meanwhile.
    void OnLookupAnswer(const QHostInfo& hostInfo);

    TabController* m_controller;
    QLineEdit* m_edit;
    const AddressEntryFamily& m_family;
    PrefixLengthSink m_applyPrefixLength;
    // The edit's child.
    LookupScheduler* m_lookupScheduler;
    // The text as last seen, to tell a paste from a keystroke.
    QString m_text;
};
