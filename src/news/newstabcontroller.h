// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "controllers/tabcontroller.h"
#include "news/newsfetcher.h"
#include "news/newspagebuilder.h"

#include <memory>

class QTextDocument;
class QThread;

// The News page: shows the cached news page, or the built-in one, and asks
// the organisation's server once per run for a newer copy.
class NewsTabController : public TabController
{
    Q_OBJECT

public:
    explicit NewsTabController(const ControllerContext& context);
    // Waits for a page still being prepared.
    ~NewsTabController() override;

    // The newsTab page.
    QWidget* GetTabPage() override;

    // Where the fetcher keeps the cached copy, and the address it asks.
    static QFileInfo GetCacheFileInfo() { return NewsFetcher::GetCacheFileInfo(); }
    static QUrl GetNewsUrl() { return NewsFetcher::GetNewsUrl(); }

    static constexpr qint64 maxBodySize = NewsFetcher::maxBodySize;
    static constexpr int maxUnbrokenRun = NewsPageBuilder::maxUnbrokenRun;

protected:
    // Brands the tab title and issues the one request.
    void InitializeView() override;
    // Shows the cached copy when there is one, else the built-in page. The
    // page is read and laid out off the GUI thread and shown when ready.
    void DoUpdateView(QWidget* source) override;

private slots:
    // The fetcher's slots, under the names they have here.
    void on_reply_readyRead() { m_fetcher.on_reply_readyRead(); }
    void on_http_requestFinished(QNetworkReply* finished) { m_fetcher.on_http_requestFinished(finished); }
    void on_http_done(bool error) { m_fetcher.on_http_done(error); }
    void on_object_destroyed(QObject* object) { m_fetcher.on_object_destroyed(object); }
    // Badges the tab and shows the new copy when the cache was replaced.
    void on_fetcher_Finished(bool cacheReplaced);
    void on_page_built();
    void on_newsTextBrowser_anchorClicked(const QUrl& url);

private:
    void StartRequest() { m_fetcher.StartRequest(); }
    // Gives the viewer a text colour that shows on the page's own background, if it has one.
    void KeepBulletsVisible();

    NewsFetcher m_fetcher;

    // The thread preparing the next page, the page it made, and whether
    // another update came in meanwhile.
    QThread* m_pageBuilder = nullptr;
    std::unique_ptr<QTextDocument> m_builtPage;
    bool m_rebuildPage = false;
};
