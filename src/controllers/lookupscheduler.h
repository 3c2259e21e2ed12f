// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QLineEdit;
class QWidget;

// Times the host-name lookup of an address edit, whose wait and warning box
// must never run inside the event that took the focus away: a menu's
// shortcut, a tab switch or a window close would be re-entered by the box's
// event loop. After Return the lookup runs at once; after a loss of focus
// it runs once that event is handled and no menu, menu bar or modal box has
// the keyboard, and not at all if the edit's text changed or its window
// closed meanwhile.
class LookupScheduler : public QObject
{
    Q_OBJECT

public:
    // Watches edit's keys and focus; becomes edit's child.
    explicit LookupScheduler(QLineEdit* edit);

    // From the edit's editingFinished: runs lookUp now or later, as above.
    // While one lookup waits or runs, a second is not scheduled.
    void Schedule(std::function<void()> lookUp);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Run(const std::function<void()>& lookUp);
    void Post();
    void RunWhenFree();
    void WaitFor(QWidget* blocker);
    void StopWaiting();

    QLineEdit* m_edit;
    // Set by the Return key the edit is handling, cleared when it loses the focus.
    bool m_returnPressed = false;
    // While the lookup and its warning run; the warning takes the focus too.
    bool m_running = false;
    std::function<void()> m_pending;
    // The edit's text when the lookup was scheduled.
    QString m_pendingText;
    // The menu, menu bar or modal box that must let the keyboard go first.
    QPointer<QWidget> m_blocker;
    QMetaObject::Connection m_blockerGone;
};
