#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

#include <functional>
#include <set>
#include <stdexcept>

#include "app/brandingutil.h"
#include "app/mainform.h"
#include "common/testenvironment.h"
#include "controllers/tabcontroller.h"
#include "ui_octetrymainform.h"

namespace {

// A tab controller that records its updates and lets a test act inside them.
class ProbeController : public TabController
{
public:
    ProbeController(MainForm* form, QWidget* page, std::set<OctetrySettings::Setting> relevant)
        : TabController(form), m_page(page), m_relevant(std::move(relevant))
    {
    }

    QWidget* GetTabPage() override { return m_page; }

    QList<QObject*> blocked;
    QList<QWidget*> sources;
    std::function<void()> during;
    bool updatingDuring = false;

protected:
    QList<QObject*> GetBlockedWidgets() override { return blocked; }
    void DoUpdateView(QWidget* source) override
    {
        sources << source;
        updatingDuring = IsUpdating();
        if (during)
            during();
    }
    bool IsSettingRelevant(OctetrySettings::Setting setting) override { return m_relevant.count(setting) > 0; }

private:
    QWidget* m_page;
    std::set<OctetrySettings::Setting> m_relevant;
};

class HookLock : public CountedLock
{
public:
    int locks = 0;
    int unlocks = 0;

protected:
    void OnLock() override { ++locks; }
    void OnUnlock() override { ++unlocks; }
};

// Another IPv6 address each call, so every call is a change.
void ChangeIPv6(OctetrySettings* settings)
{
    static quint64 low = 0x1000;
    settings->SetIPv6Address(IPv6Address(0x20010db800000000ull, ++low));
}

} // namespace

class TstController : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();
    void countedLockRunsHooksAtTheEdges();
    void signalBlockerHandlesShareOneLock();
    void onlyRelevantChangesUpdate();
    void changeSourceReachesTheUpdate();
    void hiddenPageIsMarkedStaleAndUpdatedOnceWhenShown();
    void nestedWriteDoesNotUpdateTheWriterAgain();
    void blockedWidgetsStayQuietDuringAnUpdate();
    void exceptionReleasesTheLock();

private:
    ProbeController* Probe(QWidget* page, std::set<OctetrySettings::Setting> relevant);

    MainForm* m_form = nullptr;
    Ui::OctetryMainForm* m_ui = nullptr;
    OctetrySettings* m_settings = nullptr;
    QList<ProbeController*> m_probes;
};

void TstController::initTestCase()
{
    m_form = new MainForm;
    m_ui = m_form->GetUi();
    m_settings = MainForm::GetSettings();
}

void TstController::init()
{
    m_ui->tabWidget->setCurrentWidget(m_ui->classesTab);
}

void TstController::cleanup()
{
    qDeleteAll(m_probes);
    m_probes.clear();
}

void TstController::cleanupTestCase()
{
    delete m_form;
}

ProbeController* TstController::Probe(QWidget* page, std::set<OctetrySettings::Setting> relevant)
{
    auto* probe = new ProbeController(m_form, page, std::move(relevant));
    probe->Initialize();
    m_probes << probe;
    return probe;
}

void TstController::countedLockRunsHooksAtTheEdges()
{
    HookLock lock;
    lock.Lock();
    lock.Lock();
    QCOMPARE(lock.GetCount(), 2u);
    QCOMPARE(lock.locks, 1);
    lock.Unlock();
    QCOMPARE(lock.unlocks, 0);
    QVERIFY(lock.IsLocked());
    lock.Unlock();
    QCOMPARE(lock.unlocks, 1);
    QVERIFY(!lock.IsLocked());
    // An unmatched Unlock keeps the count at 0.
    lock.Unlock();
    QCOMPARE(lock.GetCount(), 0u);
}

void TstController::signalBlockerHandlesShareOneLock()
{
    QLineEdit edit;
    {
        QtUtil::SignalBlocker first(new QtUtil::SignalBlocker::SignalLock(&edit));
        QVERIFY(edit.signalsBlocked());
        {
            const QtUtil::SignalBlocker copy(first);
            first = QtUtil::SignalBlocker();
            QVERIFY(edit.signalsBlocked());
        }
        QVERIFY(!edit.signalsBlocked());
    }
    const QtUtil::SignalBlocker none;
    QtUtil::SignalBlocker onNull(new QtUtil::SignalBlocker::SignalLock(nullptr));
    onNull = onNull; // must not free the lock it still holds

    edit.blockSignals(true);
    {
        const QtUtil::SignalBlocker blocker(new QtUtil::SignalBlocker::SignalLock(&edit));
    }
    QVERIFY(edit.signalsBlocked());
}

void TstController::onlyRelevantChangesUpdate()
{
    ProbeController* probe = Probe(m_ui->classesTab, {OctetrySettings::IPv6AddressSetting});
    QVERIFY(probe->sources.isEmpty());
    m_settings->SetAllowOneHostBit(!m_settings->GetAllowOneHostBit());
    QVERIFY(probe->sources.isEmpty());
    ChangeIPv6(m_settings);
    QCOMPARE(probe->sources, QList<QWidget*>({nullptr}));
    QVERIFY(probe->updatingDuring);
    QVERIFY(!probe->IsUpdating());
    QVERIFY(!probe->IsStale());
}

void TstController::changeSourceReachesTheUpdate()
{
    ProbeController* writer = Probe(m_ui->classesTab, {OctetrySettings::IPv6AddressSetting});
    ProbeController* other = Probe(m_ui->classesTab, {OctetrySettings::IPv6AddressSetting});
    QLineEdit edit;
    {
        const Controller::ChangeSource source(writer, &edit);
        ChangeIPv6(m_settings);
    }
    QCOMPARE(writer->sources, QList<QWidget*>({&edit}));
    QCOMPARE(other->sources, QList<QWidget*>({nullptr}));
    ChangeIPv6(m_settings);
    QCOMPARE(writer->sources.last(), nullptr);
}

void TstController::hiddenPageIsMarkedStaleAndUpdatedOnceWhenShown()
{
    ProbeController* hidden = Probe(m_ui->cidrTab, {OctetrySettings::IPv6AddressSetting});
    QVERIFY(hidden->IsStale());
    ChangeIPv6(m_settings);
    ChangeIPv6(m_settings);
    QVERIFY(hidden->sources.isEmpty());
    QVERIFY(hidden->IsStale());

    m_ui->tabWidget->setCurrentWidget(m_ui->cidrTab);
    QCOMPARE(hidden->sources.size(), 1);
    QVERIFY(!hidden->IsStale());
    QCOMPARE(m_settings->GetTabIndex(), m_ui->tabWidget->indexOf(m_ui->cidrTab));

    // Back to a page that is up to date: the tab is stored, the page not rewritten.
    m_ui->tabWidget->setCurrentWidget(m_ui->classesTab);
    m_ui->tabWidget->setCurrentWidget(m_ui->cidrTab);
    QCOMPARE(hidden->sources.size(), 1);
    QCOMPARE(m_settings->GetTabIndex(), m_ui->tabWidget->indexOf(m_ui->cidrTab));
}

void TstController::nestedWriteDoesNotUpdateTheWriterAgain()
{
    const std::set<OctetrySettings::Setting> relevant = {OctetrySettings::IPv6AddressSetting,
                                                        OctetrySettings::AllowOneSubnetBitSetting};
    ProbeController* writer = Probe(m_ui->classesTab, relevant);
    ProbeController* listener = Probe(m_ui->classesTab, relevant);
    writer->during = [this] { m_settings->SetAllowOneSubnetBit(!m_settings->GetAllowOneSubnetBit()); };
    ChangeIPv6(m_settings);
    QCOMPARE(writer->sources.size(), 1);
    // The listener hears the nested change inside its own update of the first one.
    QCOMPARE(listener->sources.size(), 2);
}

void TstController::blockedWidgetsStayQuietDuringAnUpdate()
{
    ProbeController* probe = Probe(m_ui->classesTab, {OctetrySettings::IPv6AddressSetting});
    QLineEdit edit;
    QLineEdit alreadyBlocked;
    alreadyBlocked.blockSignals(true);
    probe->blocked = {&edit, nullptr, &alreadyBlocked};
    QSignalSpy spy(&edit, &QLineEdit::textChanged);
    bool blockedDuring = false;
    probe->during = [&] {
        edit.setText(edit.text() + "x");
        blockedDuring = alreadyBlocked.signalsBlocked();
    };
    ChangeIPv6(m_settings);
    QCOMPARE(probe->sources.size(), 1);
    QCOMPARE(edit.text(), QString("x"));
    QCOMPARE(spy.count(), 0);
    QVERIFY(blockedDuring);
    QVERIFY(alreadyBlocked.signalsBlocked());
    edit.setText("after");
    QCOMPARE(spy.count(), 1);
}

void TstController::exceptionReleasesTheLock()
{
    ProbeController* probe = Probe(m_ui->classesTab, {OctetrySettings::IPv6AddressSetting});
    QLineEdit edit;
    probe->blocked = {&edit};
    probe->during = [] { throw std::runtime_error("update failed"); };
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, probe->UpdateView());
    QVERIFY(!probe->IsUpdating());
    QVERIFY(!edit.signalsBlocked());
    probe->during = nullptr;
    probe->UpdateView();
    QCOMPARE(probe->sources.size(), 2);
}

int main(int argc, char** argv)
{
    TestEnvironment env;
    QApplication app(argc, argv);
    BrandingUtil::SetApplicationIdentity();
    TstController test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_controller.moc"
