// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/waitcursor.h"

#include <QCursor>
#include <QWidget>

WaitCursor::WaitCursor(QWidget* widget)
    : m_widget(widget)
{
    widget->setCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor()
{
    if (m_widget)
        m_widget->unsetCursor();
}
