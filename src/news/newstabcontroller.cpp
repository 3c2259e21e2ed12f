#include "news/newstabcontroller.h"

#include "app/brandingutil.h"
#include "app/mainform.h"
#include "controllers/themecolors.h"
#include "ui_octetrymainform.h"

#include <QApplication>
#include <QDesktopServices>
#include <QIcon>
#include <QImage>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTabWidget>
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
