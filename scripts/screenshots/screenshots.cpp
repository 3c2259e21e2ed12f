// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

// Saves a PNG of every page of the main window, in the Fusion style with its
// light palette or, with --dark, a dark one. scripts/screenshots.sh runs it
// under a virtual display with prepared settings in a temporary folder.
//
//   octetry_screenshots [--dark] OUTPUT_FOLDER

#include "app/brandingutil.h"
#include "app/mainform.h"
#include "controllers/tabcontroller.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QPalette>
#include <QPixmap>
#include <QStyle>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTextBrowser>
#include <QThread>

#include <algorithm>
#include <array>
#include <cstdio>

namespace {

// File names of the pages, by the number the TabIndex setting keeps for each.
constexpr std::array<const char*, 7> pageNames = {
    "conversions", "classes", "subnets", "cidr", "ipv6", "news", "ipv6-subnets",
};

struct PaletteColour
{
    QPalette::ColorRole role;
    QRgb colour;
};

// The dark palette of every colour group; disabled texts are overridden below.
constexpr std::array<PaletteColour, 20> darkColours = {{
    {QPalette::Window, 0x31363b},
    {QPalette::WindowText, 0xeff0f1},
    {QPalette::Base, 0x232629},
    {QPalette::AlternateBase, 0x31363b},
    {QPalette::ToolTipBase, 0x31363b},
    {QPalette::ToolTipText, 0xeff0f1},
    {QPalette::PlaceholderText, 0x8b8e91},
    {QPalette::Text, 0xeff0f1},
    {QPalette::Button, 0x31363b},
    {QPalette::ButtonText, 0xeff0f1},
    {QPalette::BrightText, 0xffffff},
    {QPalette::Light, 0x474d54},
    {QPalette::Midlight, 0x3b4045},
    {QPalette::Mid, 0x2b2f33},
    {QPalette::Dark, 0x1f2225},
    {QPalette::Shadow, 0x141618},
    {QPalette::Highlight, 0x3daee9},
    {QPalette::HighlightedText, 0xeff0f1},
    {QPalette::Link, 0x1d99f3},
    {QPalette::LinkVisited, 0x9b59b6},
}};

constexpr std::array<PaletteColour, 4> darkDisabledColours = {{
    {QPalette::WindowText, 0x6e7175},
    {QPalette::Text, 0x6e7175},
    {QPalette::ButtonText, 0x6e7175},
    {QPalette::HighlightedText, 0x6e7175},
}};

// How long a page must go without painting before it counts as finished,
// and how long it may take at most.
constexpr int quietMs = 300;
constexpr int maxWaitMs = 15000;

QPalette DarkPalette()
{
    QPalette palette;
    for (const PaletteColour& entry : darkColours)
        palette.setColor(QPalette::All, entry.role, QColor(entry.colour));
    for (const PaletteColour& entry : darkDisabledColours)
        palette.setColor(QPalette::Disabled, entry.role, QColor(entry.colour));
    return palette;
}

// Notes when a widget of the window last painted and whether the page has.
class PaintWatcher : public QObject
{
public:
    explicit PaintWatcher(QWidget* window)
        : m_window(window)
    {
        qApp->installEventFilter(this);
        m_sinceLastPaint.start();
    }

    // Forgets earlier paints; page is the widget that must paint next.
    void Expect(QWidget* page)
    {
        m_page = page;
        m_pagePainted = false;
        m_sinceLastPaint.restart();
    }

    // Whether the page has painted, each of its text browsers has its text (the
    // News page is laid out on another thread) and the window has then stayed
    // still for quietMs.
    [[nodiscard]] bool IsSettled() const
    {
        const QList<QTextBrowser*> browsers = m_page->findChildren<QTextBrowser*>();
        return m_pagePainted && m_sinceLastPaint.elapsed() >= quietMs
               && std::none_of(browsers.begin(), browsers.end(),
                               [](const QTextBrowser* browser) { return browser->document()->isEmpty(); });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Paint || !watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->window() != m_window)
            return false;
        m_sinceLastPaint.restart();
        if (m_page && (widget == m_page || m_page->isAncestorOf(widget)))
            m_pagePainted = true;
        return false;
    }

private:
    QWidget* m_window;
    QWidget* m_page = nullptr;
    bool m_pagePainted = false;
    QElapsedTimer m_sinceLastPaint;
};

// Runs the event loop until the watcher says the page is settled and nothing is
// posted; false when that does not happen within maxWaitMs.
bool WaitUntilSettled(const PaintWatcher& watcher)
{
    const QDeadlineTimer deadline(maxWaitMs);
    while (!deadline.hasExpired()) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (watcher.IsSettled() && !QAbstractEventDispatcher::instance()->processEvents({}))
            return true;
        QThread::msleep(10);
    }
    return false;
}

// The settings file is rewritten as pages change, so it must not be the user's.
bool SettingsAreIsolated()
{
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    const QString temp = QDir(QDir::tempPath()).canonicalPath() + '/';
    return !config.isEmpty() && QDir(config).canonicalPath().startsWith(temp)
           && QDir(qEnvironmentVariable("HOME")).canonicalPath().startsWith(temp);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    bool dark = false;
    bool unknownOption = false;
    QStringList folders;
    for (const QString& argument : QCoreApplication::arguments().mid(1)) {
        if (argument == QLatin1String("--dark"))
            dark = true;
        else if (argument.startsWith('-'))
            unknownOption = true;
        else
            folders.append(argument);
    }
    if (unknownOption || folders.size() != 1) {
        std::fprintf(stderr, "usage: octetry_screenshots [--dark] OUTPUT_FOLDER\n");
        return 2;
    }
    if (!SettingsAreIsolated()) {
        std::fprintf(stderr, "HOME and XDG_CONFIG_HOME must lie in the temporary folder; run scripts/screenshots.sh\n");
        return 2;
    }
    const QDir output(folders.front());
    if (!QDir().mkpath(output.path())) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(output.path()));
        return 1;
    }

    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(dark ? DarkPalette() : QApplication::style()->standardPalette());
    BrandingUtil::SetApplicationIdentity();

    MainForm mainForm;
    // Wide enough for the IPv6 subnet list's last column.
    mainForm.resize(760, mainForm.height());
    PaintWatcher watcher(&mainForm);
    mainForm.show();
    mainForm.activateWindow();

    auto* tabWidget = mainForm.findChild<QTabWidget*>();
    std::array<int, pageNames.size()> tabOfPage{};
    tabOfPage.fill(-1);
    for (int tab = 0; tab < tabWidget->count(); ++tab) {
        const int stored = mainForm.GetStoredTabIndex(mainForm.FindTabController(tabWidget->widget(tab)));
        if (stored >= 0 && stored < static_cast<int>(tabOfPage.size()))
            tabOfPage[static_cast<std::size_t>(stored)] = tab;
    }

    const QString suffix = dark ? QStringLiteral("-dark.png") : QStringLiteral("-light.png");
    for (std::size_t page = 0; page < pageNames.size(); ++page) {
        if (tabOfPage[page] < 0) {
            std::fprintf(stderr, "the window has no %s page\n", pageNames[page]);
            return 1;
        }
        watcher.Expect(tabWidget->widget(tabOfPage[page]));
        tabWidget->setCurrentIndex(tabOfPage[page]);
        tabWidget->widget(tabOfPage[page])->update();
        if (!WaitUntilSettled(watcher)) {
            std::fprintf(stderr, "the %s page did not settle within %d ms\n", pageNames[page], maxWaitMs);
            return 1;
        }
        const QString path = output.filePath(QLatin1String(pageNames[page]) + suffix);
        if (!mainForm.grab().save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        std::printf("%s (%dx%d)\n", qPrintable(path), mainForm.width(), mainForm.height());
    }
    return 0;
}
