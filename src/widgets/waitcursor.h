// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPointer>

class QWidget;

// Shows the wait cursor over one widget and its children for the guard's
// lifetime, leaving the menus and the rest of the window usable.
class WaitCursor
{
public:
    explicit WaitCursor(QWidget* widget);
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    ~WaitCursor();

private:
    QPointer<QWidget> m_widget;
};
