// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QHostInfo>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class HostLookup;
class QLabel;
class QLineEdit;
class QWidget;
class WaitCursor;

// Runs the host-name lookup of an address edit without blocking, and times
// its answer, whose warning box must never open inside the event that took
// the focus away or inside a menu: a menu's shortcut, a tab switch or a
// window close would be re-entered by the box's event loop. After Return the
// lookup starts at once; after a loss of focus it starts once that event is
// handled and no menu, menu bar or modal box has the keyboard, and not at
// all if the edit's text changed or its window closed meanwhile. The answer
// waits in the same way. While the lookup runs, the page shows the wait
// cursor and "Looking up NAME…" beside the edit; Escape in the edit, new
// text or the window closing drop it.
class LookupScheduler : public QObject
{
    Q_OBJECT

public:
    // Takes the answer of a lookup that was not dropped.
    using AnswerHandler = std::function<void(const QHostInfo& hostInfo)>;

    // Watches edit's keys and focus; becomes edit's child and puts its label into the layout of edit's container.
    explicit LookupScheduler(QLineEdit* edit);
    ~LookupScheduler() override;

    // From the edit's editingFinished: looks hostName up, as above, under the
    // wait cursor over page, and hands the answer to handle. While one lookup
    // waits or runs, a second is not scheduled.
    void Schedule(QWidget* page, const QString& hostName, AnswerHandler handle);
    // Drops the lookup that waits or runs, and its answer.
    void Cancel();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Stage
    {
        Idle,
        Starting,  // waits to start
        LookingUp, // the resolver has the name
        Answered   // the answer waits to be handled
    };

    void Start();
    void Post();
    void RunWhenFree();
    void WaitFor(QWidget* blocker);
    void StopWaiting();

    QLineEdit* m_edit;
    // "Looking up NAME…" beside the edit; hidden while idle.
    QLabel* m_label;
    // Set by the Return key the edit is handling, cleared when it loses the focus.
    bool m_returnPressed = false;
    // While the answer and its warning run; the warning takes the focus too.
    bool m_running = false;
    Stage m_stage = Stage::Idle;
    QString m_hostName;
    QPointer<QWidget> m_page;
    AnswerHandler m_handle;
    // The edit's text when the lookup was scheduled.
    QString m_pendingText;
    std::unique_ptr<HostLookup> m_lookup;
    std::unique_ptr<WaitCursor> m_waitCursor;
    QHostInfo m_answer;
    // The menu, menu bar or modal box that must let the keyboard go first.
    QPointer<QWidget> m_blocker;
    QMetaObject::Connection m_blockerGone;
};
