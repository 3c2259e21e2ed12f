// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

// Interaction, start-up and memory measurements of the real main window on the
// offscreen platform. Run without arguments; it starts copies of itself for the
// start-up and memory figures.
//
// An interaction is timed from sending its input event to the first moment the
// window has repainted and the event loop has nothing left to do: no posted
// event (the repaint request is one) and no due timer (the settings store's
// save is a zero-interval timer), as the user would wait for it.

#include "app/brandingutil.h"
#include "app/mainform.h"
#include "benchutil.h"
#include "common/testenvironment.h"
#include "ipv4/ipv4addressclass.h"
#include "settings/octetrysettings.h"
#include "ui_octetrymainform.h"

#include <QAbstractEventDispatcher>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMainWindow>
#include <QProcess>
#include <QStorageInfo>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <sys/vfs.h>
#include <utility>
#include <vector>

namespace {

// The targets the figures are read against.
constexpr double targetMedianMs = 2.0;
constexpr double targetP99Ms = 8.0;
constexpr double targetTableMiB = 2.0;
constexpr double targetStartRatio = 1.3;
constexpr long tmpfsMagic = 0x01021994;

struct Figures
{
    double median;
    double p99;
};

Figures Summarise(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    const auto at = [&](double q) {
        return samples[std::min(samples.size() - 1, static_cast<std::size_t>(q * static_cast<double>(samples.size())))];
    };
    return {at(0.5), at(0.99)};
}

const char* Verdict(bool met)
{
    return met ? "yes" : "**no**";
}

// OCTETRY_BENCH_REPETITIONS lowers the count for runs under a profiler.
const int repetitions = qEnvironmentVariableIsSet("OCTETRY_BENCH_REPETITIONS")
                            ? qEnvironmentVariableIntValue("OCTETRY_BENCH_REPETITIONS")
                            : 200;

// Counts the paint events of one window's widgets, so a span can tell that it repainted.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget* window)
        : m_window(window)
    {
        qApp->installEventFilter(this);
    }

    // The paints since the last call.
    [[nodiscard]] int Take() { return std::exchange(m_paints, 0); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType()
            && static_cast<QWidget*>(watched)->window() == m_window)
            ++m_paints;
        return false;
    }

private:
    QWidget* m_window;
    int m_paints = 0;
};

// One input of a scenario; an empty name sets up the next step, untimed.
struct Step
{
    std::string name;
    std::function<void()> input;
};

struct Row
{
    std::vector<double> samples;
    int repainted = 0;
};

// Replays steps in turn until every named step has its repetitions, timing
// each from its input to the idle, repainted window; prints one row per name.
void Measure(PaintCounter& painter, const std::vector<Step>& steps)
{
    // OCTETRY_BENCH_ONLY keeps the interactions whose name holds it, for a profiler.
    static const std::string only = qEnvironmentVariable("OCTETRY_BENCH_ONLY").toStdString();
    if (std::none_of(steps.begin(), steps.end(),
                     [](const Step& step) { return !step.name.empty() && step.name.find(only) != std::string::npos; }))
        return;
    std::vector<std::string> order;
    std::map<std::string, Row> rows;
    for (const Step& step : steps)
        if (!step.name.empty() && !rows.count(step.name)) {
            order.push_back(step.name);
            rows[step.name];
        }
    const auto done = [&] {
        return std::all_of(rows.begin(), rows.end(),
                           [](const auto& row) { return static_cast<int>(row.second.samples.size()) >= repetitions; });
    };
    while (!done()) {
        for (const Step& step : steps) {
            static_cast<void>(painter.Take());
            QElapsedTimer timer;
            timer.start();
            step.input();
            BenchUtil::RunUntilIdle();
            const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
            if (step.name.empty())
                continue;
            Row& row = rows[step.name];
            row.samples.push_back(ms);
            row.repainted += painter.Take() > 0 ? 1 : 0;
        }
    }
    for (const std::string& name : order) {
        const Row& row = rows[name];
        const Figures figures = Summarise(row.samples);
        std::printf("| %-46s | %5zu | %8.3f | %8.3f | %3.0f%% | %s |\n", name.c_str(), row.samples.size(),
                    figures.median, figures.p99, 100.0 * row.repainted / static_cast<double>(row.samples.size()),
                    Verdict(figures.median < targetMedianMs && figures.p99 < targetP99Ms));
    }
    std::fflush(stdout);
}

std::function<void()> Key(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    return [=] { QTest::keyClick(widget, key, modifiers); };
}

// One keystroke that changes the text, then the one that changes it back.
std::vector<Step> Keystroke(const std::string& name, QWidget* widget, Qt::Key key, Qt::Key back)
{
    return {{name, Key(widget, key)}, {name, Key(widget, back)}};
}

// From the combo's first entry to its last and back by the arrow keys, one sample a step.
std::vector<Step> Sweep(const std::string& name, QComboBox* combo)
{
    std::vector<Step> steps = {{{}, [combo] {
                                    combo->setFocus();
                                    combo->setCurrentIndex(0);
                                }}};
    for (int i = 1; i < combo->count(); ++i)
        steps.push_back({name, Key(combo, Qt::Key_Down)});
    for (int i = 1; i < combo->count(); ++i)
        steps.push_back({name, Key(combo, Qt::Key_Up)});
    return steps;
}

// The combo from entry `from` to entry `to` and back, as chosen from its list, one sample a step.
std::vector<Step> Switch(const std::string& name, QComboBox* combo, int from, int to)
{
    return {{{}, [combo, from] { combo->setCurrentIndex(from); }},
            {name, [combo, to] { combo->setCurrentIndex(to); }},
            {name, [combo, from] { combo->setCurrentIndex(from); }}};
}

// Select-all, then the copy of 10,000 rows around the current one (all rows would make
// more text than a copy holds) and its paste, where the copy's text is made.
std::vector<Step> CopySteps(const std::string& table, QAbstractItemView* view)
{
    const auto selectAround = [view] {
        const QAbstractItemModel* model = view->model();
        const int first = std::max(0, view->currentIndex().row() - 5000);
        const int last = std::min(model->rowCount() - 1, first + 9999);
        view->selectionModel()->select(QItemSelection(model->index(first, 0), model->index(last, 0)),
                                       QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    };
    return {{{}, [view] { view->setFocus(); }},
            {"Ctrl+A, " + table, Key(view, Qt::Key_A, Qt::ControlModifier)},
            {{}, selectAround},
            {"Ctrl+C, " + table + " (10,000 rows)", Key(view, Qt::Key_C, Qt::ControlModifier)},
            {"paste of that copy, " + table, [] { static_cast<void>(QApplication::clipboard()->text()); }},
            {{}, Key(view, Qt::Key_Down)}};
}

// A page down from the top, the jump to the end and the one back.
std::vector<Step> TableKeys(const std::string& table, QAbstractItemView* view)
{
    return {{{}, [view] { view->setFocus(); }},
            {"Page Down, " + table, Key(view, Qt::Key_PageDown)},
            {"Ctrl+End, " + table, Key(view, Qt::Key_End, Qt::ControlModifier)},
            {"Ctrl+Home, " + table, Key(view, Qt::Key_Home, Qt::ControlModifier)}};
}

void ShowPage(MainForm& form, QWidget* page)
{
    form.GetUi()->tabWidget->setCurrentWidget(page);
    BenchUtil::RunUntilIdle();
}

void StartTyping(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    edit->end(false);
    BenchUtil::RunUntilIdle();
}

void UseCidrTable(quint8 blockBits, quint32 cidrBits)
{
    OctetrySettings* settings = OctetrySettings::Instance();
    const IPv4AddressBlock block(blockBits);
    settings->SetCidrAddressBlock(block);
    settings->SetCidrPolicy(IPv4CidrPolicy(block, cidrBits));
}

void UseLargestCidrTable()
{
    UseCidrTable(1, 31);
}

void UseLargestSubnetsTable()
{
    OctetrySettings* settings = OctetrySettings::Instance();
    settings->SetAllowOneSubnetBit(true);
    settings->SetAllowOneHostBit(true);
    settings->SetIPv4Address(IPv4Address("10.1.2.3", IPv4Address::DottedDecimal));
    settings->SetSubnetPolicy(IPv4SubnetPolicy(IPv4AddressClass(IPv4AddressClass::ClassA), 23, true, true));
}

// The address typed on the IPv6 Subnets page, and the lengths of its plan.
void UseIPv6SubnetsTable(int prefixLength, int subnetLength)
{
    OctetrySettings* settings = OctetrySettings::Instance();
    settings->SetIPv6Address(IPv6Address("2001:db8:1200::1"));
    settings->SetIPv6PrefixLength(prefixLength);
    settings->SetIPv6SubnetLength(subnetLength);
}

// The two largest IPv6 Subnets tables: the whole address space split into
// /64 or /128 subnets, each a window of IPv6SubnetPlan::MaxRows rows.
void UseLargestIPv6SubnetsTable()
{
    UseIPv6SubnetsTable(0, 64);
}

void UseLargestIPv6HostsTable()
{
    UseIPv6SubnetsTable(0, 128);
}

// Every choosable type of the IPv6 tree, in the order the tree shows them.
std::vector<QModelIndex> ChoosableTypes(const QAbstractItemModel* model, const QModelIndex& parent = {})
{
    std::vector<QModelIndex> types;
    for (int row = 0; row < model->rowCount(parent); ++row) {
        const QModelIndex index = model->index(row, 0, parent);
        if (index.flags() & Qt::ItemIsSelectable)
            types.push_back(index);
        const std::vector<QModelIndex> children = ChoosableTypes(model, index);
        types.insert(types.end(), children.begin(), children.end());
    }
    return types;
}

int RunInteractions()
{
    MainForm form;
    form.resize(800, 600);
    form.show();
    form.activateWindow();
    if (!QTest::qWaitForWindowActive(&form))
        return 1;
    BenchUtil::RunUntilIdle();
    PaintCounter painter(&form);
    Ui::OctetryMainForm* ui = form.GetUi();

    std::printf("\n| Interaction, input to idle repainted window | samples | median ms | 99th pct ms | repainted "
                "| median < %.0f, p99 < %.0f |\n|---|---|---|---|---|---|\n",
                targetMedianMs, targetP99Ms);
    struct Page
    {
        const char* name;
        QWidget* page;
        QLineEdit* edit;
        const char* start;
    };
    const Page pages[] = {
        {"keystroke, Conversions", ui->conversionsTab, ui->dottedDecEdit, "10.1.2.3"},
        {"keystroke, Classes", ui->classesTab, ui->classesAddressEdit, "10.1.2.3"},
        {"keystroke, Subnets (class B, 172.16.2.3)", ui->subnetsTab, ui->subnetsAddressEdit, "172.16.2.3"},
        {"keystroke, CIDR", ui->cidrTab, ui->cidrAddressEdit, "10.1.2.3"},
        {"keystroke, IPv6", ui->ipv6Tab, ui->ipv6AddressEdit, "2001:db8::"},
        {"keystroke, IPv6 Subnets", ui->ipv6SubnetsTab, ui->ipv6SubnetsAddressEdit, "2001:db8:1200::"},
    };
    for (const Page& page : pages) {
        ShowPage(form, page.page);
        StartTyping(page.edit, QString::fromLatin1(page.start));
        Measure(painter, Keystroke(page.name, page.edit, Qt::Key_1, Qt::Key_Backspace));
    }
    // The News page has no edit; Tab and Shift+Tab walk the links of its text.
    ShowPage(form, ui->newsTab);
    ui->newsTextBrowser->setFocus();
    Measure(painter, Keystroke("keystroke, News (Tab, Shift+Tab)", ui->newsTextBrowser, Qt::Key_Tab, Qt::Key_Backtab));

    ShowPage(form, ui->cidrTab);
    UseCidrTable(16, 8);
    QAbstractItemView* cidrTable = ui->cidrTableView;
    Measure(painter, {{{}, [cidrTable] { cidrTable->setFocus(); }},
                      {"Ctrl+A, CIDR /16 with mask /24 (256 rows)", Key(cidrTable, Qt::Key_A, Qt::ControlModifier)},
                      {"Ctrl+C, CIDR /16 with mask /24 (256 rows)", Key(cidrTable, Qt::Key_C, Qt::ControlModifier)},
                      {{}, Key(cidrTable, Qt::Key_Down)}});

    UseLargestCidrTable();
    StartTyping(ui->cidrAddressEdit, QStringLiteral("10.1.2.3"));
    const std::string largestCidr = "CIDR /1 with mask /32";
    Measure(painter, Keystroke("keystroke, " + largestCidr, ui->cidrAddressEdit, Qt::Key_1, Qt::Key_Backspace));
    Measure(painter, TableKeys(largestCidr + " table", cidrTable));
    Measure(painter, CopySteps(largestCidr + " table", cidrTable));

    ShowPage(form, ui->subnetsTab);
    UseLargestSubnetsTable();
    StartTyping(ui->subnetsAddressEdit, QStringLiteral("10.1.2.3"));
    const std::string largestSubnets = "Subnets class A, 23 bits";
    Measure(painter, Keystroke("keystroke, " + largestSubnets, ui->subnetsAddressEdit, Qt::Key_1, Qt::Key_Backspace));
    Measure(painter, TableKeys(largestSubnets + " table", ui->subnetsTableView));

    // The IPv6 Subnets page at its two largest sizes; the /128 one stays loaded.
    ShowPage(form, ui->ipv6SubnetsTab);
    QAbstractItemView* ipv6SubnetsTable = ui->ipv6SubnetsTableView;
    struct Largest
    {
        const char* name;
        void (*use)();
    };
    for (const Largest& largest : {Largest{"IPv6 Subnets /0 into /64", UseLargestIPv6SubnetsTable},
                                   Largest{"IPv6 Subnets /0 into /128", UseLargestIPv6HostsTable}}) {
        const std::string largestIPv6 = largest.name;
        largest.use();
        StartTyping(ui->ipv6SubnetsAddressEdit, QStringLiteral("2001:db8:1200::"));
        Measure(painter,
                Keystroke("keystroke, " + largestIPv6, ui->ipv6SubnetsAddressEdit, Qt::Key_1, Qt::Key_Backspace));
        Measure(painter, TableKeys(largestIPv6 + " table", ipv6SubnetsTable));
        Measure(painter, CopySteps(largestIPv6 + " table", ipv6SubnetsTable));
    }

    // The three pages' largest tables stay loaded while the pages are switched.
    QTabBar* tabBar = ui->tabWidget->tabBar();
    std::vector<Step> switches;
    const char* const pageNames[] = {"Conversions", "Classes", "Subnets", "CIDR", "IPv6", "IPv6 Subnets", "News"};
    if (tabBar->count() != static_cast<int>(std::size(pageNames))) {
        std::fprintf(stderr, "the window has %d pages, the benchmark names %zu\n", tabBar->count(),
                     std::size(pageNames));
        return 1;
    }
    for (int tab = 0; tab < tabBar->count(); ++tab) {
        const int next = (tab + 1) % tabBar->count();
        switches.push_back({std::string("tab switch to ") + pageNames[next], [tabBar, next] {
                                QTest::mouseClick(tabBar, Qt::LeftButton, {}, tabBar->tabRect(next).center());
                            }});
    }
    Measure(painter, switches);

    ShowPage(form, ui->subnetsTab);
    for (QAction* action : {ui->actionAllowOneSubnetBit, ui->actionAllowOneHostBit}) {
        UseLargestSubnetsTable();
        BenchUtil::RunUntilIdle();
        const std::string name = "menu " + action->text().remove(QLatin1Char('&')).toStdString() + ", Subnets class A";
        Measure(painter, {{name, [action] { action->trigger(); }}});
    }

    struct Combo
    {
        const char* name;
        QWidget* page;
        QComboBox* combo;
        void (*use)();
    };
    const Combo combos[] = {
        {"sweep, Subnets mask", ui->subnetsTab, ui->subnetsMaskComboBox, UseLargestSubnetsTable},
        {"sweep, Subnets subnet bits", ui->subnetsTab, ui->subnetBitsComboBox, UseLargestSubnetsTable},
        {"sweep, Subnets max subnets", ui->subnetsTab, ui->maxSubnetsComboBox, UseLargestSubnetsTable},
        {"sweep, Subnets host bits", ui->subnetsTab, ui->hostBitsComboBox, UseLargestSubnetsTable},
        {"sweep, Subnets max hosts", ui->subnetsTab, ui->maxHostsComboBox, UseLargestSubnetsTable},
        {"sweep, CIDR address block mask", ui->cidrTab, ui->addressBlockMaskComboBox, UseLargestCidrTable},
        {"sweep, CIDR bits", ui->cidrTab, ui->cidrBitsComboBox, UseLargestCidrTable},
        {"sweep, CIDR max networks", ui->cidrTab, ui->cidrMaxNetworksComboBox, UseLargestCidrTable},
        {"sweep, CIDR mask", ui->cidrTab, ui->cidrMaskComboBox, UseLargestCidrTable},
        {"sweep, IPv6 Subnets prefix length", ui->ipv6SubnetsTab, ui->ipv6PrefixLengthComboBox,
         UseLargestIPv6SubnetsTable},
        {"sweep, IPv6 Subnets subnet length", ui->ipv6SubnetsTab, ui->ipv6SubnetLengthComboBox,
         UseLargestIPv6SubnetsTable},
    };
    for (const Combo& combo : combos) {
        ShowPage(form, combo.page);
        combo.use();
        BenchUtil::RunUntilIdle();
        Measure(painter, Sweep(std::string(combo.name) + " (" + std::to_string(combo.combo->count()) + " entries)",
                               combo.combo));
    }

    // A table's change of size costs the same at every size: a switch between its two smallest
    // sizes against one between its smallest and largest.
    std::printf("\n| Switch, input to idle repainted window | samples | median ms | 99th pct ms | repainted | "
                "median < %.0f, p99 < %.0f |\n|---|---|---|---|---|---|\n",
                targetMedianMs, targetP99Ms);
    struct Sizes
    {
        const char* name;
        QWidget* page;
        QComboBox* combo;
        void (*use)();
        int smallest;
        const char* sizes[3];
    };
    const Sizes sizes[] = {
        {"CIDR /1, mask",
         ui->cidrTab,
         ui->cidrMaskComboBox,
         UseLargestCidrTable,
         0,
         {"/2 and /3 (2 and 4 rows)", "/2 and /7 (2 and 64 rows)", "/2 and /32 (2 and 16,777,216 rows)"}},
        {"Subnets class A, subnet bits",
         ui->subnetsTab,
         ui->subnetBitsComboBox,
         UseLargestSubnetsTable,
         0,
         {"1 and 2 (2 and 4 rows)", "1 and 6 (2 and 64 rows)", "1 and 23 (2 and 8,388,608 rows)"}},
        {"IPv6 Subnets /0, subnet length",
         ui->ipv6SubnetsTab,
         ui->ipv6SubnetLengthComboBox,
         UseLargestIPv6HostsTable,
         1,
         {"/1 and /2 (2 and 4 rows)", "/1 and /6 (2 and 64 rows)", "/1 and /128 (2 and 2,147,483,647 rows)"}},
    };
    for (const Sizes& size : sizes) {
        ShowPage(form, size.page);
        size.use();
        BenchUtil::RunUntilIdle();
        const std::string name = std::string("switch, ") + size.name + " ";
        Measure(painter, Switch(name + size.sizes[0], size.combo, size.smallest, size.smallest + 1));
        // A full page: beyond it, the number of rows should cost nothing more.
        Measure(painter, Switch(name + size.sizes[1], size.combo, size.smallest, size.smallest + 5));
        Measure(painter, Switch(name + size.sizes[2], size.combo, size.smallest, size.combo->count() - 1));
    }

    ShowPage(form, ui->ipv6Tab);
    QTreeView* tree = ui->ipv6AddressTypeTreeView;
    std::vector<Step> choices;
    for (const QModelIndex& index : ChoosableTypes(tree->model()))
        choices.push_back({"type choice, IPv6 tree", [tree, index] { tree->setCurrentIndex(index); }});
    if (!choices.empty())
        Measure(painter, choices);
    return 0;
}

// A child run: shows one window, prints when it is first exposed and its peak memory.
int RunChild(const QString& kind)
{
    std::unique_ptr<QMainWindow> window;
    if (kind == QLatin1String("bare")) {
        window = std::make_unique<QMainWindow>();
        auto* tabs = new QTabWidget(window.get());
        for (const char* title : {"Conversions", "Classes", "Subnets", "CIDR", "IPv6", "IPv6 Subnets", "News"})
            tabs->addTab(new QWidget(tabs), QString::fromLatin1(title));
        window->setCentralWidget(tabs);
    } else {
        if (kind == QLatin1String("cidr")) {
            UseLargestCidrTable();
            OctetrySettings::Instance()->SetTabIndex(3);
        } else if (kind == QLatin1String("subnets")) {
            UseLargestSubnetsTable();
            OctetrySettings::Instance()->SetTabIndex(2);
        } else if (kind == QLatin1String("ipv6subnets64") || kind == QLatin1String("ipv6subnets128")) {
            if (kind == QLatin1String("ipv6subnets64"))
                UseLargestIPv6SubnetsTable();
            else
                UseLargestIPv6HostsTable();
            // The stored index of the IPv6 Subnets page, which came after News.
            OctetrySettings::Instance()->SetTabIndex(6);
        } else {
            OctetrySettings::Instance()->SetTabIndex(0);
        }
        window = std::make_unique<MainForm>();
    }
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return 1;
    std::printf("shown %ld\n", BenchUtil::PeakResidentKiB());
    std::fflush(stdout);
    return 0;
}

struct ChildFigures
{
    std::vector<double> startMs;
    long peakKiB = 0;
};

ChildFigures RunChildren(const QString& kind, int runs)
{
    ChildFigures figures;
    for (int run = 0; run < runs; ++run) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer timer;
        timer.start();
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), kind});
        QByteArray output;
        while (!output.contains('\n') && child.waitForReadyRead(30000))
            output += child.readAllStandardOutput();
        figures.startMs.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        child.waitForFinished(30000);
        output += child.readAllStandardOutput();
        if (output.startsWith("shown "))
            figures.peakKiB = std::max(figures.peakKiB, output.mid(6).trimmed().toLong());
    }
    return figures;
}

int RunStartup()
{
    // Alternating runs, so that a change in the machine's load falls on both alike.
    constexpr int runs = 30;
    ChildFigures bare, octetry;
    for (int run = 0; run < runs; ++run) {
        for (auto [kind, figures] : {std::pair{"bare", &bare}, std::pair{"octetry", &octetry}}) {
            const ChildFigures one = RunChildren(QString::fromLatin1(kind), 1);
            figures->startMs.push_back(one.startMs.front());
            figures->peakKiB = std::max(figures->peakKiB, one.peakKiB);
        }
    }
    const ChildFigures cidr = RunChildren(QStringLiteral("cidr"), 3);
    const ChildFigures subnets = RunChildren(QStringLiteral("subnets"), 3);
    const ChildFigures ipv6Subnets = RunChildren(QStringLiteral("ipv6subnets64"), 3);
    const ChildFigures ipv6Hosts = RunChildren(QStringLiteral("ipv6subnets128"), 3);
    const Figures bareStart = Summarise(bare.startMs);
    const Figures octetryStart = Summarise(octetry.startMs);
    const double ratio = octetryStart.median / bareStart.median;
    std::printf("\n| Start-up to first exposed window (%d alternating runs) | median ms | 99th pct ms | ratio to bare "
                "| within %.1f× "
                "|\n|---|---|---|---|---|\n",
                runs, targetStartRatio);
    std::printf("| bare seven-page QTabWidget window | %8.1f | %8.1f | | |\n", bareStart.median, bareStart.p99);
    std::printf("| Octetry | %8.1f | %8.1f | %5.2f | %s |\n", octetryStart.median, octetryStart.p99, ratio,
                Verdict(ratio <= targetStartRatio));

    std::printf("\n| Peak resident memory (VmHWM) when shown | MiB | added by the table, MiB | at most %.0f |\n"
                "|---|---|---|---|\n",
                targetTableMiB);
    std::printf("| bare seven-page QTabWidget window | %6.1f | | |\n", bare.peakKiB / 1024.0);
    std::printf("| Octetry, Conversions page | %6.1f | | |\n", octetry.peakKiB / 1024.0);
    for (const auto& [name, figures] :
         {std::pair{"Octetry, CIDR /1 with mask /32", cidr}, std::pair{"Octetry, Subnets class A, 23 bits", subnets},
          std::pair{"Octetry, IPv6 Subnets /0 into /64", ipv6Subnets},
          std::pair{"Octetry, IPv6 Subnets /0 into /128", ipv6Hosts}}) {
        const double added = static_cast<double>(figures.peakKiB - octetry.peakKiB) / 1024.0;
        std::printf("| %s | %6.1f | %6.1f | %s |\n", name, figures.peakKiB / 1024.0, added,
                    Verdict(added <= targetTableMiB));
    }
    return 0;
}

// The settings and cache go under the build folder, which must be on disk:
// the settings store syncs its file, and a tmpfs would hide that cost.
QString DiskFolder(const char* program)
{
    const QString folder = QFileInfo(QFile::decodeName(program)).absolutePath();
    struct statfs info = {};
    if (statfs(QFile::encodeName(folder).constData(), &info) != 0 || static_cast<long>(info.f_type) == tmpfsMagic) {
        std::fprintf(stderr, "%s is not on a disk-backed file system\n", qPrintable(folder));
        return {};
    }
    return folder;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QString folder = DiskFolder(argv[0]);
    if (folder.isEmpty())
        return 1;
    TestEnvironment environment(folder);
    QApplication app(argc, argv);
    BrandingUtil::SetApplicationIdentity();
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 3 && arguments.at(1) == QLatin1String("--child"))
        return RunChild(arguments.at(2));
    std::printf("Qt %s, %s platform; settings and cache in %s (%s)\n", qVersion(),
                qPrintable(QGuiApplication::platformName()), qPrintable(environment.path()),
                QStorageInfo(environment.path()).fileSystemType().constData());
    const int result = RunInteractions();
    if (result != 0 || qEnvironmentVariableIsSet("OCTETRY_BENCH_REPETITIONS"))
        return result;
    return RunStartup();
}
