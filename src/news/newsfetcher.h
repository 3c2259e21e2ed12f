// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFileInfo>
#include <QObject>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;
class QTemporaryFile;

// The one request per run for the news page: asks the organisation's server
// for a copy newer than the cached one and moves a whole answer over the
// cached copy in one step, so that a failure anywhere keeps the old copy.
class NewsFetcher : public QObject
{
    Q_OBJECT

public:
    explicit NewsFetcher(QObject* parent = nullptr);

    // The cached copy's location: the application's folder beside the per-user
    // settings file, named after the last segment of the news address's path.
    static QFileInfo GetCacheFileInfo();

    // The news address: OCTETRY_NEWS_URL when it holds an http address (tests
    // point it at loopback), else the build's configured address.
    static QUrl GetNewsUrl();

    // Bodies larger than this are abandoned.
    static constexpr qint64 maxBodySize = qint64{1024} * 1024;

    // Removes what a killed run left beside the cache and issues the request;
    // Finished follows, at once when no download file can be made.
    void StartRequest();

signals:
    // The request is over and its objects are released; cacheReplaced tells
    // whether a new copy now lies in the cache.
    void Finished(bool cacheReplaced);

public slots:
    // Connected by StartRequest; public for the News controller's slots of the same names.
    void on_reply_readyRead();
    void on_http_requestFinished(QNetworkReply* finished);
    void on_http_done(bool error);
    void on_object_destroyed(QObject* object);

private:
    // Releases the HTTP objects and the download, then reports the outcome.
    void CleanUp();
    // Why a finished 200 without error must still not replace the cache; empty when it may.
    QString RejectionReason() const;
    // Moves the downloaded body over the cached copy in one step; false keeps the old copy.
    bool ReplaceCache();

    QNetworkAccessManager* m_client = nullptr;
    QNetworkReply* m_reply = nullptr;
    QTemporaryFile* m_tempFile = nullptr;
    int m_requestId = -1;
    qint64 m_bodySize = 0;
    bool m_bodyAbandoned = false;
    bool m_cacheReplaced = false;
};
