// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/brandingutil.h"
#include "common/datarows.h"
#include "common/rawserver.h"
#include "common/testenvironment.h"
#include "news/newsfetcher.h"

#include <QtNetwork>
#include <QtTest>

#include <sys/file.h>

// Before any application object: keeps the user's own settings and cache out of reach.
static const TestEnvironment env;
static QStringList httpLog;

class TstNewsFetcher : public QObject
{
    Q_OBJECT

    static QString CacheDir() { return NewsFetcher::GetCacheFileInfo().absolutePath(); }

private slots:
    void initTestCase()
    {
        BrandingUtil::SetApplicationIdentity();
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext& context, const QString& message) {
            httpLog << QString::fromLatin1(context.category) + ": " + message;
        });
    }
    void init()
    {
        QFile::remove(CacheDir());
        QDir(CacheDir()).removeRecursively();
        httpLog.clear();
    }
    void onlyAWholeAnswerReplacesTheCache_data()
    {
        AddColumns<QByteArray, bool>("reply", "replaced");
        QTest::newRow("200") << Answer200("fresh") << true;
        const auto kept = [](const char* tag, const QByteArray& reply) { QTest::newRow(tag) << reply << false; };
        const QByteArray ok = "HTTP/1.1 200 OK\r\n";
        kept("gzip Content-Encoding",
             ok + "Content-Encoding: gzip\r\n\r\n"
                 + QByteArray::fromHex("1f8b0800000000000203b329b0abb2d12fb003005af588b108000000"));
        kept("two different Content-Lengths", ok + "Content-Length: 5\r\nContent-Length: 10\r\n\r\n0123456789");
        kept("Content-Length 5x", ok + "Content-Length: 5x\r\n\r\n12345");
        kept("connection closed mid-body", ok + "Content-Length: 5000\r\n\r\n<p>short");
        kept("empty body", ok + "Content-Length: 0\r\n\r\n");
        kept("body over 1 MiB", Answer200(QByteArray(NewsFetcher::maxBodySize + 1, 'x')));
        kept("500", "HTTP/1.1 500 Internal Server Error\r\nContent-Length: 4\r\n\r\noops");
    }
    void onlyAWholeAnswerReplacesTheCache()
    {
        QFETCH(QByteArray, reply);
        QFETCH(bool, replaced);
        const QDir dir(CacheDir());
        const QString cache = dir.filePath("octetry-news.html");
        QVERIFY(WriteAll(cache, "<p>Cached news.</p>", QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7), Qt::UTC)));
        // Left by a killed run: its download and its cache's staging copy; and a file not ours.
        for (const char* name : {"news-download-Ab12Cd.part", "octetry-news.html.Ef34Gh", "notes.txt"})
            QVERIFY(WriteAll(dir.filePath(name), "<html><bo"));
        QFile live(dir.filePath("news-download-Li12ve.part")); // another instance's, still being written
        QVERIFY(live.open(QIODevice::WriteOnly) && ::flock(live.handle(), LOCK_EX) == 0);
        RawServer server(reply);
        qputenv("OCTETRY_NEWS_URL",
                "http://127.0.0.1:" + QByteArray::number(server.port()) + "/news/octetry-news.html");
        NewsFetcher fetcher;
        QSignalSpy finished(&fetcher, &NewsFetcher::Finished);
        fetcher.StartRequest();
        QNetworkAccessManager other; // a reply not the fetcher's is ignored
        fetcher.on_http_requestFinished(other.get(QNetworkRequest(QUrl("data:,x"))));
        QVERIFY(finished.isEmpty());
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished, QList<QVariantList>({{replaced}}));
        QVERIFY(server.requests().value(0).contains("If-Modified-Since: Wed, 04 Mar 2026 05:06:07 GMT"));
        QCOMPARE(ReadAll(cache), replaced ? "fresh" : "<p>Cached news.</p>");
        QCOMPARE(dir.entryList(QDir::Files),
                 QStringList({"news-download-Li12ve.part", "notes.txt", "octetry-news.html"}));
        // Every line in the category, so that its rule silences them all.
        QCOMPARE(httpLog.filter(QRegularExpression("^octetry\\.news: HTTP: ")), httpLog);
        QVERIFY(httpLog.contains("octetry.news: HTTP: cleaning up HTTP objects"));
    }
    void finishesAtOnceWithoutACacheFolder()
    {
        QVERIFY(WriteAll(CacheDir(), {})); // a file where the folder belongs
        NewsFetcher fetcher;
        QSignalSpy finished(&fetcher, &NewsFetcher::Finished);
        fetcher.StartRequest();
        QCOMPARE(finished, QList<QVariantList>({{false}}));
        QVERIFY(httpLog.contains("octetry.news: HTTP: creating \"" + CacheDir() + "\" failed"));
    }
};

QTEST_GUILESS_MAIN(TstNewsFetcher)

#include "tst_newsfetcher.moc"
