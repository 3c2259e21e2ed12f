// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "controllers/controller.h"

class MainForm;
class QEvent;
class QObject;
class QWidget;

// Behaviour of the menu bar and the banner: exit, the two subnetting options
// with check marks that follow the store, web site, support e-mail and the
// About box.
class MenuController : public Controller
{
    Q_OBJECT

public:
    explicit MenuController(MainForm* parent);

    // Keeps the banner image centred and sharp at the screen's scale and opens
    // the web site on a left-button release over it; always returns false so
    // the event reaches its target.
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Returns the program's version as "major.minor.patch.tweak".
    static QString GetVersionText();

protected:
    // Connects the actions, watches the banner, gives it the pixels of the
    // screen's scale and brands the menu texts.
    void InitializeView() override;
    // Checks each option's action exactly when the stored option is on.
    void DoUpdateView(QWidget* source) override;
    // True for the two subnetting options.
    bool IsSettingRelevant(OctetrySettings::Setting setting) override;

private slots:
    void on_actionExit_triggered();
    void on_actionAllowOneSubnetBit_triggered();
    void on_actionAllowOneHostBit_triggered();
    void on_actionEmailSupport_triggered();
    void on_actionVisitWebsite_triggered();
    void on_actionAbout_triggered();
};
