// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "news/newstabcontroller.h"

#include "app/brandingutil.h"
#include "ui_octetrymainform.h"
#include "widgets/themecolors.h"

#include <QApplication>
#include <QDesktopServices>
#include <QIcon>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFrame>
#include <QThread>

namespace {

const char builtInPage[] = ":/html/octetry-news.html";
const char builtInBase[] = "qrc:/html/";
const char newIcon[] = ":/images/new-icon-16x16x32.png";
const char newIcon2x[] = ":/images/new-icon-16x16x32@2x.png";

// The "new" badge for the News tab. Qt 6.4 takes, for a scale just between two
// of an icon's files, the first one added: with the @2x file first, 150 %
// gets it scaled down rather than the 1x file stretched.
QIcon NewIcon()
{
    QIcon icon(QString::fromLatin1(newIcon2x));
    icon.addFile(QString::fromLatin1(newIcon));
    return icon;
}

} // namespace

NewsTabController::NewsTabController(const ControllerContext& context)
    : TabController(context)
{
}

NewsTabController::~NewsTabController()
{
    if (m_pageBuilder)
        m_pageBuilder->wait();
}

QWidget* NewsTabController::GetTabPage()
{
    return GetUi()->newsTab;
}

void NewsTabController::InitializeView()
{
    QTabWidget* tabWidget = GetUi()->tabWidget;
    const int index = tabWidget->indexOf(GetUi()->newsTab);
    if (index >= 0)
        tabWidget->setTabText(index, BrandingUtil::Apply(tabWidget->tabText(index)));
    // A page never navigates the viewer: its links are handled here.
    QTextBrowser* browser = GetUi()->newsTextBrowser;
    browser->setOpenLinks(false);
    browser->document()->setResourceProvider(NewsPageBuilder::OwnResource);
    connect(browser, &QTextBrowser::anchorClicked, this, &NewsTabController::on_newsTextBrowser_anchorClicked);
    connect(&m_fetcher, &NewsFetcher::Finished, this, &NewsTabController::on_fetcher_Finished);
    StartRequest();
}

void NewsTabController::DoUpdateView(QWidget*)
{
    if (m_pageBuilder) {
        m_rebuildPage = true;
        return;
    }
    const QFileInfo cache = GetCacheFileInfo();
    const bool cached = cache.isFile();
    const QString path = cached ? cache.absoluteFilePath() : QString::fromLatin1(builtInPage);
    const QUrl base = cached ? QUrl() : QUrl(QString::fromLatin1(builtInBase));
    // Each page answers its resources as the viewer's current one does.
    const QTextDocument::ResourceProvider resources = GetUi()->newsTextBrowser->document()->resourceProvider();
    QThread* const guiThread = thread();
    m_pageBuilder = QThread::create([this, path, base, resources, guiThread] {
        m_builtPage = NewsPageBuilder::Build(path, base, resources);
        m_builtPage->moveToThread(guiThread);
    });
    m_pageBuilder->setParent(this);
    connect(m_pageBuilder, &QThread::finished, this, &NewsTabController::on_page_built);
    m_pageBuilder->start();
}

void NewsTabController::on_page_built()
{
    m_pageBuilder->deleteLater();
    m_pageBuilder = nullptr;
    std::unique_ptr<QTextDocument> page = std::move(m_builtPage);
    if (m_rebuildPage) {
        m_rebuildPage = false;
        DoUpdateView(nullptr);
        return;
    }
    QTextBrowser* browser = GetUi()->newsTextBrowser;
    // The form's own first document is deleted by the browser itself.
    QTextDocument* previous = browser->document()->parent() == browser ? browser->document() : nullptr;
    page->setDefaultFont(browser->font());
    page->setParent(browser);
    browser->setDocument(page.release());
    delete previous;
    KeepBulletsVisible();
}

void NewsTabController::KeepBulletsVisible()
{
    // List bullets take the palette's text colour, which a page that paints
    // its own background (white, as the built-in one) may hide.
    QTextBrowser* browser = GetUi()->newsTextBrowser;
    const QBrush background = browser->document()->rootFrame()->frameFormat().background();
    QPalette palette;
    if (background.style() != Qt::NoBrush) {
        const QColor page = background.color();
        QColor text = QApplication::palette().color(QPalette::Text);
        if (ThemeColors::ContrastRatio(text, page) < ThemeColors::minimumContrast)
            text = ThemeColors::ContrastRatio(Qt::black, page) > ThemeColors::ContrastRatio(Qt::white, page)
                       ? QColor(Qt::black)
                       : QColor(Qt::white);
        palette.setColor(QPalette::Text, text);
    }
    browser->setPalette(palette);
}

void NewsTabController::on_newsTextBrowser_anchorClicked(const QUrl& url)
{
    static const QStringList external = {QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("mailto")};
    if (external.contains(url.scheme()))
        QDesktopServices::openUrl(url);
}

void NewsTabController::on_fetcher_Finished(bool cacheReplaced)
{
    if (!cacheReplaced)
        return;
    QTabWidget* tabWidget = GetUi()->tabWidget;
    const int index = tabWidget->indexOf(GetUi()->newsTab);
    if (index >= 0)
        tabWidget->setTabIcon(index, NewIcon());
    UpdateView();
}
