// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

// The longest time the GUI thread is held while a hostile news page arrives
// and while it is shown at start from the cache, through the real main window
// on the offscreen platform.

#include "app/brandingutil.h"
#include "app/mainform.h"
#include "benchutil.h"
#include "common/rawserver.h"
#include "common/testenvironment.h"
#include "news/newstabcontroller.h"
#include "settings/octetrysettings.h"
#include "ui_octetrymainform.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <memory>
#include <random>

namespace {

const int newsTabIndex = 5;
// Time given to the page after it is shown, for the lazy layout and painting.
const int settleMs = 1000;
const int limitMs = 20000;

QByteArray Repeat(const QByteArray& unit)
{
    QByteArray page;
    while (page.size() + unit.size() <= NewsTabController::maxBodySize)
        page += unit;
    return page;
}

QByteArray RandomBytes()
{
    std::mt19937 generator(1);
    QByteArray page(NewsTabController::maxBodySize, Qt::Uninitialized);
    for (char& byte : page)
        byte = static_cast<char>(generator());
    return page;
}

QByteArray NestedTables(int depth)
{
    return QByteArray("<table><tr><td>x").repeated(depth);
}

struct Page
{
    const char* name;
    std::function<QByteArray()> make;
};

const Page pages[] = {
    {"1 MiB, one word", [] { return QByteArray(NewsTabController::maxBodySize, 'w'); }},
    {"1 MiB, random bytes", RandomBytes},
    {"1 MiB, <br> lines", [] { return Repeat("x<br>"); }},
    {"1 MiB, table cells", [] { return "<table>" + Repeat("<tr><td>a</td><td>b</td></tr>"); }},
    {"1 MiB, <p> paragraphs", [] { return Repeat("<p>x</p>"); }},
    {"20 nested tables", [] { return NestedTables(20); }},
    {"1 MiB, images of /dev/zero", [] { return Repeat("<img src=\"file:///dev/zero\">"); }},
};

// Opens the window and returns the longest gap between two turns of the event
// loop, its construction included, until the viewer has been given `pages`
// pages (the built-in one comes first when nothing is cached) and has settled.
double LongestHoldMs(quint16 port, int pages)
{
    qputenv("OCTETRY_NEWS_URL", QByteArray("http://127.0.0.1:" + QByteArray::number(port) + "/news/octetry-news.html"));
    BenchUtil::LongestHold hold;
    hold.Start();
    QTest::qWait(50);
    hold.Start();
    auto form = std::make_unique<MainForm>();
    form->show();
    QTextBrowser* browser = form->GetUi()->newsTextBrowser;
    for (int page = 0; page < pages; ++page) {
        const QTextDocument* previous = browser->document();
        if (!BenchUtil::WaitUntil([&] { return browser->document() != previous; }, limitMs))
            std::fprintf(stderr, "the page was not shown within %d ms\n", limitMs);
    }
    QTest::qWait(settleMs);
    hold.Stop();
    return hold.Ms();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TestEnvironment environment;
    QApplication app(argc, argv);
    BrandingUtil::SetApplicationIdentity();
    OctetrySettings::Instance()->SetTabIndex(newsTabIndex);
    OctetrySettings::Instance()->Flush();

    std::printf("| News page (longest GUI hold, ms) | arrives | at start, cached |\n|---|---|---|\n");
    for (const Page& page : pages) {
        const QByteArray body = page.make();
        const QString cache = NewsTabController::GetCacheFileInfo().absoluteFilePath();
        QDir(QFileInfo(cache).absolutePath()).removeRecursively();
        RawServer server("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: "
                         + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
        const double arrives = LongestHoldMs(server.port(), 2);
        if (QFileInfo(cache).size() != body.size())
            std::fprintf(stderr, "%s: the page was not cached\n", page.name);
        // A closed port: the start shows the cached copy and nothing else.
        const double atStart = LongestHoldMs(9, 1);
        std::printf("| %-32s | %8.1f | %8.1f |\n", page.name, arrives, atStart);
        std::fflush(stdout);
    }
    return 0;
}
