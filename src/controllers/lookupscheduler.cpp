// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controllers/lookupscheduler.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QScopedValueRollback>

namespace {
bool IsReturn(const QEvent* keyPress)
{
    const int key = static_cast<const QKeyEvent*>(keyPress)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// What holds the keyboard away from the window: an open menu, a modal box,
// or a menu bar in keyboard mode; null when the user is back in the window.
QWidget* KeyboardHolder()
{
    if (QWidget* popup = QApplication::activePopupWidget())
        return popup;
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return qobject_cast<QMenuBar*>(QApplication::focusWidget());
}
} // namespace

LookupScheduler::LookupScheduler(QLineEdit* edit)
    : QObject(edit),
      m_edit(edit)
{
    edit->installEventFilter(this);
}

void LookupScheduler::Schedule(std::function<void()> lookUp)
{
    if (m_running || m_pending)
        return;
    if (m_returnPressed) {
        Run(lookUp);
        return;
    }
    m_pending = std::move(lookUp);
    m_pendingText = m_edit->text();
    Post();
}

bool LookupScheduler::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit) {
        // The edit finishes on the key it is handling, or on the focus it loses.
        if (event->type() == QEvent::KeyPress)
            m_returnPressed = IsReturn(event);
        else if (event->type() == QEvent::FocusOut)
            m_returnPressed = false;
    } else if (watched == m_blocker && (event->type() == QEvent::Hide || event->type() == QEvent::FocusOut)) {
        // A menu or box hides, a menu bar loses the focus; RunWhenFree looks again.
        StopWaiting();
        Post();
    }
    return false;
}

void LookupScheduler::Run(const std::function<void()>& lookUp)
{
    const QScopedValueRollback<bool> running(m_running, true);
    lookUp();
}

void LookupScheduler::Post()
{
    QMetaObject::invokeMethod(this, &LookupScheduler::RunWhenFree, Qt::QueuedConnection);
}

void LookupScheduler::RunWhenFree()
{
    if (!m_pending)
        return;
    if (QWidget* holder = KeyboardHolder()) {
        WaitFor(holder);
        return;
    }
    std::function<void()> lookUp = std::move(m_pending);
    m_pending = nullptr;
    // Typing on starts a new entry; a closed window wants no warning.
    if (m_edit->text() == m_pendingText && m_edit->window()->isVisible())
        Run(lookUp);
}

void LookupScheduler::WaitFor(QWidget* blocker)
{
    m_blocker = blocker;
    blocker->installEventFilter(this);
    m_blockerGone = connect(blocker, &QObject::destroyed, this, [this] {
        StopWaiting();
        Post();
    });
}

void LookupScheduler::StopWaiting()
{
    if (m_blocker)
        m_blocker->removeEventFilter(this);
    disconnect(m_blockerGone);
    m_blocker = nullptr;
}
