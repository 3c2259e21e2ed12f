// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "controllers/tabcontroller.h"

#include <memory>

class IPv4AddressEntry;
class QLineEdit;
class QToolButton;
class QWidget;

// Base of the four IPv4 pages: connects the page's address entry to the
// shared IPv4 address setting and enables the rest of the page only while
// there is something to show.
class IPv4TabController : public TabController
{
    Q_OBJECT

public:
    explicit IPv4TabController(const ControllerContext& context);
    ~IPv4TabController() override;

protected:
    // Stores the page's address edit and tool button; either out-pointer may be null.
    virtual void GetAddressWidgets(QLineEdit** addressEdit, QToolButton** addressButton) = 0;
    // Whether the page's result widgets are enabled: here, whether the stored address is valid.
    virtual bool IsViewEnabled();

    // The address edit, if the page has one.
    QList<QObject*> GetBlockedWidgets() override;
    // Connects the address edit and turns the tool button into the system-address menu button.
    void InitializeView() override;
    // Rewrites the address edit unless it is the source, then enables or disables the page.
    void DoUpdateView(QWidget* source) override;
    // True for the IPv4 address setting.
    bool IsSettingRelevant(OctetrySettings::Setting setting) override;

private slots:
    void on_ipv4AddressEdit_textChanged(const QString& text);
    void on_ipv4AddressEdit_editingFinished();

private:
    QLineEdit* GetAddressEdit();

    // Null on a page without address edit.
    std::unique_ptr<IPv4AddressEntry> m_addressEntry;
};
