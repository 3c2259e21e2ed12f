// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

// The Lists page against iprange and Python's ipaddress.collapse_addresses on
// the same files: a million random IPv4 prefixes (/22-/32) and a million random
// IPv6 prefixes (/32-/128), from opening the file to the merged result shown,
// with peak memory; then the GUI thread's share of typing into the million-line
// list. Each tool runs as a process of its own, so its memory is its own; the
// program's figures come from a copy of this benchmark started per file.

#include "app/brandingutil.h"
#include "app/mainform.h"
#include "app/memorypolicy.h"
#include "benchutil.h"
#include "common/testenvironment.h"
#include "controllers/liststabcontroller.h"
#include "ui_octetrymainform.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kPrefixes = 1000000;
constexpr int kKeystrokes = 200;
const char* const kChildMode = "--octetry";

// "a.b.c.d/n" or compressed IPv6 "x:x::/n", host bits clear, lengths uniform in [shortest, bits].
QByteArray RandomPrefixes(bool ipv6)
{
    QRandomGenerator random(ipv6 ? 6 : 4);
    QByteArray text;
    for (int n = 0; n < kPrefixes; ++n) {
        const int length = static_cast<int>(ipv6 ? random.bounded(32, 129) : random.bounded(22, 33));
        if (!ipv6) {
            const quint32 value = random.generate() & ~quint32(length == 0 ? 0xffffffffu : (1ull << (32 - length)) - 1);
            text += QByteArray::number(value >> 24) + '.' + QByteArray::number(value >> 16 & 255) + '.'
                    + QByteArray::number(value >> 8 & 255) + '.' + QByteArray::number(value & 255);
        } else {
            Q_IPV6ADDR bytes;
            for (int b = 0; b < 16; ++b)
                bytes[b] =
                    static_cast<quint8>(8 * b >= length       ? 0
                                        : 8 * b + 8 <= length ? random.bounded(256)
                                                              : random.bounded(256) & (0xff00 >> (length - 8 * b)));
            text += QHostAddress(bytes).toString().toLatin1();
        }
        text += '/' + QByteArray::number(length) + '\n';
    }
    return text;
}

struct Run
{
    double seconds = -1;
    double mib = -1;
};

// Runs argv to its end; its wall time and peak resident memory.
Run RunProcess(const std::vector<std::string>& arguments)
{
    QElapsedTimer timer;
    timer.start();
    const pid_t child = fork();
    if (child == 0) {
        std::vector<char*> argv;
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        if (!freopen("/dev/null", "w", stdout))
            _exit(127);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    return {static_cast<double>(timer.nsecsElapsed()) / 1e9, static_cast<double>(usage.ru_maxrss) / 1024.0};
}

// The child: opens file on the Lists page and prints its figures on one line.
int RunOctetry(const QString& file)
{
    // As the program's own main does.
    MemoryPolicy::Apply();
    TestEnvironment environment;
    int argc = 1;
    char name[] = "bench_lists";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    BrandingUtil::SetApplicationIdentity();
    MainForm form;
    Ui::OctetryMainForm* ui = form.GetUi();
    form.show();
    ui->tabWidget->setCurrentWidget(ui->listsTab);
    BenchUtil::RunUntilIdle();
    auto* controller = static_cast<ListsTabController*>(form.FindTabController(ui->listsTab));

    BenchUtil::LongestHold hold;
    QElapsedTimer timer;
    timer.start();
    hold.Start();
    controller->OpenList(0, file);
    const auto shown = [&] {
        return ui->listCountsLabel->text().contains("1,000,000 in A") && !ui->listWorkingLabel->isVisible();
    };
    if (!BenchUtil::WaitUntil(shown, 120000))
        return 1;
    const double resultSeconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    const double holdToResult = hold.Ms();
    const double mibAtResult = static_cast<double>(BenchUtil::PeakResidentKiB()) / 1024.0;
    if (!BenchUtil::WaitUntil([&] { return !ui->listAEdit->isReadOnly(); }, 600000))
        return 1;
    const double filledSeconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    if (!BenchUtil::WaitUntil(shown, 120000))
        return 1;
    QTest::qWait(100);
    hold.Stop();
    const double holdToFilled = hold.Ms();
    const double mibFilled = static_cast<double>(BenchUtil::PeakResidentKiB()) / 1024.0;

    // A keystroke and its undoing in turn, at the list's top, each timed to the idle window; the
    // computation it starts runs on its own thread.
    ui->listAEdit->setFocus();
    ui->listAEdit->moveCursor(QTextCursor::Start);
    std::vector<double> samples;
    for (int n = 0; n < kKeystrokes; ++n) {
        QElapsedTimer key;
        key.start();
        QTest::keyClick(ui->listAEdit, n % 2 == 0 ? Qt::Key_Return : Qt::Key_Backspace);
        BenchUtil::RunUntilIdle();
        samples.push_back(static_cast<double>(key.nsecsElapsed()) / 1e6);
    }
    std::sort(samples.begin(), samples.end());
    std::printf("%.3f %.1f %.1f %.3f %.1f %.1f %.3f %.3f\n", resultSeconds, holdToResult, mibAtResult, filledSeconds,
                holdToFilled, mibFilled, samples[samples.size() / 2], samples[samples.size() * 99 / 100]);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && qstrcmp(argv[1], kChildMode) == 0)
        return RunOctetry(QString::fromLocal8Bit(argv[2]));
    QTemporaryDir folder;
    const std::string self = QFileInfo(QString::fromLocal8Bit(argv[0])).absoluteFilePath().toStdString();
    const bool haveIprange = !QStandardPaths::findExecutable(QStringLiteral("iprange")).isEmpty();
    std::printf("| %s random prefixes, open to merged result | Octetry s | GUI hold ms | MiB | in the editor s | "
                "GUI hold ms | MiB | keystroke median ms | p99 ms | iprange s | MiB | Python s | MiB |\n"
                "|---|---|---|---|---|---|---|---|---|---|---|---|---|\n",
                qPrintable(QLocale(QLocale::English).toString(kPrefixes)));
    // Written out now: a child would otherwise write what is buffered a second time.
    std::fflush(stdout);
    for (const bool ipv6 : {false, true}) {
        const QString file = folder.filePath(ipv6 ? QStringLiteral("v6.txt") : QStringLiteral("v4.txt"));
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(RandomPrefixes(ipv6)) < 0)
            return 1;
        out.close();
        // The figures of the program's own run, read from its one line.
        FILE* child = popen(("'" + self + "' " + kChildMode + " '" + file.toStdString() + "'").c_str(), "r");
        char line[512] = {};
        const bool read = child && fgets(line, sizeof line, child);
        if (child)
            pclose(child);
        QStringList octetry = QString::fromLatin1(read ? line : "").split(' ', Qt::SkipEmptyParts);
        while (octetry.size() < 8)
            octetry << QStringLiteral("?");
        const Run iprange = haveIprange && !ipv6 ? RunProcess({"iprange", file.toStdString()}) : Run();
        const Run python = RunProcess({"python3", "-c",
                                       "import ipaddress, sys\n"
                                       "nets = [ipaddress.ip_network(line.strip()) for line in open(sys.argv[1])]\n"
                                       "print(len(list(ipaddress.collapse_addresses(nets))))",
                                       file.toStdString()});
        const auto figure = [](double value, const char* format) {
            return value < 0 ? QStringLiteral("n/a") : QString::asprintf(format, value);
        };
        std::printf("| %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s |\n", ipv6 ? "IPv6" : "IPv4",
                    qPrintable(octetry[0].trimmed()), qPrintable(octetry[1]), qPrintable(octetry[2]),
                    qPrintable(octetry[3]), qPrintable(octetry[4]), qPrintable(octetry[5]), qPrintable(octetry[6]),
                    qPrintable(octetry[7].trimmed()), qPrintable(figure(iprange.seconds, "%.3f")),
                    qPrintable(figure(iprange.mib, "%.1f")), qPrintable(figure(python.seconds, "%.3f")),
                    qPrintable(figure(python.mib, "%.1f")));
        std::fflush(stdout);
    }
    return 0;
}
