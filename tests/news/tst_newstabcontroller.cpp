// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainform.h"
#include "common/formtestutil.h"
#include "common/rawserver.h"
#include "news/newstabcontroller.h"
#include "ui_octetrymainform.h"

class TstNewsTabController : public QObject
{
    Q_OBJECT

public slots:
    // Stands in for the desktop's handlers of external links.
    void OpenUrl(const QUrl& url) { m_openedUrls << url.toString(); }

private slots:
    void initTestCase()
    {
        qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext&, const QString& message) { m_httpLog << message; });
        for (const char* scheme : {"http", "https", "mailto"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "OpenUrl");
    }
    void init()
    {
        m_form.reset();
        QDir(NewsTabController::GetCacheFileInfo().absolutePath()).removeRecursively();
        OctetrySettings::Instance()->SetTabIndex(5); // the News page
    }

    void answerIsShownAndCachedOnlyWhenWhole_data()
    {
        AddColumns<QByteArray, QByteArray, QByteArray, QString, QStringList>("before", "reply", "after", "shown",
                                                                             "opened");
        const auto row = [](const char* tag, const QByteArray& before, const QByteArray& reply, const QByteArray& after,
                            const QString& shown, const QStringList& opened = {}) {
            QTest::newRow(tag) << before << reply << after << shown << opened;
        };
        const QByteArray cached = "<p>Cached news.</p>";
        row("no server (discard port): built-in page", {}, {}, {}, "news and announcements from Quorvane");
        row("304 Not Modified", cached, "HTTP/1.1 304 Not Modified\r\n\r\n", cached, "Cached news.");
        // The answers that the fetcher rejects are rows of tst_newsfetcher.
        const QByteArray word(NewsTabController::maxBodySize, 'w');
        row("one 1 MiB word, bounded", {}, Answer200(word), word, "wwwwwwwwww");
        const QByteArray local = QFile::encodeName(m_localImage);
        const QByteArray page =
            "<head><link rel=stylesheet href=\"file://" + local + "\"></head><p>hostile <img src=\"file://" + local
            + "\"><img src=\"" + local
            + "\"> <a href=\"file:///etc/hostname\">f</a> <a href=\"news.html\">r</a> "
              "<a href=\"https://www.quorvane.example/\">h</a> <a href=\"mailto:news@quorvane.example\">m</a></p>";
        row("local image, stylesheet and links", {}, Answer200(page), page, "hostile",
            {"https://www.quorvane.example/", "mailto:news@quorvane.example"});
    }
    void answerIsShownAndCachedOnlyWhenWhole()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, reply);
        QFETCH(QByteArray, after);
        QFETCH(QString, shown);
        QFETCH(QStringList, opened);
        // A real image, so that reading it would show in the document.
        QVERIFY(QImage(7, 3, QImage::Format_RGB32).save(m_localImage));
        const QString cachePath = NewsTabController::GetCacheFileInfo().absoluteFilePath();
        QVERIFY(before.isEmpty() || WriteAll(cachePath, before, QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7), Qt::UTC)));
        RawServer server(reply);
        const QByteArray port = QByteArray::number(reply.isEmpty() ? 9 : server.port());
        qputenv("OCTETRY_NEWS_URL", "http://127.0.0.1:" + port + "/news/octetry-news.html");
        m_httpLog.clear();
        m_form = std::make_unique<MainForm>();
        m_form->show();
        QTRY_VERIFY_WITH_TIMEOUT(m_httpLog.contains("HTTP: cleaning up HTTP objects"), 20000);
        QCOMPARE(server.requests().value(0).contains("If-Modified-Since: Wed, 04 Mar 2026 05:06:07 GMT"),
                 !before.isEmpty());
        QCOMPARE(ReadAll(cachePath), after);
        const Ui::OctetryMainForm* ui = m_form->GetUi();
        QCOMPARE(!ui->tabWidget->tabIcon(ui->tabWidget->indexOf(ui->newsTab)).isNull(), after != before);
        QTextBrowser* browser = ui->newsTextBrowser;
        QTRY_VERIFY_WITH_TIMEOUT(browser->toPlainText().contains(shown), 20000);
        const QRegularExpression longRun(
            QStringLiteral("[^\\s\\x{200B}]{%1}").arg(NewsTabController::maxUnbrokenRun + 1));
        QVERIFY(!browser->toPlainText().contains(longRun));
        for (const QUrl& image : {QUrl::fromLocalFile(m_localImage), QUrl(m_localImage)})
            QVERIFY(browser->document()->resource(QTextDocument::ImageResource, image).value<QImage>().size()
                    != QSize(7, 3));

        // Each of the four links, from the keyboard: only web and mail links leave, to the desktop.
        for (int link = 1; link <= (opened.isEmpty() ? 0 : 4); ++link) {
            browser->moveCursor(QTextCursor::Start);
            for (int tab = 0; tab < link; ++tab)
                QTest::keyClick(browser, Qt::Key_Tab);
            QTest::keyClick(browser, Qt::Key_Return);
        }
        QCOMPARE(m_openedUrls, opened);
        QVERIFY(browser->toPlainText().contains(shown));
    }

private:
    inline static QStringList m_httpLog;
    const QString m_localImage = QDir::homePath() + "/local.png"; // in the test's own home
    std::unique_ptr<MainForm> m_form;
    QStringList m_openedUrls;
};

OCTETRY_WINDOW_TEST_MAIN(TstNewsTabController)

#include "tst_newstabcontroller.moc"
