// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "address/ipv4address.h"
#include "controllers/ipv4tabcontroller.h"

#include <vector>

class QLineEdit;

// The Conversions page: the address in every notation, each of which can be
// typed into, and the Ethernet multicast address of a multicast address.
class ConversionsTabController : public IPv4TabController
{
    Q_OBJECT

public:
    explicit ConversionsTabController(const ControllerContext& context);

    // The conversionsTab page.
    QWidget* GetTabPage() override;

protected:
    // dottedDecEdit and conversionsAddressToolButton.
    void GetAddressWidgets(QLineEdit** addressEdit, QToolButton** addressButton) override;
    // Always true: an invalid address empties the notation edits but leaves them usable.
    bool IsViewEnabled() override;
    // The base list followed by the seven notation edits.
    QList<QObject*> GetBlockedWidgets() override;
    // Installs a validator on each notation edit, connects them and applies the show-octal option.
    void InitializeView() override;
    // Writes the address into every notation edit but the source, then the multicast row.
    void DoUpdateView(QWidget* source) override;

private slots:
    void on_notationEdit_textChanged(const QString& text);
    void on_notationEdit_editingFinished();

private:
    struct NotationEdit
    {
        QLineEdit* edit;
        IPv4Address::Notation notation;
    };

    // The notation of an edit of the table; dotted decimal for any other.
    IPv4Address::Notation GetNotation(const QLineEdit* edit) const;

    std::vector<NotationEdit> m_notationEdits;
};
