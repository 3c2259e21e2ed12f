// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controllers/tabcontroller.h"

#include "ui_octetrymainform.h"

#include <QTabWidget>

TabController::TabController(const ControllerContext& context)
    : Controller(context)
{
    connect(GetUi()->tabWidget, &QTabWidget::currentChanged, this, &TabController::on_tabWidget_currentChanged);
}

bool TabController::IsPageCurrent()
{
    return GetTabPage() == GetUi()->tabWidget->currentWidget();
}

void TabController::UpdateView()
{
    if (IsPageCurrent()) {
        Controller::UpdateView();
        m_stale = false;
    } else {
        m_stale = true;
    }
}

void TabController::on_tabWidget_currentChanged(int index)
{
    if (!IsPageCurrent())
        return;
    // The stored number names the page, wherever the tab bar shows it.
    const int stored = GetContext().storedTabIndex;
    GetSettings()->SetTabIndex(stored >= 0 ? stored : index);
    if (m_stale)
        UpdateView();
}
