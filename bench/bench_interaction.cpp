// Interaction, start-up and memory measurements of the real main window on the
// offscreen platform. Run without arguments; it starts copies of itself for the
// start-up and memory figures.

#include "app/brandingutil.h"
#include "app/mainform.h"
#include "common/testenvironment.h"
#include "ipv4/ipv4addressclass.h"
#include "settings/octetrysettings.h"
#include "ui_octetrymainform.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMainWindow>
#include <QProcess>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

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

// Milliseconds spent inside each call of step, over repetitions.
std::vector<double> Measure(int repetitions, const std::function<void(int)>& step)
{
    std::vector<double> samples;
    samples.reserve(static_cast<std::size_t>(repetitions));
    for (int i = 0; i < repetitions; ++i) {
        const auto start = Clock::now();
        step(i);
        samples.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        // Deferred work (the settings file, repaints) runs between keystrokes, untimed.
        QCoreApplication::processEvents();
    }
    return samples;
}

void Report(const char* name, const std::vector<double>& samples)
{
    const Figures figures = Summarise(samples);
    std::printf("| %-52s | %8.3f | %8.3f |\n", name, figures.median, figures.p99);
    std::fflush(stdout);
}

long PeakResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// OCTETRY_BENCH_REPETITIONS lowers the count for runs under a profiler.
const int repetitions = qEnvironmentVariableIsSet("OCTETRY_BENCH_REPETITIONS")
                            ? qEnvironmentVariableIntValue("OCTETRY_BENCH_REPETITIONS")
                            : 300;

// One keystroke that changes the stored address, then the one that changes it back.
void TypeAlternately(QLineEdit* edit, int i)
{
    if (i % 2 == 0)
        QTest::keyClick(edit, Qt::Key_1);
    else
        QTest::keyClick(edit, Qt::Key_Backspace);
}

void ShowPage(MainForm& form, QWidget* page)
{
    form.GetUi()->tabWidget->setCurrentWidget(page);
    QCoreApplication::processEvents();
}

void StartTyping(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    edit->end(false);
}

void UseLargestCidrTable()
{
    OctetrySettings* settings = OctetrySettings::Instance();
    const IPv4AddressBlock block(1);
    settings->SetCidrAddressBlock(block);
    settings->SetCidrPolicy(IPv4CidrPolicy(block, 31));
}

void UseLargestSubnetsTable()
{
    OctetrySettings* settings = OctetrySettings::Instance();
    settings->SetAllowOneSubnetBit(true);
    settings->SetAllowOneHostBit(true);
    settings->SetIPv4Address(IPv4Address("10.1.2.3", IPv4Address::DottedDecimal));
    settings->SetSubnetPolicy(IPv4SubnetPolicy(IPv4AddressClass(IPv4AddressClass::ClassA), 23, true, true));
}

int RunInteractions()
{
    MainForm form;
    form.resize(800, 600);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;
    Ui::OctetryMainForm* ui = form.GetUi();

    std::printf("| Interaction (ms, %d repetitions) | median | 99th pct |\n|---|---|---|\n", repetitions);
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
        {"keystroke, Subnets", ui->subnetsTab, ui->subnetsAddressEdit, "172.16.2.3"},
        {"keystroke, CIDR", ui->cidrTab, ui->cidrAddressEdit, "10.1.2.3"},
        {"keystroke, IPv6", ui->ipv6Tab, ui->ipv6AddressEdit, "2001:db8::"},
    };
    for (const Page& page : pages) {
        ShowPage(form, page.page);
        StartTyping(page.edit, QString::fromLatin1(page.start));
        Report(page.name, Measure(repetitions, [&](int i) { TypeAlternately(page.edit, i); }));
    }

    ShowPage(form, ui->cidrTab);
    UseLargestCidrTable();
    StartTyping(ui->cidrAddressEdit, QStringLiteral("10.1.2.3"));
    Report("keystroke, CIDR /1 with mask /32 (2^31 routes)",
           Measure(repetitions, [&](int i) { TypeAlternately(ui->cidrAddressEdit, i); }));

    ShowPage(form, ui->subnetsTab);
    UseLargestSubnetsTable();
    StartTyping(ui->subnetsAddressEdit, QStringLiteral("10.1.2.3"));
    Report("keystroke, Subnets class A, 23 bits (8,388,608 rows)",
           Measure(repetitions, [&](int i) { TypeAlternately(ui->subnetsAddressEdit, i); }));

    QComboBox* subnetMasks = ui->subnetsMaskComboBox;
    Report("combo choice, Subnets mask",
           Measure(repetitions, [&](int i) { subnetMasks->setCurrentIndex(i % std::max(1, subnetMasks->count())); }));

    ShowPage(form, ui->cidrTab);
    StartTyping(ui->cidrAddressEdit, QStringLiteral("10.1.2.3"));
    QComboBox* cidrMasks = ui->cidrMaskComboBox;
    Report("combo choice, CIDR mask",
           Measure(repetitions, [&](int i) { cidrMasks->setCurrentIndex(i % std::max(1, cidrMasks->count())); }));

    ShowPage(form, ui->ipv6Tab);
    QTreeView* tree = ui->ipv6AddressTypeTreeView;
    std::vector<QModelIndex> choosable;
    std::function<void(const QModelIndex&)> collect = [&](const QModelIndex& parent) {
        for (int row = 0; row < tree->model()->rowCount(parent); ++row) {
            const QModelIndex index = tree->model()->index(row, 0, parent);
            if (index.flags() & Qt::ItemIsSelectable)
                choosable.push_back(index);
            collect(index);
        }
    };
    collect(QModelIndex());
    if (!choosable.empty())
        Report("type choice, IPv6 tree", Measure(repetitions, [&](int i) {
                   tree->setCurrentIndex(choosable[static_cast<std::size_t>(i) % choosable.size()]);
               }));
    return 0;
}

// A child run: shows one window, prints when it is first exposed and its peak memory.
int RunChild(const QString& kind)
{
    std::unique_ptr<QMainWindow> window;
    if (kind == QLatin1String("bare")) {
        window = std::make_unique<QMainWindow>();
        auto* tabs = new QTabWidget(window.get());
        for (const char* title : {"Conversions", "Classes", "Subnets", "CIDR", "IPv6", "News"})
            tabs->addTab(new QWidget(tabs), QString::fromLatin1(title));
        window->setCentralWidget(tabs);
    } else {
        if (kind == QLatin1String("cidr")) {
            UseLargestCidrTable();
            OctetrySettings::Instance()->SetTabIndex(3);
        } else if (kind == QLatin1String("subnets")) {
            UseLargestSubnetsTable();
            OctetrySettings::Instance()->SetTabIndex(2);
        } else {
            OctetrySettings::Instance()->SetTabIndex(0);
        }
        window = std::make_unique<MainForm>();
    }
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return 1;
    std::printf("shown %ld\n", PeakResidentKiB());
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
    constexpr int runs = 20;
    const ChildFigures bare = RunChildren(QStringLiteral("bare"), runs);
    const ChildFigures octetry = RunChildren(QStringLiteral("octetry"), runs);
    const ChildFigures cidr = RunChildren(QStringLiteral("cidr"), 3);
    const ChildFigures subnets = RunChildren(QStringLiteral("subnets"), 3);
    const Figures bareStart = Summarise(bare.startMs);
    const Figures octetryStart = Summarise(octetry.startMs);
    std::printf(
        "\n| Start-up to first shown window (%d runs) | median ms | 99th pct ms | peak RSS MiB |\n|---|---|---|---|\n",
        runs);
    std::printf("| bare six-page QTabWidget window | %8.1f | %8.1f | %6.1f |\n", bareStart.median, bareStart.p99,
                bare.peakKiB / 1024.0);
    std::printf("| Octetry | %8.1f | %8.1f | %6.1f |\n", octetryStart.median, octetryStart.p99,
                octetry.peakKiB / 1024.0);
    std::printf("| ratio Octetry / bare | %8.2f | | |\n", octetryStart.median / bareStart.median);
    std::printf("| Octetry showing CIDR /1 with mask /32 | | | %6.1f |\n", cidr.peakKiB / 1024.0);
    std::printf("| Octetry showing Subnets class A, 23 bits | | | %6.1f |\n", subnets.peakKiB / 1024.0);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TestEnvironment environment;
    QApplication app(argc, argv);
    BrandingUtil::SetApplicationIdentity();
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 3 && arguments.at(1) == QLatin1String("--child"))
        return RunChild(arguments.at(2));
    const int result = RunInteractions();
    if (result != 0 || qEnvironmentVariableIsSet("OCTETRY_BENCH_REPETITIONS"))
        return result;
    return RunStartup();
}
