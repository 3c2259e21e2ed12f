// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "news/newsfetcher.h"

#include "app/buildconfig.h"
#include "news/newslog.h"
#include "settings/settingsfileguard.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryFile>

#include <algorithm>
#include <sys/file.h>

namespace {

// Downloads are written beside the cache under this name, so that one left by
// a killed run can be told from anything else and removed.
const char downloadTemplate[] = "news-download-XXXXXX.part";
const char downloadPattern[] = "^news-download-[A-Za-z0-9]{6}\\.part$";
// QSaveFile's own staging copy, where it has to give it a name.
const char stagingPattern[] = "^%1\\.[A-Za-z0-9]{6}$";
const char httpDateFormat[] = "ddd, dd MMM yyyy hh:mm:ss 'GMT'";
// Used when the news address's path ends without a file name.
const char fallbackCacheName[] = "index.html";

// True unless a live process holds the file's lock: a download whose run ended is
// free, one that another instance is still writing is not.
bool IsAbandoned(const QString& path)
{
    QFile file(path);
    // Closing the file releases the lock taken to test it.
    return file.open(QIODevice::ReadOnly) && ::flock(file.handle(), LOCK_EX | LOCK_NB) == 0;
}

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

NewsFetcher::NewsFetcher(QObject* parent)
    : QObject(parent)
{
}

QUrl NewsFetcher::GetNewsUrl()
{
    const QString override = qEnvironmentVariable("OCTETRY_NEWS_URL");
    if (!override.isEmpty()) {
        QUrl candidate(override, QUrl::StrictMode);
        if (candidate.isValid() && candidate.scheme() == QLatin1String("http") && !candidate.host().isEmpty())
            return candidate;
        qCDebug(lcNews) << "HTTP: ignoring OCTETRY_NEWS_URL" << override;
    }
    return QUrl(QStringLiteral(OCTETRY_REMOTE_NEWS_URL));
}

QFileInfo NewsFetcher::GetCacheFileInfo()
{
    // Beside the settings file, found without a QSettings, which would read and parse it.
    const QDir settingsDir = QFileInfo(SettingsFileGuard::UserFilePath()).absoluteDir();
    const QDir cacheDir(settingsDir.absoluteFilePath(QCoreApplication::applicationName()));
    QString name = QFileInfo(GetNewsUrl().path()).fileName();
    if (name.isEmpty())
        name = QString::fromLatin1(fallbackCacheName);
    return QFileInfo(cacheDir, name);
}

void NewsFetcher::StartRequest()
{
    m_cacheReplaced = false;
    m_client = new QNetworkAccessManager(this);
    connect(m_client, &QNetworkAccessManager::finished, this, &NewsFetcher::on_http_requestFinished);
    connect(m_client, &QObject::destroyed, this, &NewsFetcher::on_object_destroyed);

    const QFileInfo cache = GetCacheFileInfo();
    const QString cacheDir = cache.absolutePath();
    if (!QDir(cacheDir).exists()) {
        const bool created = QDir().mkpath(cacheDir);
        qCDebug(lcNews) << "HTTP: creating" << cacheDir << (created ? "succeeded" : "failed");
        if (!created) {
            CleanUp();
            return;
        }
    }
    const QRegularExpression leftover(QStringLiteral("%1|%2").arg(
        QString::fromLatin1(downloadPattern),
        QString::fromLatin1(stagingPattern).arg(QRegularExpression::escape(cache.fileName()))));
    for (const QString& name : QDir(cacheDir).entryList(QDir::Files | QDir::Hidden)) {
        const QString path = QDir(cacheDir).absoluteFilePath(name);
        if (leftover.match(name).hasMatch() && IsAbandoned(path)) {
            const bool removed = QFile::remove(path);
            qCDebug(lcNews) << "HTTP: removing leftover" << name << (removed ? "succeeded" : "failed");
        }
    }

    m_tempFile = new QTemporaryFile(QDir(cacheDir).absoluteFilePath(QString::fromLatin1(downloadTemplate)), this);
    connect(m_tempFile, &QObject::destroyed, this, &NewsFetcher::on_object_destroyed);

    const bool opened = m_tempFile->open();
    // Held until the file is closed or the process ends, so another instance leaves it alone;
    // where locks are not supported a download simply goes unguarded.
    if (opened)
        ::flock(m_tempFile->handle(), LOCK_EX | LOCK_NB);
    qCDebug(lcNews) << "HTTP: opening temp file"
                    << (opened ? m_tempFile->fileName() + QStringLiteral(" succeeded") : QStringLiteral("failed"));
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
    if (cache.isFile()) {
        const QString since = QLocale::c().toString(cache.lastModified().toUTC(), QString::fromLatin1(httpDateFormat));
        request.setRawHeader("If-Modified-Since", since.toLatin1());
    }

    m_bodySize = 0;
    m_bodyAbandoned = false;
    m_reply = m_client->get(request);
    connect(m_reply, &QIODevice::readyRead, this, &NewsFetcher::on_reply_readyRead);
    connect(m_reply, &QObject::destroyed, this, &NewsFetcher::on_object_destroyed);
    m_requestId = NextRequestId();
    qCDebug(lcNews) << "HTTP: issuing request" << m_requestId;
}

void NewsFetcher::on_reply_readyRead()
{
    if (!m_reply || m_bodyAbandoned)
        return;
    const QByteArray chunk = m_reply->readAll();
    if (chunk.isEmpty() || !m_tempFile)
        return;
    if (m_bodySize + chunk.size() > maxBodySize) {
        m_bodyAbandoned = true;
        qCDebug(lcNews) << "HTTP: abandoning an answer larger than" << maxBodySize << "bytes";
        m_reply->abort();
        return;
    }
    if (m_tempFile->write(chunk) != chunk.size()) {
        m_bodyAbandoned = true;
        qCDebug(lcNews) << "HTTP: writing temp file" << m_tempFile->fileName() << "failed";
        m_reply->abort();
        return;
    }
    m_bodySize += chunk.size();
}

void NewsFetcher::on_http_requestFinished(QNetworkReply* finished)
{
    if (!finished || finished != m_reply)
        return;
    on_reply_readyRead();

    const bool error = m_reply->error() != QNetworkReply::NoError;
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QString reason = m_reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    qCDebug(lcNews) << "HTTP: finishing request" << m_requestId << "with status line" << status << reason
                    << (error ? QStringLiteral("with error ") + m_reply->errorString() : QString());

    if (!error && status == 200 && m_tempFile) {
        const QString rejection = RejectionReason();
        if (!rejection.isEmpty())
            qCDebug(lcNews) << "HTTP: keeping the cached copy:" << rejection;
        else
            m_cacheReplaced = ReplaceCache();
    }
    on_http_done(error);
}

QString NewsFetcher::RejectionReason() const
{
    if (m_bodyAbandoned)
        return QStringLiteral("the body was abandoned");
    if (m_bodySize == 0)
        return QStringLiteral("the body is empty");
    // Qt joins repeated headers with commas. It does not decode a body when
    // Accept-Encoding is set by hand, so an encoded one would be cached as is.
    if (m_reply->hasRawHeader("Content-Encoding")) {
        const QByteArray encoding = m_reply->rawHeader("Content-Encoding");
        for (const QByteArray& coding : encoding.split(','))
            if (coding.trimmed().compare("identity", Qt::CaseInsensitive) != 0)
                return QStringLiteral("the body has Content-Encoding %1").arg(QString::fromLatin1(encoding));
    }
    if (m_reply->hasRawHeader("Content-Length")) {
        // Repeats must agree and each be a plain decimal number, else the
        // message's length is unknown (RFC 9112, section 6.3).
        const QByteArray lengths = m_reply->rawHeader("Content-Length");
        qint64 length = -1;
        for (const QByteArray& value : lengths.split(',')) {
            const QByteArray digits = value.trimmed();
            bool valid = !digits.isEmpty()
                         && std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
            const qint64 parsed = valid ? digits.toLongLong(&valid) : -1;
            if (!valid || (length >= 0 && parsed != length))
                return QStringLiteral("Content-Length %1 is not one decimal number").arg(QString::fromLatin1(lengths));
            length = parsed;
        }
        if (length != m_bodySize)
            return QStringLiteral("the body has %1 bytes, Content-Length says %2").arg(m_bodySize).arg(length);
    }
    return QString();
}

bool NewsFetcher::ReplaceCache()
{
    const QFileInfo cache = GetCacheFileInfo();
    // The new copy is written beside the old one and renamed over it, so a
    // failure at any step leaves the old copy in place.
    QSaveFile staged(cache.absoluteFilePath());
    const bool moved =
        staged.open(QIODevice::WriteOnly) && CopyBody(m_tempFile, &staged, m_bodySize) && staged.commit();
    qCDebug(lcNews) << "HTTP: moving" << m_tempFile->fileName() << "to" << cache.absoluteFilePath()
                    << (moved ? "succeeded" : "failed");
    return moved;
}

void NewsFetcher::on_http_done(bool)
{
    qCDebug(lcNews) << "HTTP: all requests have completed";
    CleanUp();
}

void NewsFetcher::CleanUp()
{
    qCDebug(lcNews) << "HTTP: cleaning up HTTP objects";
    if (m_client)
        m_client->deleteLater();
    if (m_tempFile) {
        // Gone at once, not when the object is deleted later.
        m_tempFile->remove();
        m_tempFile->deleteLater();
    }
    emit Finished(m_cacheReplaced);
}

void NewsFetcher::on_object_destroyed(QObject* object)
{
    if (object == m_client)
        m_client = nullptr;
    else if (object == m_tempFile)
        m_tempFile = nullptr;
    else if (object == m_reply)
        m_reply = nullptr;
}
