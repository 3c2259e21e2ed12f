#include <atomic>
#include <memory>

#include <QApplication>
#include <QDesktopServices>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QImage>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTcpServer>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>

#include "app/brandingutil.h"
#include "app/mainform.h"
#include "common/rawserver.h"
#include "common/testenvironment.h"
#include "news/newstabcontroller.h"
#include "settings/octetrysettings.h"

namespace {

const int newsTabIndex = 5;
const int waitMs = 20000;

QStringList httpLog;
QtMessageHandler previousHandler = nullptr;

// Resources of the news viewer left unanswered; the page thread asks too.
std::atomic<int> unansweredResources = 0;

void CaptureHttpLines(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.startsWith(QLatin1String("HTTP: "))) {
        httpLog << message;
        return;
    }
    if (previousHandler)
        previousHandler(type, context, message);
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray Answer200(const QByteArray& body)
{
    return "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " + QByteArray::number(body.size())
           + "\r\nConnection: close\r\n\r\n" + body;
}

} // namespace

class TstNewsTabController : public QObject
{
    Q_OBJECT

public slots:
    // Stands in for the desktop's handlers of external links.
    void OpenUrl(const QUrl& url) { m_openedUrls << url.toString(); }

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void serverDownShowsBuiltInPage();
    void firstAnswerFillsCacheAndMarksTab();
    void downloadWhileHiddenShowsWhenTabChosen();
    void secondRunRevalidatesWithCacheTime();
    void secondRunAnswersFromStandardServer();
    void brokenAnswerKeepsCachedCopy_data();
    void brokenAnswerKeepsCachedCopy();
    void uncreatableCacheDirectoryKeepsBuiltInPage();
    void failedReplacementKeepsCachedCopy();
    void hostilePageShownBoundedWithoutLocalReads_data();
    void hostilePageShownBoundedWithoutLocalReads();

private:
    // Opens the window with the news address pointed at port, and waits for the request to end.
    void OpenWindow(quint16 port, const QString& path = QStringLiteral("/news/octetry-news.html"));
    bool WaitForCleanUp() const;
    QString CachePath() const { return NewsTabController::GetCacheFileInfo().absoluteFilePath(); }
    QTabWidget* Tabs() const { return m_form->GetUi()->tabWidget; }
    QTextBrowser* Browser() const { return m_form->GetUi()->newsTextBrowser; }
    bool TabHasIcon() const { return !Tabs()->tabIcon(newsTabIndex).isNull(); }

    std::unique_ptr<MainForm> m_form;
    QString m_serverRoot;
    QStringList m_openedUrls;
};

void TstNewsTabController::initTestCase()
{
    previousHandler = qInstallMessageHandler(CaptureHttpLines);
    m_serverRoot = QDir::tempPath() + QStringLiteral("/octetry-news-test-%1").arg(QCoreApplication::applicationPid());
    for (const char* scheme : {"http", "https", "mailto"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "OpenUrl");
}

void TstNewsTabController::init()
{
    httpLog.clear();
    QDir(NewsTabController::GetCacheFileInfo().absolutePath()).removeRecursively();
    QDir(m_serverRoot).removeRecursively();
    OctetrySettings::Instance()->SetTabIndex(newsTabIndex);
    OctetrySettings::Instance()->Save();
}

void TstNewsTabController::cleanup()
{
    m_form.reset();
    // One case puts a plain file where the cache directory belongs.
    QFile::remove(NewsTabController::GetCacheFileInfo().absolutePath());
    QDir(m_serverRoot).removeRecursively();
    qputenv("OCTETRY_NEWS_URL", "http://127.0.0.1:9/news/octetry-news.html");
}

void TstNewsTabController::OpenWindow(quint16 port, const QString& path)
{
    qputenv("OCTETRY_NEWS_URL", QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(path).toUtf8());
    m_form = std::make_unique<MainForm>();
    m_form->show();
}

bool TstNewsTabController::WaitForCleanUp() const
{
    return QTest::qWaitFor([] { return httpLog.contains(QStringLiteral("HTTP: cleaning up HTTP objects")); }, waitMs);
}

void TstNewsTabController::serverDownShowsBuiltInPage()
{
    // Nothing listens on a port the test just gave back.
    quint16 port;
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        port = probe.serverPort();
    }
    OpenWindow(port);
    QVERIFY(WaitForCleanUp());

    QVERIFY(httpLog.takeFirst().startsWith(QLatin1String("HTTP: creating ")));
    QCOMPARE(httpLog.size(), 5);
    QVERIFY(httpLog[0].startsWith(QLatin1String("HTTP: opening temp file \"")));
    QVERIFY(httpLog[0].endsWith(QLatin1String(" succeeded\"")));
    QVERIFY(QRegularExpression(QStringLiteral("^HTTP: issuing request \\d+$")).match(httpLog[1]).hasMatch());
    QVERIFY2(httpLog[2].startsWith(QLatin1String("HTTP: finishing request")) && httpLog[2].contains("with status line")
                 && httpLog[2].contains("with error "),
             qPrintable(httpLog[2]));
    QCOMPARE(httpLog[3], QStringLiteral("HTTP: all requests have completed"));
    QCOMPARE(httpLog[4], QStringLiteral("HTTP: cleaning up HTTP objects"));

    QCOMPARE(Tabs()->tabText(newsTabIndex), QStringLiteral("Quorvane"));
    QTRY_VERIFY(Browser()->toPlainText().contains(QLatin1String("news and announcements from Quorvane")));
    QVERIFY(!TabHasIcon());
    QVERIFY(!QFile::exists(CachePath()));
}

void TstNewsTabController::firstAnswerFillsCacheAndMarksTab()
{
    const QByteArray body = "<html><body><p>Octetry 2.0 is out.</p></body></html>";
    RawServer server(Answer200(body), RawServer::Ending::Close);
    OpenWindow(server.port());
    QVERIFY(WaitForCleanUp());

    QCOMPARE(server.requests().size(), 1);
    const QByteArray request = server.requests().first();
    QVERIFY(request.startsWith("GET /news/octetry-news.html HTTP/1.1\r\n"));
    QVERIFY(request.contains("\r\nConnection: close\r\n"));
    QVERIFY(!request.contains("If-Modified-Since"));

    QCOMPARE(ReadAll(CachePath()), body);
    QVERIFY(httpLog.filter(QRegularExpression(QStringLiteral("^HTTP: creating .* succeeded$"))).size() == 1);
    QVERIFY(httpLog.filter(QRegularExpression(QStringLiteral("^HTTP: moving .* to .* succeeded$"))).size() == 1);
    QVERIFY(TabHasIcon());
    QTRY_VERIFY(Browser()->toPlainText().contains(QLatin1String("Octetry 2.0 is out.")));
}

void TstNewsTabController::downloadWhileHiddenShowsWhenTabChosen()
{
    OctetrySettings::Instance()->SetTabIndex(0);
    OctetrySettings::Instance()->Save();
    const QByteArray body = "<html><body><p>Fresh news.</p></body></html>";
    RawServer server(Answer200(body), RawServer::Ending::Close);
    OpenWindow(server.port());
    QVERIFY(WaitForCleanUp());

    QVERIFY(TabHasIcon());
    QVERIFY(!Browser()->toPlainText().contains(QLatin1String("Fresh news.")));
    Tabs()->setCurrentIndex(newsTabIndex);
    QTRY_VERIFY(Browser()->toPlainText().contains(QLatin1String("Fresh news.")));
}

void TstNewsTabController::secondRunRevalidatesWithCacheTime()
{
    const QByteArray cached = "<html><body><p>Cached news.</p></body></html>";
    QVERIFY(WriteAll(CachePath(), cached));
    const QDateTime modified = QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7), Qt::UTC);
    {
        QFile file(CachePath());
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(modified.toLocalTime(), QFileDevice::FileModificationTime));
    }
    // Leftovers of a killed run: its download and the staging copy of its cache.
    const QDir cacheDir = QFileInfo(CachePath()).absoluteDir();
    QVERIFY(WriteAll(cacheDir.filePath("news-download-Ab12Cd.part"), "<html><bo"));
    QVERIFY(WriteAll(cacheDir.filePath("octetry-news.html.Ef34Gh"), "<html><bo"));
    QVERIFY(WriteAll(cacheDir.filePath("notes.txt"), "not ours"));

    RawServer server("HTTP/1.1 304 Not Modified\r\nConnection: close\r\n\r\n", RawServer::Ending::Close);
    OpenWindow(server.port());
    QVERIFY(WaitForCleanUp());

    QCOMPARE(server.requests().size(), 1);
    QVERIFY2(server.requests().first().contains("\r\nIf-Modified-Since: Wed, 04 Mar 2026 05:06:07 GMT\r\n"),
             server.requests().first().constData());
    QCOMPARE(ReadAll(CachePath()), cached);
    QVERIFY(!TabHasIcon());
    QTRY_VERIFY(Browser()->toPlainText().contains(QLatin1String("Cached news.")));
    QVERIFY(httpLog.filter(QStringLiteral("HTTP: finishing request")).first().contains(QLatin1String("304")));
    QCOMPARE(cacheDir.entryList(QDir::Files), QStringList({"notes.txt", "octetry-news.html"}));
}

void TstNewsTabController::secondRunAnswersFromStandardServer()
{
    if (QStandardPaths::findExecutable(QStringLiteral("python3")).isEmpty())
        QSKIP("python3 is not installed");
    const QString served = m_serverRoot + QStringLiteral("/news/octetry-news.html");
    const QByteArray first = "<html><body><p>First edition.</p></body></html>";
    QVERIFY(WriteAll(served, first));

    QProcess python;
    python.setProcessChannelMode(QProcess::MergedChannels);
    python.start(QStringLiteral("python3"), {QStringLiteral("-u"), QStringLiteral("-m"), QStringLiteral("http.server"),
                                             QStringLiteral("0"), QStringLiteral("--bind"), QStringLiteral("127.0.0.1"),
                                             QStringLiteral("--directory"), m_serverRoot});
    QVERIFY(python.waitForStarted());
    QByteArray banner;
    const QRegularExpression portPattern(QStringLiteral("port (\\d+)"));
    QRegularExpressionMatch match;
    QVERIFY(QTest::qWaitFor([&] {
        banner += python.readAll();
        match = portPattern.match(QString::fromLatin1(banner));
        return match.hasMatch();
    }, waitMs));
    const quint16 port = match.captured(1).toUShort();
    auto stopPython = qScopeGuard([&python] {
        python.kill();
        python.waitForFinished();
    });

    // First run: 200 fills the cache.
    OpenWindow(port);
    QVERIFY(WaitForCleanUp());
    QCOMPARE(ReadAll(CachePath()), first);
    QVERIFY(TabHasIcon());
    m_form.reset();

    // Second run, page unchanged: the server answers 304 itself.
    httpLog.clear();
    OpenWindow(port);
    QVERIFY(WaitForCleanUp());
    QVERIFY2(httpLog.filter(QStringLiteral("HTTP: finishing request")).first().contains(QLatin1String("304")),
             qPrintable(httpLog.join('\n')));
    QCOMPARE(ReadAll(CachePath()), first);
    QVERIFY(!TabHasIcon());
    m_form.reset();

    // Third run, page edited after the cached copy was taken: 200 replaces the copy.
    const QByteArray second = "<html><body><p>Second edition.</p></body></html>";
    QVERIFY(WriteAll(served, second));
    {
        QFile file(served);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(3600), QFileDevice::FileModificationTime));
    }
    httpLog.clear();
    OpenWindow(port);
    QVERIFY(WaitForCleanUp());
    QCOMPARE(ReadAll(CachePath()), second);
    QVERIFY(TabHasIcon());
    QTRY_VERIFY(Browser()->toPlainText().contains(QLatin1String("Second edition.")));
}

void TstNewsTabController::brokenAnswerKeepsCachedCopy_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("reset");

    const QByteArray header200 = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n";
    QTest::newRow("connection reset after a 200 header")
        << QByteArray(header200 + "Content-Length: 5000\r\n\r\n<html><body>partial") << true;
    QTest::newRow("body shorter than its Content-Length")
        << QByteArray(header200 + "Content-Length: 5000\r\nConnection: close\r\n\r\n<html><body>short") << false;
    QTest::newRow("empty body") << QByteArray(header200 + "Content-Length: 0\r\nConnection: close\r\n\r\n") << false;
    QTest::newRow("malformed chunk size")
        << QByteArray(header200 + "Transfer-Encoding: chunked\r\nConnection: close\r\n\r\nzz\r\nbody\r\n0\r\n\r\n")
        << false;
    QTest::newRow("body over one mebibyte")
        << Answer200(QByteArray(NewsTabController::maxBodySize + 1, 'x')) << false;
    QTest::newRow("redirect is not followed")
        << QByteArray("HTTP/1.1 301 Moved Permanently\r\nLocation: /news/elsewhere.html\r\nContent-Length: 0\r\n"
                      "Connection: close\r\n\r\n")
        << false;
    QTest::newRow("gzip-encoded body")
        << QByteArray(header200 + "Content-Encoding: gzip\r\nConnection: close\r\n\r\n"
                      + QByteArray::fromHex("1f8b0800000000000203b3c928c9cdb1b349ca4fa9b4abca2c28484db1d107736cf4c13200"
                                            "8153987b20000000"))
        << false;
    QTest::newRow("two different Content-Lengths")
        << QByteArray(header200 + "Content-Length: 5\r\nContent-Length: 10\r\nConnection: close\r\n\r\n0123456789")
        << false;
    QTest::newRow("Content-Length 5x")
        << QByteArray(header200 + "Content-Length: 5x\r\nConnection: close\r\n\r\n12345") << false;
    QTest::newRow("server error")
        << QByteArray("HTTP/1.1 500 Internal Server Error\r\nContent-Length: 4\r\nConnection: close\r\n\r\noops")
        << false;
}

void TstNewsTabController::brokenAnswerKeepsCachedCopy()
{
    QFETCH(QByteArray, reply);
    QFETCH(bool, reset);

    const QByteArray cached = "<html><body><p>Cached news.</p></body></html>";
    QVERIFY(WriteAll(CachePath(), cached));
    RawServer server(reply, reset ? RawServer::Ending::Reset : RawServer::Ending::Close);
    OpenWindow(server.port());
    QVERIFY(WaitForCleanUp());

    QCOMPARE(server.requests().size(), 1);
    QCOMPARE(ReadAll(CachePath()), cached);
    QVERIFY(!TabHasIcon());
    QTRY_VERIFY(Browser()->toPlainText().contains(QLatin1String("Cached news.")));
    QCOMPARE(QDir(QFileInfo(CachePath()).absolutePath()).entryList(QDir::Files), QStringList{"octetry-news.html"});
    QVERIFY(httpLog.filter(QStringLiteral("HTTP: moving")).isEmpty());
}

void TstNewsTabController::uncreatableCacheDirectoryKeepsBuiltInPage()
{
    // A file where the cache directory belongs.
    const QString cacheDir = QFileInfo(CachePath()).absolutePath();
    QVERIFY(WriteAll(cacheDir, "not a directory"));
    RawServer server(Answer200("<html><body>news</body></html>"), RawServer::Ending::Close);
    OpenWindow(server.port());
    QVERIFY(WaitForCleanUp());

    QVERIFY(httpLog.filter(QRegularExpression(QStringLiteral("^HTTP: creating .* failed$"))).size() == 1);
    QVERIFY(!TabHasIcon());
    QTRY_VERIFY(Browser()->toPlainText().contains(QLatin1String("news and announcements from Quorvane")));
    QCOMPARE(ReadAll(cacheDir), QByteArray("not a directory"));
}

void TstNewsTabController::failedReplacementKeepsCachedCopy()
{
    // A name so long that no staging file fits beside it, whoever runs the test.
    const QString name = QString(245, QLatin1Char('n')) + QStringLiteral(".html");
    // The cache's name follows the news address.
    qputenv("OCTETRY_NEWS_URL", ("http://127.0.0.1:9/news/" + name).toUtf8());
    const QByteArray cached = "<html><body><p>Cached news.</p></body></html>";
    QVERIFY(WriteAll(CachePath(), cached));
    QCOMPARE(QFileInfo(CachePath()).fileName(), name);

    RawServer server(Answer200("<html><body>new news</body></html>"), RawServer::Ending::Close);
    OpenWindow(server.port(), QStringLiteral("/news/") + name);
    QVERIFY(WaitForCleanUp());

    QVERIFY2(httpLog.filter(QRegularExpression(QStringLiteral("^HTTP: moving .* failed$"))).size() == 1,
             qPrintable(httpLog.join('\n')));
    QCOMPARE(ReadAll(CachePath()), cached);
    QVERIFY(!TabHasIcon());
    QTRY_VERIFY(Browser()->toPlainText().contains(QLatin1String("Cached news.")));
    QCOMPARE(QDir(QFileInfo(CachePath()).absolutePath()).entryList(QDir::Files), QStringList{name});
}

void TstNewsTabController::hostilePageShownBoundedWithoutLocalReads_data()
{
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("opened");

    const QByteArray local = QFile::encodeName(m_serverRoot + QStringLiteral("/local.png"));
    QTest::newRow("one 1 MiB word") << QByteArray(NewsTabController::maxBodySize, 'w') << "www" << QStringList();
    QTest::newRow("local image, stylesheet and links")
        << QByteArray("<head><link rel=stylesheet href=\"file://" + local + "\"></head><p>local <img src=\"file://" + local
                      + "\"><img src=\"" + local + "\"> <a href=\"file:///etc/hostname\">f</a> <a href=\"news.html\">r</a> "
                      "<a href=\"https://www.quorvane.example/\">h</a> <a href=\"mailto:news@quorvane.example\">m</a></p>")
        << "local" << QStringList{"https://www.quorvane.example/", "mailto:news@quorvane.example"};
}

void TstNewsTabController::hostilePageShownBoundedWithoutLocalReads()
{
    QFETCH(QByteArray, page);
    QFETCH(QString, shown);
    QFETCH(QStringList, opened);

    // A real image, so that reading it would show in the document.
    const QString local = m_serverRoot + QStringLiteral("/local.png");
    QVERIFY(QDir().mkpath(m_serverRoot) && QImage(7, 3, QImage::Format_RGB32).save(local));
    OctetrySettings::Instance()->SetTabIndex(0);
    OctetrySettings::Instance()->Save();
    RawServer server(Answer200(page));
    OpenWindow(server.port());
    // An unanswered resource is read from its address by the viewer itself.
    unansweredResources = 0;
    QTextDocument* viewer = Browser()->document();
    viewer->setResourceProvider([own = viewer->resourceProvider()](const QUrl& url) {
        const QVariant answer = own(url);
        unansweredResources += answer.isValid() ? 0 : 1;
        return answer;
    });
    QVERIFY(WaitForCleanUp());
    QCOMPARE(ReadAll(CachePath()), page);

    // Shown from the cache, as at every start.
    Tabs()->setCurrentIndex(newsTabIndex);
    QTRY_VERIFY(Browser()->toPlainText().contains(shown));
    const QRegularExpression longRun(QStringLiteral("[^\\s\\x{200B}]{%1}").arg(NewsTabController::maxUnbrokenRun + 1));
    QVERIFY(!Browser()->toPlainText().contains(longRun));
    for (const QUrl& image : {QUrl::fromLocalFile(local), QUrl(local)})
        QVERIFY(Browser()->document()->resource(QTextDocument::ImageResource, image).value<QImage>().size() != QSize(7, 3));
    QCOMPARE(unansweredResources.load(), 0);

    // Each link in turn from the keyboard: only web and mail links leave, to the desktop.
    m_openedUrls.clear();
    for (int link = 1; link <= 4; ++link) {
        Browser()->moveCursor(QTextCursor::Start);
        for (int tab = 0; tab < link; ++tab)
            QTest::keyClick(Browser(), Qt::Key_Tab);
        QTest::keyClick(Browser(), Qt::Key_Return);
    }
    QCOMPARE(m_openedUrls, opened);
    QVERIFY(Browser()->toPlainText().contains(shown));
}

int main(int argc, char** argv)
{
    TestEnvironment env;
    QApplication app(argc, argv);
    BrandingUtil::SetApplicationIdentity();
    TstNewsTabController test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_newstabcontroller.moc"
