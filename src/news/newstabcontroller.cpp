#include "news/newstabcontroller.h"

#include "app/brandingutil.h"
#include "app/buildconfig.h"
#include "app/mainform.h"
#include "controllers/themecolors.h"
#include "news/newslog.h"
#include "ui_octetrymainform.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QIcon>
#include <QImage>
#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSettings>
#include <QStringDecoder>
#include <QTabWidget>
#include <QTemporaryFile>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QThread>

#include <algorithm>

namespace {

const char builtInPage[] = ":/html/octetry-news.html";
const char builtInBase[] = "qrc:/html/";
// Downloads are written beside the cache under this name, so that one left by
// a killed run can be told from anything else and removed.
const char downloadTemplate[] = "news-download-XXXXXX.part";
const char downloadPattern[] = "^news-download-[A-Za-z0-9]{6}\\.part$";
// QSaveFile's own staging copy, where it has to give it a name.
const char stagingPattern[] = "^%1\\.[A-Za-z0-9]{6}$";
const char newIcon[] = ":/images/new-icon-16x16x32.png";
const char newIcon2x[] = ":/images/new-icon-16x16x32@2x.png";
const char httpDateFormat[] = "ddd, dd MMM yyyy hh:mm:ss 'GMT'";
// Used when the news address's path ends without a file name.
const char fallbackCacheName[] = "index.html";

// The "new" badge for the News tab. Qt 6.4 takes, for a scale just between two
// of an icon's files, the first one added: with the @2x file first, 150 %
// gets it scaled down rather than the 1x file stretched.
QIcon NewIcon()
{
    QIcon icon(QString::fromLatin1(newIcon2x));
    icon.addFile(QString::fromLatin1(newIcon));
    return icon;
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

// A rough measure of the time the text layout takes over a document, in
// characters of plain text: a table cell costs as much as 32 characters, and
// every level of tables around a block doubles its cost, as the layout lays
// nested tables out again for each level.
constexpr qint64 maxLayoutCost = 16 * 1024;
constexpr qint64 blockCost = 4;
constexpr qint64 lineCost = 4;
constexpr qint64 cellCost = 32;
// A page over that cost is shown as this much of its plain text.
constexpr int maxPlainCharacters = 16 * 1024;
constexpr int maxPlainLines = 1000;

constexpr char16_t zeroWidthSpace = 0x200B;
// The HTML import's time grows faster than the square of the number of images.
constexpr int maxImages = 256;

// Every resource a page asks for, answered with the program's own resources
// only. An image that fails to decode is read again from its name by the
// text layout, so a refusal is a blank image rather than nothing.
QVariant OwnResource(const QUrl& url)
{
    QString path;
    if (url.scheme() == QLatin1String("qrc"))
        path = QLatin1Char(':') + url.path();
    else if (url.scheme().isEmpty() && url.path().startsWith(QLatin1String(":/")))
        path = url.path();
    QFile file(path);
    if (!path.isEmpty() && file.open(QIODevice::ReadOnly))
        return file.readAll();
    QImage blank(1, 1, QImage::Format_ARGB32);
    blank.fill(Qt::transparent);
    return blank;
}

// A page that takes its resources from its resource provider alone: the
// document and the browser would read any other address themselves, local
// files included, before they ask the provider.
class PageDocument : public QTextDocument
{
protected:
    QVariant loadResource(int, const QUrl& name) override
    {
        const ResourceProvider resources = resourceProvider();
        return resources ? resources(name) : OwnResource(name);
    }
};

int TableDepth(const QTextBlock& block)
{
    int depth = 0;
    for (QTextFrame* frame = QTextCursor(block).currentFrame(); frame; frame = frame->parentFrame())
        if (qobject_cast<QTextTable*>(frame))
            ++depth;
    return depth;
}

bool WithinLayoutBudget(const QTextDocument& document)
{
    qint64 cost = 0;
    for (QTextBlock block = document.begin(); block.isValid() && cost <= maxLayoutCost; block = block.next()) {
        const QString text = block.text();
        const int depth = TableDepth(block);
        const qint64 own =
            text.size() + blockCost + lineCost * text.count(QChar::LineSeparator) + (depth > 0 ? cellCost : 0);
        cost += own << std::min(depth, 16);
    }
    return cost <= maxLayoutCost;
}

QString BoundedPlainText(QString text)
{
    text.truncate(maxPlainCharacters);
    qsizetype end = -1;
    for (int line = 0; line < maxPlainLines && end < text.size(); ++line) {
        end = text.indexOf(QLatin1Char('\n'), end + 1);
        if (end < 0)
            return text;
    }
    text.truncate(end);
    return text;
}

bool BreaksLine(QChar c)
{
    return c == u' ' || c == u'\t' || c == QChar(zeroWidthSpace) || c == QChar::LineSeparator;
}

// Puts a zero-width space into every run longer than the limit; a run goes on
// across formats and tags, and no-break spaces do not end it.
void BreakLongRuns(QTextDocument& document)
{
    QList<int> breaks;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        int run = 0;
        for (int i = 0; i < text.size(); ++i) {
            if (BreaksLine(text[i]))
                run = 0;
            else if (++run > NewsTabController::maxUnbrokenRun) {
                breaks << block.position() + i;
                run = 1;
            }
        }
    }
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    for (auto at = breaks.crbegin(); at != breaks.crend(); ++at) {
        cursor.setPosition(*at);
        cursor.insertText(QString(QChar(zeroWidthSpace)));
    }
    cursor.endEditBlock();
}

// Renames the image tags past the first few to one the import ignores.
void DropImagesBeyond(QString& html, int kept)
{
    static const QRegularExpression image(QStringLiteral("<img(?![A-Za-z0-9])"),
                                          QRegularExpression::CaseInsensitiveOption);
    int seen = 0;
    for (QRegularExpressionMatchIterator it = image.globalMatch(html); it.hasNext();) {
        const qsizetype at = it.next().capturedStart();
        if (++seen > kept)
            html[at + 1] = u'x';
    }
}

// Reads and lays out a page the way the viewer shows it; runs in any thread.
std::unique_ptr<QTextDocument> BuildPage(const QString& path, const QUrl& base,
                                         const QTextDocument::ResourceProvider& resources)
{
    QFile file(path);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.read(NewsTabController::maxBodySize) : QByteArray();
    QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
    if (!decoder.isValid())
        decoder = QStringDecoder(QStringDecoder::Utf8);

    std::unique_ptr<QTextDocument> page = std::make_unique<PageDocument>();
    page->setUndoRedoEnabled(false);
    page->setResourceProvider(resources);
    page->setBaseUrl(base);
    QString html = decoder.decode(bytes);
    DropImagesBeyond(html, maxImages);
    page->setHtml(html);
    if (!WithinLayoutBudget(*page))
        page->setPlainText(BoundedPlainText(page->toPlainText()));
    BreakLongRuns(*page);
    return page;
}

} // namespace

NewsTabController::NewsTabController(MainForm* parent)
    : TabController(parent)
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

QUrl NewsTabController::GetNewsUrl()
{
    const QString override = qEnvironmentVariable("OCTETRY_NEWS_URL");
    if (!override.isEmpty()) {
        const QUrl candidate(override, QUrl::StrictMode);
        if (candidate.isValid() && candidate.scheme() == QLatin1String("http") && !candidate.host().isEmpty())
            return candidate;
        qCDebug(lcNews) << "HTTP: ignoring OCTETRY_NEWS_URL" << override;
    }
    return QUrl(QStringLiteral(OCTETRY_REMOTE_NEWS_URL));
}

QFileInfo NewsTabController::GetCacheFileInfo()
{
    // Only locates the per-user settings directory; nothing is stored through it.
    const QSettings settings(QSettings::IniFormat, QSettings::UserScope, QCoreApplication::organizationName(),
                             QCoreApplication::applicationName());
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
    // A page never navigates the viewer: its links are handled here.
    QTextBrowser* browser = GetUi()->newsTextBrowser;
    browser->setOpenLinks(false);
    browser->document()->setResourceProvider(OwnResource);
    connect(browser, &QTextBrowser::anchorClicked, this, &NewsTabController::on_newsTextBrowser_anchorClicked);
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
        m_builtPage = BuildPage(path, base, resources);
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

void NewsTabController::StartRequest()
{
    m_client = new QNetworkAccessManager(this);
    connect(m_client, &QNetworkAccessManager::finished, this, &NewsTabController::on_http_requestFinished);
    connect(m_client, &QObject::destroyed, this, &NewsTabController::on_object_destroyed);

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
        if (leftover.match(name).hasMatch()) {
            const bool removed = QFile::remove(QDir(cacheDir).absoluteFilePath(name));
            qCDebug(lcNews) << "HTTP: removing leftover" << name << (removed ? "succeeded" : "failed");
        }
    }

    m_tempFile = new QTemporaryFile(QDir(cacheDir).absoluteFilePath(QString::fromLatin1(downloadTemplate)), this);
    connect(m_tempFile, &QObject::destroyed, this, &NewsTabController::on_object_destroyed);

    const bool opened = m_tempFile->open();
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
    connect(m_reply, &QIODevice::readyRead, this, &NewsTabController::on_reply_readyRead);
    connect(m_reply, &QObject::destroyed, this, &NewsTabController::on_object_destroyed);
    m_requestId = NextRequestId();
    qCDebug(lcNews) << "HTTP: issuing request" << m_requestId;
}

void NewsTabController::on_reply_readyRead()
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

void NewsTabController::on_http_requestFinished(QNetworkReply* finished)
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
        if (!rejection.isEmpty()) {
            qCDebug(lcNews) << "HTTP: keeping the cached copy:" << rejection;
        } else if (ReplaceCache()) {
            QTabWidget* tabWidget = GetUi()->tabWidget;
            const int index = tabWidget->indexOf(GetUi()->newsTab);
            if (index >= 0)
                tabWidget->setTabIcon(index, NewIcon());
            UpdateView();
        }
    }
    on_http_done(error);
}

QString NewsTabController::RejectionReason() const
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

bool NewsTabController::ReplaceCache()
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

void NewsTabController::on_http_done(bool)
{
    qCDebug(lcNews) << "HTTP: all requests have completed";
    CleanUp();
}

void NewsTabController::CleanUp()
{
    qCDebug(lcNews) << "HTTP: cleaning up HTTP objects";
    if (m_client)
        m_client->deleteLater();
    if (m_tempFile) {
        // Gone at once, not when the object is deleted later.
        m_tempFile->remove();
        m_tempFile->deleteLater();
    }
}

void NewsTabController::on_object_destroyed(QObject* object)
{
    if (object == m_client)
        m_client = nullptr;
    else if (object == m_tempFile)
        m_tempFile = nullptr;
    else if (object == m_reply)
        m_reply = nullptr;
}
