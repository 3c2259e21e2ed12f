// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controllers/controller.h"

#include <QMainWindow>
#include <QWidget>

namespace {

// Releases the update lock also when the update throws.
class LockScope
{
public:
    explicit LockScope(CountedLock* lock)
        : m_lock(lock)
    {
        m_lock->Lock();
    }
    LockScope(const LockScope&) = delete;
    LockScope& operator=(const LockScope&) = delete;
    ~LockScope() { m_lock->Unlock(); }

private:
    CountedLock* m_lock;
};

} // namespace

void Controller::UpdateLock::OnLock()
{
    const QList<QObject*> widgets = m_controller->GetBlockedWidgets();
    m_blockers.reserve(static_cast<std::size_t>(widgets.size()));
    for (QObject* widget : widgets)
        m_blockers.emplace_back(widget ? new QtUtil::SignalBlocker::SignalLock(widget) : nullptr);
}

void Controller::UpdateLock::OnUnlock()
{
    m_blockers.clear();
}

Controller::ChangeSource::ChangeSource(Controller* controller, QWidget* widget)
    : m_controller(controller),
      m_widget(widget)
{
    m_controller->m_changeSource = m_widget;
}

Controller::ChangeSource::~ChangeSource()
{
    m_controller->m_changeSource = nullptr;
}

Controller::Controller(const ControllerContext& context)
    : QObject(context.window),
      m_context(context),
      m_updateLock(std::make_unique<UpdateLock>(this))
{
    connect(GetSettings(), &OctetrySettings::SettingChanged, this, &Controller::on_Settings_SettingChanged);
}

Controller::~Controller() = default;

void Controller::Initialize()
{
    const LockScope scope(m_updateLock.get());
    InitializeView();
}

void Controller::UpdateView()
{
    if (m_updateLock->IsLocked())
        return;
    const LockScope scope(m_updateLock.get());
    DoUpdateView(m_changeSource);
}

bool Controller::IsUpdating() const
{
    return m_updateLock->IsLocked();
}

OctetrySettings* Controller::GetSettings()
{
    return OctetrySettings::Instance();
}

QList<QObject*> Controller::GetBlockedWidgets()
{
    return {};
}

void Controller::InitializeView() {}

bool Controller::IsSettingRelevant(OctetrySettings::Setting)
{
    return false;
}

void Controller::on_Settings_SettingChanged(OctetrySettings::Setting setting)
{
    if (IsSettingRelevant(setting))
        UpdateView();
}
