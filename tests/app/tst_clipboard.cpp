#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>
#include <QTreeView>

#include <memory>

#include "app/brandingutil.h"
#include "app/mainform.h"
#include "common/formtestutil.h"
#include "common/testenvironment.h"
#include "settings/octetrysettings.h"

namespace {

const QString untouched = QStringLiteral("left alone");

QAction* CopyAction(QAbstractItemView* view)
{
    return view->findChild<QAction*>(view->objectName() + QStringLiteral("CopyAction"));
}

// The rows' texts as the view shows them, built cell by cell from the model.
QString ExpectedText(const QAbstractItemView* view, const QModelIndexList& rows)
{
    const QAbstractItemModel* model = view->model();
    QStringList header;
    for (int column = 0; column < model->columnCount(); ++column)
        header << model->headerData(column, Qt::Horizontal).toString();
    QString text = header.join('\t') + '\n';
    for (const QModelIndex& row : rows) {
        QStringList cells;
        for (int column = 0; column < model->columnCount(); ++column)
            cells << model->index(row.row(), column, row.parent()).data().toString();
        text += cells.join('\t') + '\n';
    }
    return text;
}

void SelectRows(QAbstractItemView* view, const QModelIndexList& rows)
{
    view->selectionModel()->clearSelection();
    for (const QModelIndex& row : rows)
        view->selectionModel()->select(row, QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void SelectComboText(QComboBox* comboBox, const QString& text)
{
    const int index = comboBox->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    comboBox->setCurrentIndex(index);
}

// The CIDR page listing the routes of 10.0.0.1 in the given block and CIDR bits.
QTableView* ShowCidrRoutes(MainForm* form, const QString& block, const QString& bits)
{
    Ui::OctetryMainForm* ui = form->GetUi();
    ui->tabWidget->setCurrentWidget(ui->cidrTab);
    TypeOver(ui->cidrAddressEdit, "10.0.0.1");
    SelectComboText(ui->addressBlockMaskComboBox, block);
    SelectComboText(ui->cidrBitsComboBox, bits);
    return ui->cidrTableView;
}

} // namespace

class TstClipboard : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void viewsCopySelectedRows_data();
    void viewsCopySelectedRows();
    void cidrWindowEdges();
    void subnetsWithoutRfc1878();
    void nothingSelectedLeavesClipboard_data();
    void nothingSelectedLeavesClipboard();
    void manyRoutesCopy();
    void readOnlyFieldsCopy_data();
    void readOnlyFieldsCopy();
    void cleanupTestCase();

private:
    QAbstractItemView* View(const QString& name) const;
    // Shows the page holding view with address typed into the page's edit.
    void ShowPage(QAbstractItemView* view);
    void Copy(QAbstractItemView* view, bool byShortcut);
    std::unique_ptr<MainForm> m_form;
};

void TstClipboard::initTestCase()
{
    m_form = std::make_unique<MainForm>();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
}

void TstClipboard::init()
{
    QApplication::clipboard()->setText(untouched);
}

QAbstractItemView* TstClipboard::View(const QString& name) const
{
    return m_form->findChild<QAbstractItemView*>(name);
}

void TstClipboard::ShowPage(QAbstractItemView* view)
{
    Ui::OctetryMainForm* ui = m_form->GetUi();
    if (view == ui->subnetsTableView) {
        ui->tabWidget->setCurrentWidget(ui->subnetsTab);
        TypeOver(ui->subnetsAddressEdit, "172.16.5.9");
    } else if (view == ui->cidrTableView) {
        ui->tabWidget->setCurrentWidget(ui->cidrTab);
        TypeOver(ui->cidrAddressEdit, "172.16.5.9");
        SelectComboText(ui->addressBlockMaskComboBox, "255.255.0.0   (/16)");
        SelectComboText(ui->cidrBitsComboBox, "4");
    } else {
        ui->tabWidget->setCurrentWidget(ui->ipv6Tab);
        TypeOver(ui->ipv6AddressEdit, "fe80::1");
    }
}

void TstClipboard::Copy(QAbstractItemView* view, bool byShortcut)
{
    if (byShortcut) {
        view->setFocus();
        QTest::keySequence(view, QKeySequence::Copy);
    } else {
        QAction* action = CopyAction(view);
        QVERIFY(action);
        QVERIFY(view->actions().contains(action));
        QCOMPARE(view->contextMenuPolicy(), Qt::ActionsContextMenu);
        QCOMPARE(action->text(), QStringLiteral("Copy"));
        action->trigger();
    }
}

void TstClipboard::viewsCopySelectedRows_data()
{
    QTest::addColumn<QString>("view");
    QTest::addColumn<bool>("byShortcut");
    for (const char* view : {"subnetsTableView", "cidrTableView", "ipv6AddressTypeTreeView"}) {
        QTest::addRow("%s by the copy shortcut", view) << view << true;
        QTest::addRow("%s by its Copy action", view) << view << false;
    }
}

void TstClipboard::viewsCopySelectedRows()
{
    QFETCH(QString, view);
    QFETCH(bool, byShortcut);
    QAbstractItemView* itemView = View(view);
    QVERIFY(itemView);
    ShowPage(itemView);
    const QAbstractItemModel* model = itemView->model();
    QVERIFY(model->rowCount() >= 3);

    // Selected out of order: the copy still follows the view's order.
    const QModelIndexList selected{model->index(2, 0), model->index(0, 0)};
    SelectRows(itemView, selected);
    Copy(itemView, byShortcut);
    const QString text = QApplication::clipboard()->text();
    QCOMPARE(text, ExpectedText(itemView, {model->index(0, 0), model->index(2, 0)}));
    QCOMPARE(text.count('\n'), 3);
}

void TstClipboard::cidrWindowEdges()
{
    // A /4 block cut into /31 routes has 2^27 of them, far more than the window.
    QTableView* view = ShowCidrRoutes(m_form.get(), "240.0.0.0   (/4)", "27");
    const QAbstractItemModel* model = view->model();
    QCOMPARE(model->rowCount(), 1 << 24);

    const int last = model->rowCount() - 1;
    SelectRows(view, {model->index(last, 0), model->index(0, 0), model->index(last - 1, 0)});
    Copy(view, true);
    QCOMPARE(QApplication::clipboard()->text(),
             QStringLiteral("Route\tAddress Range\n"
                            "9.0.0.0\t9.0.0.0 - 9.0.0.1\n"
                            "10.255.255.252\t10.255.255.252 - 10.255.255.253\n"
                            "10.255.255.254\t10.255.255.254 - 10.255.255.255\n"));
    // The rows are headed by their network indices, the window starting 2^23 before 10.0.0.1's route.
    QCOMPARE(model->headerData(0, Qt::Vertical).toLongLong(), (qlonglong(10) << 23) - (1 << 23));
    QCOMPARE(view->verticalHeader()->count(), 1 << 24);
}

void TstClipboard::subnetsWithoutRfc1878()
{
    Ui::OctetryMainForm* ui = m_form->GetUi();
    if (ui->actionAllowOneSubnetBit->isChecked())
        ui->actionAllowOneSubnetBit->trigger();
    QVERIFY(!MainForm::GetSettings()->GetAllowOneSubnetBit());
    ui->tabWidget->setCurrentWidget(ui->subnetsTab);
    TypeOver(ui->subnetsAddressEdit, "192.168.1.77");
    SelectComboText(ui->subnetBitsComboBox, "2");
    QTableView* view = ui->subnetsTableView;
    const QAbstractItemModel* model = view->model();
    // Of four subnets the all-zeros and all-ones ones are left out.
    QCOMPARE(model->rowCount(), 2);
    QCOMPARE(model->headerData(0, Qt::Vertical).toInt(), 1);

    SelectRows(view, {model->index(0, 0), model->index(1, 0)});
    Copy(view, false);
    const QStringList lines = QApplication::clipboard()->text().split('\n');
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines[1].split('\t').first(), QStringLiteral("192.168.1.64"));
    QCOMPARE(lines[2].split('\t').first(), QStringLiteral("192.168.1.128"));
    QCOMPARE(QApplication::clipboard()->text(), ExpectedText(view, {model->index(0, 0), model->index(1, 0)}));
}

void TstClipboard::nothingSelectedLeavesClipboard_data()
{
    viewsCopySelectedRows_data();
}

void TstClipboard::nothingSelectedLeavesClipboard()
{
    QFETCH(QString, view);
    QFETCH(bool, byShortcut);
    QAbstractItemView* itemView = View(view);
    ShowPage(itemView);
    itemView->selectionModel()->clearSelection();
    Copy(itemView, byShortcut);
    QCOMPARE(QApplication::clipboard()->text(), untouched);
}

void TstClipboard::manyRoutesCopy()
{
    QTableView* view = ShowCidrRoutes(m_form.get(), "255.0.0.0   (/8)", "24");
    const QAbstractItemModel* model = view->model();
    QCOMPARE(model->rowCount(), 1 << 24);
    view->selectionModel()->select(QItemSelection(model->index(0, 0), model->index(99999, 1)),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    Copy(view, true);
    QStringList lines = QApplication::clipboard()->text().split('\n');
    QCOMPARE(lines.takeLast(), QString());
    QCOMPARE(lines.size(), 100001);
    QCOMPARE(lines[1], QStringLiteral("10.0.0.0\tN/A"));
    // Route 99,999 of 10.0.0.0/8 in single addresses.
    QCOMPARE(lines.last(), QStringLiteral("10.1.134.159\tN/A"));
}

void TstClipboard::readOnlyFieldsCopy_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("byShortcut");
    for (const char* field : {"classAddressRangeEdit", "addressBlockRangeEdit", "classBitUsageEdit",
                              "subnetsBitUsageEdit", "cidrBitUsageEdit"}) {
        QTest::addRow("%s by the copy shortcut", field) << field << true;
        QTest::addRow("%s by its context menu", field) << field << false;
    }
}

void TstClipboard::readOnlyFieldsCopy()
{
    QFETCH(QString, field);
    QFETCH(bool, byShortcut);
    Ui::OctetryMainForm* ui = m_form->GetUi();
    TypeOver(ui->classesAddressEdit, "172.16.5.9");
    TypeOver(ui->subnetsAddressEdit, "172.16.5.9");
    TypeOver(ui->cidrAddressEdit, "172.16.5.9");

    QWidget* widget = m_form->findChild<QWidget*>(field);
    QVERIFY(widget);
    for (QWidget* page = widget->parentWidget(); page; page = page->parentWidget())
        if (ui->tabWidget->indexOf(page) >= 0)
            ui->tabWidget->setCurrentWidget(page);

    QString shown;
    std::unique_ptr<QMenu> menu;
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        QVERIFY(edit->isReadOnly());
        edit->selectAll();
        shown = edit->text();
        menu.reset(edit->createStandardContextMenu());
    } else {
        auto* browser = qobject_cast<QTextBrowser*>(widget);
        QVERIFY(browser);
        browser->selectAll();
        shown = browser->toPlainText();
        menu.reset(browser->createStandardContextMenu());
    }
    QVERIFY(!shown.isEmpty());
    if (byShortcut) {
        widget->setFocus();
        QTest::keySequence(widget, QKeySequence::Copy);
    } else {
        QAction* copy = nullptr;
        for (QAction* action : menu->actions())
            if (action->text().remove('&').startsWith(QStringLiteral("Copy")) && !copy)
                copy = action;
        QVERIFY(copy);
        QVERIFY(copy->isEnabled());
        copy->trigger();
    }
    QCOMPARE(QApplication::clipboard()->text(), shown);
}

void TstClipboard::cleanupTestCase()
{
    m_form.reset();
}

int main(int argc, char** argv)
{
    TestEnvironment env;
    QApplication app(argc, argv);
    BrandingUtil::SetApplicationIdentity();
    TstClipboard test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_clipboard.moc"
