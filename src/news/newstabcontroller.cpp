#include "news/newstabcontroller.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QIcon>
#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryFile>
#include <QTextBrowser>

#include "app/brandingutil.h"
#include "app/buildconfig.h"
#include "app/mainform.h"
#include "ui_octetrymainform.h"

namespace {

const char builtInPage[] = "qrc:/html/octetry-news.html";
const char newIcon[] = ":/images/new-icon-16x16x32.png";
const char httpDateFormat[] = "ddd, dd MMM yyyy hh:mm:ss 'GMT'";
// Used when the news address's path ends without a file name.
const char fallbackCacheName[] = "index.html";

int NextRequestId()
{
    static int lastId = 0;
    return ++lastId;
}

// Copies the whole of `from` into `to`; false on any short read or write.
bool CopyBody(QIODevice* from, QIODevice* to, qint64 expectedSize)
{
    if (!from->seek(0))
        return false;
    qint64 copied = 0;
    char buffer[64 * 1024];
    for (;;) {
        const qint64 count = from->read(buffer, sizeof buffer);
        if (count < 0)
            return false;
        if (count == 0)
            break;
        if (to->write(buffer, count) != count)
            return false;
        copied += count;
    }
    return copied == expectedSize;
}

} // namespace

NewsTabController::NewsTabController(MainForm* parent)
    : TabController(parent)
{
}

QWidget* NewsTabController::GetTabPage()
{
    return GetUi()->newsTab;
}

QUrl NewsTabController::GetNewsUrl()
{
    const QString override = qEnvironmentVariable("OCTETRY_NEWS_URL");
    if (!override.isEmpty()) {
        const QUrl candidate(override, QUrl::StrictMode);
        if (candidate.isValid() && candidate.scheme() == QLatin1String("http") && !candidate.host().isEmpty())
            return candidate;
        qDebug() << "HTTP: ignoring OCTETRY_NEWS_URL" << override;
    }
    return QUrl(QStringLiteral(OCTETRY_REMOTE_NEWS_URL));
}

QFileInfo NewsTabController::GetCacheFileInfo()
{
    // Only locates the per-user settings directory; nothing is stored through it.
    const QSettings settings(QSettings::IniFormat, QSettings::UserScope,
                             QCoreApplication::organizationName(), QCoreApplication::applicationName());
    const QDir settingsDir = QFileInfo(settings.fileName()).absoluteDir();
    const QDir cacheDir(settingsDir.absoluteFilePath(QCoreApplication::applicationName()));
    QString name = QFileInfo(GetNewsUrl().path()).fileName();
    if (name.isEmpty())
        name = QString::fromLatin1(fallbackCacheName);
    return QFileInfo(cacheDir, name);
}

void NewsTabController::InitializeView()
{
    QTabWidget* tabWidget = GetUi()->tabWidget;
    const int index = tabWidget->indexOf(GetUi()->newsTab);
    if (index >= 0)
        tabWidget->setTabText(index, BrandingUtil::Apply(tabWidget->tabText(index)));
    StartRequest();
}

void NewsTabController::DoUpdateView(QWidget*)
{
    const QFileInfo cache = GetCacheFileInfo();
    const QUrl url = cache.isFile() ? QUrl::fromLocalFile(cache.absoluteFilePath()) : QUrl(QString::fromLatin1(builtInPage));
    QTextBrowser* browser = GetUi()->newsTextBrowser;
    // Setting the same source again does not read the file again.
    if (browser->source() == url)
        browser->reload();
    else
        browser->setSource(url);
}

void NewsTabController::StartRequest()
{
    client = new QNetworkAccessManager(this);
    connect(client, &QNetworkAccessManager::finished, this, &NewsTabController::on_http_requestFinished);
    connect(client, &QObject::destroyed, this, &NewsTabController::on_object_destroyed);

    tempFile = new QTemporaryFile(this);
    connect(tempFile, &QObject::destroyed, this, &NewsTabController::on_object_destroyed);

    const bool opened = tempFile->open();
    qDebug() << "HTTP: opening temp file"
             << (opened ? tempFile->fileName() + QStringLiteral(" succeeded") : QStringLiteral("failed"));
    if (!opened) {
        CleanUp();
        return;
    }

    QNetworkRequest request(GetNewsUrl());
    // A redirect is an answer like any other that is not 200.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setRawHeader("Connection", "close");
    // The cache holds the page as sent, so it must not arrive compressed.
    request.setRawHeader("Accept-Encoding", "identity");
    const QFileInfo cache = GetCacheFileInfo();
    if (cache.isFile()) {
        const QString since = QLocale::c().toString(cache.lastModified().toUTC(), QString::fromLatin1(httpDateFormat));
        request.setRawHeader("If-Modified-Since", since.toLatin1());
    }

    bodySize = 0;
    bodyAbandoned = false;
    reply = client->get(request);
    connect(reply, &QIODevice::readyRead, this, &NewsTabController::on_reply_readyRead);
    connect(reply, &QObject::destroyed, this, &NewsTabController::on_object_destroyed);
    requestId = NextRequestId();
    qDebug() << "HTTP: issuing request" << requestId;
}

void NewsTabController::on_reply_readyRead()
{
    if (!reply || bodyAbandoned)
        return;
    const QByteArray chunk = reply->readAll();
    if (chunk.isEmpty() || !tempFile)
        return;
    if (bodySize + chunk.size() > maxBodySize) {
        bodyAbandoned = true;
        qDebug() << "HTTP: abandoning an answer larger than" << maxBodySize << "bytes";
        reply->abort();
        return;
    }
    if (tempFile->write(chunk) != chunk.size()) {
        bodyAbandoned = true;
        qDebug() << "HTTP: writing temp file" << tempFile->fileName() << "failed";
        reply->abort();
        return;
    }
    bodySize += chunk.size();
}

void NewsTabController::on_http_requestFinished(QNetworkReply* finished)
{
    if (!finished || finished != reply)
        return;
    on_reply_readyRead();

    const bool error = reply->error() != QNetworkReply::NoError;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QString reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    qDebug() << "HTTP: finishing request" << requestId << "with status line" << status << reason
             << (error ? QStringLiteral("with error ") + reply->errorString() : QString());

    if (!error && status == 200 && tempFile) {
        const QString rejection = RejectionReason();
        if (!rejection.isEmpty()) {
            qDebug() << "HTTP: keeping the cached copy:" << rejection;
        } else if (ReplaceCache()) {
            QTabWidget* tabWidget = GetUi()->tabWidget;
            const int index = tabWidget->indexOf(GetUi()->newsTab);
            if (index >= 0)
                tabWidget->setTabIcon(index, QIcon(QString::fromLatin1(newIcon)));
            UpdateView();
        }
    }
    on_http_done(error);
}

QString NewsTabController::RejectionReason() const
{
    if (bodyAbandoned)
        return QStringLiteral("the body was abandoned");
    if (bodySize == 0)
        return QStringLiteral("the body is empty");
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && length.toLongLong() != bodySize)
        return QStringLiteral("the body has %1 bytes, Content-Length says %2").arg(bodySize).arg(length.toLongLong());
    return QString();
}

bool NewsTabController::ReplaceCache()
{
    const QFileInfo cache = GetCacheFileInfo();
    const QString cacheDir = cache.absolutePath();
    if (!QDir(cacheDir).exists()) {
        const bool created = QDir().mkpath(cacheDir);
        qDebug() << "HTTP: creating" << cacheDir << (created ? "succeeded" : "failed");
        if (!created)
            return false;
    }
    // The new copy is written beside the old one and renamed over it, so a
    // failure at any step leaves the old copy in place.
    QSaveFile staged(cache.absoluteFilePath());
    const bool moved = staged.open(QIODevice::WriteOnly) && CopyBody(tempFile, &staged, bodySize) && staged.commit();
    qDebug() << "HTTP: moving" << tempFile->fileName() << "to" << cache.absoluteFilePath()
             << (moved ? "succeeded" : "failed");
    return moved;
}

void NewsTabController::on_http_done(bool)
{
    qDebug() << "HTTP: all requests have completed";
    CleanUp();
}

void NewsTabController::CleanUp()
{
    qDebug() << "HTTP: cleaning up HTTP objects";
    if (client)
        client->deleteLater();
    if (tempFile)
        tempFile->deleteLater();
}

void NewsTabController::on_object_destroyed(QObject* object)
{
    if (object == client)
        client = nullptr;
    else if (object == tempFile)
        tempFile = nullptr;
    else if (object == reply)
        reply = nullptr;
}
