// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "address/bitusage.h"

#include <QObject>
#include <QString>

#include <string>
#include <vector>

class IPv4Address;
class IPv6Address;
class LargeTableView;
class QLabel;
class QLineEdit;
class QMenu;
class QModelIndex;
class QTextBrowser;
class QToolButton;
class QWidget;

// The view functions shared by the pages, the machine's own addresses and
// the menus that offer them. One instance, a child of the application made on
// first use, receives the menu commands.
class TabControllerUtil : public QObject
{
    Q_OBJECT

public:
    // Rows 17 pixels high, numbers right-aligned; selection colours kept.
    static void SetupTableView(LargeTableView* tableView);
    // Makes the selection look the same with and without the focus.
    static void KeepSelectionColors(QWidget* widget);
    // Selects the row of index (nothing for an invalid index), centres it in the
    // freshly reset table and fits the columns.
    static void ShowAddressRow(LargeTableView* tableView, const QModelIndex& index);
    // Enables every widget under parent but the address edit, its container
    // and its label; disabling also empties them.
    static void SetPageEnabled(QWidget* parent, QLineEdit* addressEdit, bool enabled);
    // Whether more than one character arrived at once, as a paste or a drop
    // brings them; typing adds one at a time.
    [[nodiscard]] static bool IsPasted(const QString& before, const QString& after);

    // "mask   (/bits)" for a mask combo box entry.
    static QString MaskText(const IPv4Address& mask, int maskBits);
    // "first - last", or the one address when both are equal.
    static QString RangeText(const IPv4Address& first, const IPv4Address& last);
    // Shows note in label, readable on a disabled page; hides the label for an empty note.
    static void ShowNote(QLabel* label, const QString& note);
    // Shows text from its start, the whole text as the tool tip when given; the
    // field and its label are enabled only while there is a text.
    static void ShowFact(QLabel* label, QLineEdit* edit, const std::string& text, const std::string& toolTip = {});
    // Writes caption plus legend into label and the coloured bit string into
    // edit (either may be null); disabled and empty when enabled is false.
    static void ShowBitUsage(const BitUsage& bitUsage, const IPv4Address& address, const QString& caption,
                             QLabel* label, QTextBrowser* edit, bool enabled);

    // The machine's IPv4 interface addresses, collected once, special addresses left out.
    static const std::vector<IPv4Address>& GetSystemIPv4Addresses();
    // The machine's IPv6 interface addresses, collected once, special addresses left out.
    static const std::vector<IPv6Address>& GetSystemIPv6Addresses();

    // Turns button into a drop-down of the machine's addresses of one kind.
    static void SetupSystemAddressButton(QToolButton* button, bool ipv4);

    // The receiver of the system-address menu commands.
    static TabControllerUtil* GetInstance();

public slots:
    void on_IPv4SystemAddressAction_Triggered();
    void on_IPv6SystemAddressAction_Triggered();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TabControllerUtil() = default;
    static QMenu* GetSystemAddressMenu(bool ipv4);
};
