// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainform.h"

#include "app/brandingutil.h"
#include "app/menucontroller.h"
#include "controllers/cidrtabcontroller.h"
#include "controllers/classestabcontroller.h"
#include "controllers/conversionstabcontroller.h"
#include "controllers/ipv4prefixrequest.h"
#include "controllers/ipv6subnetstabcontroller.h"
#include "controllers/ipv6tabcontroller.h"
#include "controllers/liststabcontroller.h"
#include "controllers/subnetstabcontroller.h"
#include "controllers/tabcontroller.h"
#include "news/newstabcontroller.h"
#include "settings/octetrysettings.h"
#include "ui_octetrymainform.h"
#include "widgets/itemviewcopier.h"

#include <QAbstractItemView>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTabWidget>
#include <QTextBrowser>
#include <QWindow>

#include <algorithm>
#include <cstdlib>
#include <initializer_list>

// Q_INIT_RESOURCE declares the bundle's functions in the enclosing namespace,
// so these wrappers must stay at global scope.
static void InitOctetryResources()
{
    Q_INIT_RESOURCE(octetry);
}

static void CleanupOctetryResources()
{
    Q_CLEANUP_RESOURCE(octetry);
}

namespace {

// The bundle lives in a static library, where the linker drops objects that
// nothing references; this translation unit is always linked, so registering
// from here before main keeps the images and pages available.
struct ResourceRegistration
{
    ResourceRegistration() { InitOctetryResources(); }
    ~ResourceRegistration() { CleanupOctetryResources(); }
};

const ResourceRegistration resourceRegistration;

// The window an exit() would leave unsaved: the toolkit calls exit() when the
// display goes away, and then neither closeEvent nor the quit path runs.
MainForm* windowToSaveOnExit = nullptr;

} // namespace

MainForm::MainForm(QWidget* parent, Qt::WindowFlags flags)
    : QMainWindow(parent, flags),
      m_ui(std::make_unique<Ui::OctetryMainForm>())
{
    m_ui->setupUi(this);
    m_ui->tabWidget->installEventFilter(this);
    // The IPv6 page's address facts sit above its type tree and picture; the
    // window grows by their rows so that both keep their room.
    resize(width(), height() + m_ui->ipv6DetailsWidget->sizeHint().height() + m_ui->ipv6GapSpacer3->sizeHint().height()
                        + 2 * m_ui->gridLayout7->verticalSpacing());
    // As the user left it; the first time, or from an unreadable value, as designed.
    if (restoreGeometry(GetSettings()->GetWindowGeometry()))
        FitOnScreen();
    // A Designer cursor lands on the scroll area's frame; the text is drawn on the viewport.
    for (QTextBrowser* bitUsage : {m_ui->classBitUsageEdit, m_ui->subnetsBitUsageEdit, m_ui->cidrBitUsageEdit})
        bitUsage->viewport()->setCursor(Qt::IBeamCursor);
    setWindowTitle(BrandingUtil::GetApplicationTitle());

    m_menuController = new MenuController(this);
    m_menuController->Initialize();
    m_menuController->UpdateView();

    m_prefixRequest = new IPv4PrefixRequest(GetSettings(), this);
    CreateTabControllers();
    for (TabController* controller : m_tabControllers) {
        if (controller)
            controller->Initialize();
    }
    // Address plans are pasted into tickets and spreadsheets.
    for (QAbstractItemView* view : std::initializer_list<QAbstractItemView*>{
             m_ui->subnetsTableView, m_ui->cidrTableView, m_ui->ipv6AddressTypeTreeView, m_ui->ipv6SubnetsTableView,
             m_ui->listResultView, m_ui->listProblemsView})
        ItemViewCopier::Install(view);
    ReopenStoredTab();
    // Registered once the settings exist: exit handlers run before the statics made
    // earlier are destroyed, and the settings' writing needs them.
    static const bool saveOnExit = std::atexit([] {
                                       if (windowToSaveOnExit)
                                           windowToSaveOnExit->SaveWindowAndSettings();
                                   })
                                   == 0;
    if (saveOnExit)
        windowToSaveOnExit = this;
}

MainForm::~MainForm()
{
    if (windowToSaveOnExit == this)
        windowToSaveOnExit = nullptr;
    // The widgets die in ~QWidget, after this object has stopped being a
    // MainForm; a tab widget emptied then would call controllers back.
    for (TabController*& controller : m_tabControllers) {
        delete controller;
        controller = nullptr;
    }
    delete m_menuController;
    m_menuController = nullptr;
}

void MainForm::closeEvent(QCloseEvent* event)
{
    // File > Exit, the window's close button and the quit signals all come here.
    SaveWindowAndSettings();
    QMainWindow::closeEvent(event);
}

void MainForm::SaveWindowAndSettings()
{
    GetSettings()->SetWindowGeometry(saveGeometry());
    GetSettings()->Flush();
}

void MainForm::changeEvent(QEvent* event)
{
    // Classes, Subnets and CIDR colour their bit usages for the palette; the
    // IPv6 picture follows by itself, other pages draw in the palette anyway.
    if (event->type() == QEvent::PaletteChange) {
        for (const StoredTab stored : {kClassesTab, kSubnetsTab, kCidrTab}) {
            if (m_tabControllers[stored])
                m_tabControllers[stored]->UpdateView();
        }
    }
    QMainWindow::changeEvent(event);
}

bool MainForm::eventFilter(QObject* watched, QEvent* event)
{
    // A label's new text asks every widget up to the window to lay out again;
    // the tab widget then repaints all it shows, which would make a change
    // that only rewrites a text cost a whole window's painting.
    if (watched == m_ui->tabWidget && event->type() == QEvent::LayoutRequest) {
        const std::pair hints(m_ui->tabWidget->sizeHint(), m_ui->tabWidget->minimumSizeHint());
        if (hints == m_tabWidgetHints)
            return true;
        m_tabWidgetHints = hints;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainForm::FitOnScreen()
{
    // The toolkit keeps a geometry from a larger or a lost screen as it was.
    // The window is created first so that its frame, where known, counts too.
    create();
    const QMargins frame = windowHandle()->frameMargins();
    const QScreen* screen = QGuiApplication::screenAt(geometry().center());
    const QRect available =
        (screen ? screen : QGuiApplication::primaryScreen())->availableGeometry().marginsRemoved(frame);
    // In 64 bits: a stored position may lie at the ends of int, where the sums overflow.
    const QSize size = geometry().size().boundedTo(available.size());
    const auto fit = [](int at, int low, int high, int length) {
        return static_cast<int>(std::clamp<qint64>(at, low, std::max<qint64>(low, qint64{high} - length + 1)));
    };
    const QRect fitted(fit(geometry().x(), available.left(), available.right(), size.width()),
                       fit(geometry().y(), available.top(), available.bottom(), size.height()), size.width(),
                       size.height());
    if (fitted != geometry())
        setGeometry(fitted);
}

void MainForm::EnterAddress(CommandLine::Page page, const QString& address)
{
    const struct
    {
        CommandLine::Page page;
        QWidget* tab;
        QLineEdit* edit;
    } pages[] = {
        {CommandLine::Page::Conversions, m_ui->conversionsTab, m_ui->dottedDecEdit},
        {CommandLine::Page::Subnets, m_ui->subnetsTab, m_ui->subnetsAddressEdit},
        {CommandLine::Page::IPv6, m_ui->ipv6Tab, m_ui->ipv6AddressEdit},
        {CommandLine::Page::IPv6Subnets, m_ui->ipv6SubnetsTab, m_ui->ipv6SubnetsAddressEdit},
    };
    for (const auto& entry : pages) {
        if (entry.page != page)
            continue;
        m_ui->tabWidget->setCurrentWidget(entry.tab);
        entry.edit->setFocus();
        // A whole text at once applies its prefix as a paste does; Return then shows it canonically.
        entry.edit->setText(address);
        emit entry.edit->editingFinished();
    }
}

ControllerContext MainForm::GetControllerContext(StoredTab storedTab)
{
    return {this, m_ui.get(), storedTab, m_prefixRequest};
}

void MainForm::CreateTabControllers()
{
    // One line per page; a page's controller is created here.
    m_tabControllers[kConversionsTab] = new ConversionsTabController(GetControllerContext(kConversionsTab));
    m_tabControllers[kClassesTab] = new ClassesTabController(GetControllerContext(kClassesTab));
    m_tabControllers[kSubnetsTab] = new SubnetsTabController(GetControllerContext(kSubnetsTab));
    m_tabControllers[kCidrTab] = new CidrTabController(GetControllerContext(kCidrTab));
    m_tabControllers[kIPv6Tab] = new IPv6TabController(GetControllerContext(kIPv6Tab));
    m_tabControllers[kNewsTab] = new NewsTabController(GetControllerContext(kNewsTab));
    m_tabControllers[kIPv6SubnetsTab] = new IPv6SubnetsTabController(GetControllerContext(kIPv6SubnetsTab));
    m_tabControllers[kListsTab] = new ListsTabController(GetControllerContext(kListsTab));
}

void MainForm::ReopenStoredTab()
{
    QTabWidget* tabWidget = m_ui->tabWidget;
    const int current = tabWidget->currentIndex();
    const int stored = GetSettings()->GetTabIndex();
    // A number that names no page opens the first or the last page.
    const bool named = stored >= 0 && stored < static_cast<int>(m_tabControllers.size()) && m_tabControllers[stored];
    const int index = named ? tabWidget->indexOf(m_tabControllers[stored]->GetTabPage())
                            : std::clamp(stored, 0, tabWidget->count() - 1);
    if (index == current) {
        // No tab change will happen, so the current page is brought up to date here.
        if (TabController* controller = FindTabController(tabWidget->widget(current)))
            controller->UpdateView();
    } else {
        tabWidget->setCurrentIndex(index);
    }
}

Ui::OctetryMainForm* MainForm::GetUi()
{
    return m_ui.get();
}

OctetrySettings* MainForm::GetSettings()
{
    return OctetrySettings::Instance();
}

TabController* MainForm::FindTabController(QWidget* page) const
{
    if (!page)
        return nullptr;
    for (TabController* controller : m_tabControllers) {
        if (controller && controller->GetTabPage() == page)
            return controller;
    }
    return nullptr;
}

int MainForm::GetStoredTabIndex(const TabController* controller) const
{
    const auto found = std::find(m_tabControllers.begin(), m_tabControllers.end(), controller);
    return found == m_tabControllers.end() ? -1 : static_cast<int>(found - m_tabControllers.begin());
}
