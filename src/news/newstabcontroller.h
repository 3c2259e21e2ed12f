#pragma once

#include "controllers/tabcontroller.h"

#include <QFileInfo>
#include <QUrl>

#include <memory>

class QNetworkAccessManager;
class QNetworkReply;
class QTemporaryFile;
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

    // The cached copy's location: the application's folder beside the per-user
    // settings file, named after the last segment of the news address's path.
    static QFileInfo GetCacheFileInfo();

    // The news address: OCTETRY_NEWS_URL when it holds an http address (tests
    // point it at loopback), else the build's configured address.
    static QUrl GetNewsUrl();

    // Bodies larger than this are abandoned.
    static constexpr qint64 maxBodySize = 1024 * 1024;
    // The longest run of shown text without a place to break the line; the
    // text layout's time grows with the square of a run's length.
    static constexpr int maxUnbrokenRun = 80;

protected:
    // Brands the tab title and issues the one request.
    void InitializeView() override;
    // Shows the cached copy when there is one, else the built-in page. The
    // page is read and laid out off the GUI thread and shown when ready.
    void DoUpdateView(QWidget* source) override;

private slots:
    void on_reply_readyRead();
    void on_http_requestFinished(QNetworkReply* finished);
    void on_http_done(bool error);
    void on_object_destroyed(QObject* object);
    void on_page_built();
    void on_newsTextBrowser_anchorClicked(const QUrl& url);

private:
    void StartRequest();
    void CleanUp();
    // Why a finished 200 without error must still not replace the cache; empty when it may.
    QString RejectionReason() const;
    // Moves the downloaded body over the cached copy in one step; false keeps the old copy.
    bool ReplaceCache();
    // Gives the viewer a text colour that shows on the page's own background, if it has one.
    void KeepBulletsVisible();

    QNetworkAccessManager* m_client = nullptr;
    QNetworkReply* m_reply = nullptr;
    QTemporaryFile* m_tempFile = nullptr;
    int m_requestId = -1;
    qint64 m_bodySize = 0;
    bool m_bodyAbandoned = false;

    // The thread preparing the next page, the page it made, and whether
    // another update came in meanwhile.
    QThread* m_pageBuilder = nullptr;
    std::unique_ptr<QTextDocument> m_builtPage;
    bool m_rebuildPage = false;
};
