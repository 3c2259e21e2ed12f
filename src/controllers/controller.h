// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "controllers/countedlock.h"
#include "controllers/qtutil.h"
#include "settings/octetrysettings.h"

#include <QList>
#include <QObject>

#include <memory>
#include <vector>

class IPv4PrefixRequest;
class QMainWindow;
class QWidget;

namespace Ui {
class OctetryMainForm;
}

// What a controller reads from the main window, given when it is built.
struct ControllerContext
{
    // The window: the controller's parent and the About box's.
    QMainWindow* window = nullptr;
    // The form, through which the controller reaches its widgets.
    Ui::OctetryMainForm* ui = nullptr;
    // The number the TabIndex setting keeps for a tab controller's page; -1 for none.
    int storedTabIndex = -1;
    // The prefix typed last on an IPv4 page, shared by the IPv4 pages; may be null.
    IPv4PrefixRequest* prefixRequest = nullptr;
};

// Base of every controller: turns widget signals into settings and settings
// into widget contents, never re-entering itself while it writes its widgets.
class Controller : public QObject
{
    Q_OBJECT

public:
    // Held while the controller initialises or updates; blocks the signals
    // of the controller's listed widgets for as long as it is held.
    class UpdateLock : public CountedLock
    {
    public:
        explicit UpdateLock(Controller* controller)
            : m_controller(controller)
        {
        }

    protected:
        void OnLock() override;
        void OnUnlock() override;

    private:
        Controller* m_controller;
        std::vector<QtUtil::SignalBlocker> m_blockers;
    };

    // Names the widget whose edit is being written into the store, for the
    // guard's lifetime, so that the update leaves that widget as typed.
    class ChangeSource
    {
    public:
        ChangeSource(Controller* controller, QWidget* widget);
        ChangeSource(const ChangeSource&) = delete;
        ChangeSource& operator=(const ChangeSource&) = delete;
        ~ChangeSource();

    private:
        Controller* m_controller;
        QWidget* m_widget;
    };

    // Stores the window and its form and listens to the settings store (creating it on first use).
    explicit Controller(const ControllerContext& context);
    ~Controller() override;

    // Runs InitializeView once under the update lock.
    void Initialize();
    // Rewrites the view from the store unless an update is already running.
    virtual void UpdateView();
    // True while the update lock is held.
    bool IsUpdating() const;

    // The main window, its form and the settings store.
    QMainWindow* GetForm() const { return m_context.window; }
    Ui::OctetryMainForm* GetUi() const { return m_context.ui; }
    static OctetrySettings* GetSettings();

protected:
    // The objects whose signals must stay quiet while the view is written.
    virtual QList<QObject*> GetBlockedWidgets();
    // Connects widgets and fills fixed contents; runs once.
    virtual void InitializeView();
    // Rewrites every widget from the store, leaving `source`'s text alone.
    virtual void DoUpdateView(QWidget* source) = 0;
    // Whether a change of `setting` concerns this controller.
    virtual bool IsSettingRelevant(OctetrySettings::Setting setting);

    QWidget* GetChangeSource() const { return m_changeSource; }
    UpdateLock* GetUpdateLock() const { return m_updateLock.get(); }
    const ControllerContext& GetContext() const { return m_context; }

public slots:
    void on_Settings_SettingChanged(OctetrySettings::Setting setting);

private:
    ControllerContext m_context;
    std::unique_ptr<UpdateLock> m_updateLock;
    QWidget* m_changeSource = nullptr;
};
