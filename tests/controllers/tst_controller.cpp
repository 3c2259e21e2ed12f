// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainform.h"
#include "common/formtestutil.h"
#include "controllers/tabcontroller.h"
#include "ui_octetrymainform.h"

// Counts its updates, hears every setting but the tab and lets a test act inside an update.
struct Probe : TabController
{
    Probe(MainForm* form, QWidget* page)
        : TabController({form, form->GetUi()}),
          page(page)
    {
        Initialize();
    }
    QWidget* GetTabPage() override { return page; }
    QList<QObject*> GetBlockedWidgets() override { return blocked; }
    void DoUpdateView(QWidget*) override { ++updates, during(); }
    bool IsSettingRelevant(OctetrySettings::Setting s) override { return s != OctetrySettings::TabIndexSetting; }
    QWidget* page;
    QList<QObject*> blocked;
    std::function<void()> during = [] {};
    int updates = 0;
};

class TstController : public QObject
{
    Q_OBJECT
    MainForm m_form;

private slots:
    void updateBlocksItsWidgetsAndIsNotReentered()
    {
        Probe probe(&m_form, m_form.GetUi()->tabWidget->currentWidget()), listener(&m_form, probe.page);
        OctetrySettings* settings = MainForm::GetSettings();
        auto change = [settings] { settings->SetAllowOneHostBit(!settings->GetAllowOneHostBit()); };
        QLineEdit edit, alreadyBlocked;
        alreadyBlocked.blockSignals(true);
        probe.blocked = {&edit, nullptr, &alreadyBlocked};
        QSignalSpy spy(&edit, &QLineEdit::textChanged);
        probe.during = [&] { edit.setText("x"), change(); };
        change();
        // One update, none nested; the other page hears both changes; no signal; the blocked edit stays so.
        QCOMPARE(std::tuple(probe.updates, listener.updates, spy.count(), alreadyBlocked.signalsBlocked()),
                 std::tuple(1, 2, 0, true));
        probe.during = [] { throw std::runtime_error("update failed"); };
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, probe.UpdateView());
        QVERIFY(!probe.IsUpdating() && !edit.signalsBlocked()); // the exception released the lock
    }

    // A page brought up to date while shown is not written again when it is shown again.
    void shownAgainOnlyWhenStale()
    {
        QTabWidget* tabs = m_form.GetUi()->tabWidget;
        tabs->setCurrentIndex(1);
        Probe probe(&m_form, tabs->widget(0));
        for (int index : {0, 1, 0})
            tabs->setCurrentIndex(index);
        QCOMPARE(std::tuple(probe.updates, probe.IsStale()), std::tuple(1, false));
    }
};

OCTETRY_WINDOW_TEST_MAIN(TstController)

#include "tst_controller.moc"
