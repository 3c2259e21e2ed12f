#pragma once

#include <QMainWindow>

#include <array>
#include <memory>

class MenuController;
class OctetrySettings;
class TabController;

namespace Ui {
class OctetryMainForm;
}

// The one top-level window: builds the form, creates the menu controller and
// the six tab controllers, and reopens the tab that was current last time.
class MainForm : public QMainWindow
{
    Q_OBJECT

public:
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

protected:
    // Writes the pending settings change before the window goes.
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateTabControllers();
    void ReopenStoredTab();

    // The widgets of the Designer form; ui_octetrymainform.h declares them.
    std::unique_ptr<Ui::OctetryMainForm> m_ui;
    MenuController* m_menuController = nullptr;
    // In page order: Conversions, Classes, Subnets, CIDR, IPv6, News.
    std::array<TabController*, 6> m_tabControllers{};
};
