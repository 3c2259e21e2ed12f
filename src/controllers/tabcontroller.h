// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "controllers/controller.h"

// A controller of one tab page: it writes its page only while the page is
// shown, and otherwise remembers that the page is out of date.
class TabController : public Controller
{
    Q_OBJECT

public:
    // Listens to the tab widget's page changes as well; context names the stored tab index.
    explicit TabController(const ControllerContext& context);

    // Updates now when the page is current, else marks the page stale.
    void UpdateView() override;
    // The page this controller fills.
    virtual QWidget* GetTabPage() = 0;
    // True until the page has been updated while shown.
    bool IsStale() const { return m_stale; }

public slots:
    void on_tabWidget_currentChanged(int index);

private:
    bool IsPageCurrent();

    bool m_stale = true;
};
