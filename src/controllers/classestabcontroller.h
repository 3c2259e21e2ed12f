// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "controllers/ipv4tabcontroller.h"

#include <QString>

// The Classes page: the class of the address with its range and bit usage;
// picking a class moves the address into it.
class ClassesTabController : public IPv4TabController
{
    Q_OBJECT

public:
    explicit ClassesTabController(const ControllerContext& context);

    // The classesTab page.
    QWidget* GetTabPage() override;

protected:
    // classesAddressEdit and classesAddressToolButton.
    void GetAddressWidgets(QLineEdit** addressEdit, QToolButton** addressButton) override;
    // The base list followed by classesComboBox.
    QList<QObject*> GetBlockedWidgets() override;
    // Captures the bit-usage caption and fills the combo box with the nine classes.
    void InitializeView() override;
    // Selects the address's class and shows its range and bit usage.
    void DoUpdateView(QWidget* source) override;

private slots:
    void on_classesComboBox_currentIndexChanged(int index);

private:
    QString m_bitUsageCaption;
};
