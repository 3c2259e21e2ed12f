// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controllers/lookupscheduler.h"

#include "controllers/hostlookup.h"
#include "widgets/waitcursor.h"

#include <QApplication>
#include <QBoxLayout>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScopedValueRollback>

#include <algorithm>

namespace {
bool IsKey(const QEvent* keyPress, std::initializer_list<int> keys)
{
    return std::find(keys.begin(), keys.end(), static_cast<const QKeyEvent*>(keyPress)->key()) != keys.end();
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
      m_edit(edit),
      m_label(new QLabel(edit->parentWidget()))
{
    m_label->setObjectName(QStringLiteral("lookupLabel"));
    m_label->hide();
    // Beside the edit and its menu button, so the page's form stays as it is.
    if (auto* row = qobject_cast<QBoxLayout*>(edit->parentWidget()->layout()))
        row->addWidget(m_label);
    edit->installEventFilter(this);
}

LookupScheduler::~LookupScheduler() = default;

void LookupScheduler::Schedule(QWidget* page, const QString& hostName, AnswerHandler handle)
{
    if (m_running || m_stage != Stage::Idle)
        return;
    m_page = page;
    m_hostName = hostName;
    m_handle = std::move(handle);
    m_pendingText = m_edit->text();
    // Closing the window drops the lookup with its answer.
    m_edit->window()->installEventFilter(this);
    m_stage = Stage::Starting;
    m_returnPressed ? Start() : Post();
}

void LookupScheduler::Cancel()
{
    // Every keystroke and rewrite of the edit cancels: mostly there is nothing to.
    if (m_stage == Stage::Idle)
        return;
    StopWaiting();
    m_edit->window()->removeEventFilter(this);
    m_lookup.reset();
    m_waitCursor.reset();
    m_label->hide();
    m_handle = nullptr;
    m_stage = Stage::Idle;
}

bool LookupScheduler::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit) {
        // The edit finishes on the key it is handling, or on the focus it loses.
        if (event->type() == QEvent::KeyPress && IsKey(event, {Qt::Key_Escape}) && m_stage != Stage::Idle) {
            Cancel();
            return true;
        }
        if (event->type() == QEvent::KeyPress)
            m_returnPressed = IsKey(event, {Qt::Key_Return, Qt::Key_Enter});
        else if (event->type() == QEvent::FocusOut)
            m_returnPressed = false;
    } else if (watched == m_blocker && (event->type() == QEvent::Hide || event->type() == QEvent::FocusOut)) {
        // A menu or box hides, a menu bar loses the focus; RunWhenFree looks again.
        StopWaiting();
        Post();
    } else if (watched == m_edit->window() && event->type() == QEvent::Close) {
        Cancel();
    }
    return false;
}

void LookupScheduler::Start()
{
    m_stage = Stage::LookingUp;
    // A long name is cut in the middle, so the label never takes more room than the edit had.
    const QString name = m_label->fontMetrics().elidedText(m_edit->text().trimmed(), Qt::ElideMiddle, m_edit->width());
    m_label->setText(tr("Looking up %1…").arg(name));
    m_label->show();
    if (m_page)
        m_waitCursor = std::make_unique<WaitCursor>(m_page);
    m_lookup = std::make_unique<HostLookup>(m_hostName, [this](const QHostInfo& answer) {
        m_answer = answer;
        m_stage = Stage::Answered;
        // Handled on a turn of its own, outside whatever event is being delivered now.
        Post();
    });
}

void LookupScheduler::Post()
{
    QMetaObject::invokeMethod(this, &LookupScheduler::RunWhenFree, Qt::QueuedConnection);
}

void LookupScheduler::RunWhenFree()
{
    if (m_stage != Stage::Starting && m_stage != Stage::Answered)
        return;
    if (QWidget* holder = KeyboardHolder()) {
        WaitFor(holder);
        return;
    }
    // Typing on starts a new entry; a closed window wants no lookup.
    if (m_edit->text() != m_pendingText || (m_stage == Stage::Starting && !m_edit->window()->isVisible())) {
        Cancel();
        return;
    }
    if (m_stage == Stage::Starting) {
        Start();
        return;
    }
    const QHostInfo answer = m_answer;
    const AnswerHandler handle = std::move(m_handle);
    Cancel();
    const QScopedValueRollback<bool> running(m_running, true);
    handle(answer);
}

void LookupScheduler::WaitFor(QWidget* blocker)
{
    StopWaiting();
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
