// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/commandline.h"
#include "controllers/controller.h"

#include <QMainWindow>

#include <array>
#include <memory>
#include <utility>

class IPv4PrefixRequest;
class MenuController;
class OctetrySettings;
class TabController;

namespace Ui {
class OctetryMainForm;
}

// The one top-level window: builds the form, creates the menu controller and
// the eight tab controllers, and reopens the tab that was current last time.
class MainForm : public QMainWindow
{
    Q_OBJECT

public:
    // The number the TabIndex setting keeps for each page, in creation order.
    // The IPv6 Subnets and Lists pages came later and sit before News in the
    // tab bar, but files already written keep opening the page they name.
    enum StoredTab
    {
        kConversionsTab = 0,
        kClassesTab = 1,
        kSubnetsTab = 2,
        kCidrTab = 3,
        kIPv6Tab = 4,
        kNewsTab = 5,
        kIPv6SubnetsTab = 6,
        kListsTab = 7,
        kStoredTabCount = 8,
    };

    // Builds and wires the whole window; the controllers become its children.
    explicit MainForm(QWidget* parent = nullptr, Qt::WindowFlags flags = {});
    ~MainForm() override;

    // Returns the form, through which controllers reach their widgets.
    Ui::OctetryMainForm* GetUi();

    // Returns the settings store singleton.
    static OctetrySettings* GetSettings();

    // Returns the first tab controller whose page is `page`; null for a null
    // page, a page without controller or a controller not created yet.
    TabController* FindTabController(QWidget* page) const;
    // The number the TabIndex setting keeps for controller's page; -1 for
    // a controller that is not the window's.
    int GetStoredTabIndex(const TabController* controller) const;
    // Shows page and enters address into its address edit as if typed and
    // confirmed with Return; nothing for CommandLine::Page::None.
    void EnterAddress(CommandLine::Page page, const QString& address);

protected:
    // Keeps the window's geometry and writes the pending settings change before the window goes.
    void closeEvent(QCloseEvent* event) override;
    // Recolours the bit usages when the desktop switches theme.
    void changeEvent(QEvent* event) override;
    // Keeps the tab widget from laying out and repainting itself whole when a
    // page's text changes and no size hint does.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Stores the window's geometry and writes every pending setting, waiting for the file.
    void SaveWindowAndSettings();
    // Moves and shrinks the window until it lies wholly on the screen it is on.
    void FitOnScreen();
    void CreateTabControllers();
    void ReopenStoredTab();

    // The widgets of the Designer form; ui_octetrymainform.h declares them.
    std::unique_ptr<Ui::OctetryMainForm> m_ui;
    MenuController* m_menuController = nullptr;
    // Shared by the IPv4 pages' controllers, made before them.
    IPv4PrefixRequest* m_prefixRequest = nullptr;
    // What controllers read from this window, with the page's stored tab index.
    ControllerContext GetControllerContext(StoredTab storedTab);

    // Indexed by StoredTab.
    std::array<TabController*, kStoredTabCount> m_tabControllers{};
    // The tab widget's size hint and minimum size hint at its last layout.
    std::pair<QSize, QSize> m_tabWidgetHints;
};
