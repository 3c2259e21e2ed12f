#include "common/testenvironment.h"

#include "address/ipv6address.h"
#include "app/brandingutil.h"
#include "app/mainform.h"
#include "controllers/ipv6addresstypemodel.h"
#include "ipv6/ipv6addresstypes.h"
#include "settings/octetrysettings.h"

#include <QAction>
#include <QApplication>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QGraphicsView>
#include <QHostInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace
{
// One drawn field: the texts above, inside and below its box.
struct DrawnField
{
    QString bits;
    QString value;
    QString name;

    bool operator==(const DrawnField& other) const = default;
};

char* toString(const DrawnField& field)
{
    return QTest::toString(QString("(%1 | %2 | %3)").arg(field.bits, field.value, field.name));
}

using DrawnFields = QList<DrawnField>;

// Closes every message box that comes up while it lives and keeps title and text.
class MessageBoxCatcher : public QObject
{
public:
    MessageBoxCatcher()
    {
        connect(&timer, &QTimer::timeout, this, [this] {
            if (QMessageBox* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            {
                titles << box->windowTitle();
                texts << box->text();
                box->done(QMessageBox::Ok);
            }
        });
        timer.start(10);
    }

    QStringList titles;
    QStringList texts;

private:
    QTimer timer;
};

void TypeOver(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Delete);
    else
        QTest::keyClicks(edit, text);
}

QString StoredAddress()
{
    return QString::fromStdString(
        OctetrySettings::Instance()->GetIPv6Address().ToString(IPv6Address::CompressedNotation));
}

template <class Item>
QList<Item*> ItemsOf(const QGraphicsScene* scene, qreal zValue = -1)
{
    QList<Item*> items;
    for (QGraphicsItem* item : scene->items())
        if (Item* typed = dynamic_cast<Item*>(item); typed != nullptr && (zValue < 0 || item->zValue() == zValue))
            items << typed;
    std::sort(items.begin(), items.end(),
              [](const Item* a, const Item* b) { return a->sceneBoundingRect().x() < b->sceneBoundingRect().x(); });
    return items;
}
} // namespace

class TstIPv6TabController : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void firstShowingExpandsTheTreeAndReplacesTheFormText();
    void typedAddressSelectsItsTypeAndDrawsItsFields_data();
    void typedAddressSelectsItsTypeAndDrawsItsFields();
    void boxesFormOneShadedBar();
    void choosing6to4WritesItsPrefix();
    void choosingALessSpecificTypeKeepsTheAddress();
    void abstractRowsCannotBeSelected_data();
    void abstractRowsCannotBeSelected();
    void leavingTheEditRewritesTheCompressedForm();
    void mistypedAddressWithColonIsLeftAlone();
    void hostNameWithoutIPv6AnswerWarns();
    void emptyEditLooksUpTheEmptyName();
    void pictureShrinksToANarrowViewOnly();
    void laterUpdatesKeepTheUsersTreeLayout();
    void updatesNotFromTheEditRewriteIt();

private:
    QModelIndex RowOfType(int typeID) const;
    QString SelectedTypeName() const;
    DrawnFields Drawn() const;
    void ClickRow(const QModelIndex& index);

    std::unique_ptr<MainForm> form;
    Ui::OctetryMainForm* ui = nullptr;
    QString addressBeforeShowing;
};

QModelIndex TstIPv6TabController::RowOfType(int typeID) const
{
    const auto* model = static_cast<const IPv6AddressTypeModel*>(ui->ipv6AddressTypeTreeView->model());
    std::function<QModelIndex(const QModelIndex&)> find = [&](const QModelIndex& parent) {
        for (int row = 0; row < model->rowCount(parent); ++row)
        {
            const QModelIndex index = model->index(row, 0, parent);
            if (IPv6AddressTypeModel::NodeOf(index)->GetTypeID() == typeID)
                return index;
            if (const QModelIndex found = find(index); found.isValid())
                return found;
        }
        return QModelIndex();
    };
    return find(QModelIndex());
}

QString TstIPv6TabController::SelectedTypeName() const
{
    const QModelIndexList rows = ui->ipv6AddressTypeTreeView->selectionModel()->selectedRows();
    QStringList names;
    for (const QModelIndex& row : rows)
        names << row.data().toString() + "#" + QString::number(IPv6AddressTypeModel::NodeOf(row)->GetTypeID());
    return names.join(", ");
}

DrawnFields TstIPv6TabController::Drawn() const
{
    DrawnFields fields;
    const QGraphicsScene* scene = ui->ipv6GraphicsView->scene();
    if (scene == nullptr)
        return fields;
    for (QGraphicsRectItem* box : ItemsOf<QGraphicsRectItem>(scene, 1))
    {
        DrawnField field;
        const QRectF rect = box->sceneBoundingRect();
        for (QGraphicsTextItem* text : ItemsOf<QGraphicsTextItem>(scene))
        {
            const QRectF textRect = text->sceneBoundingRect();
            if (textRect.center().x() < rect.left() || textRect.center().x() > rect.right())
                continue;
            if (text->parentItem() == box)
                field.value = text->toPlainText();
            else if (textRect.bottom() <= 0)
                field.bits = text->toPlainText();
            else
                field.name = text->toPlainText();
        }
        fields << field;
    }
    return fields;
}

void TstIPv6TabController::ClickRow(const QModelIndex& index)
{
    QTreeView* tree = ui->ipv6AddressTypeTreeView;
    tree->scrollTo(index);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(index).center());
}

void TstIPv6TabController::initTestCase()
{
    form = std::make_unique<MainForm>();
    ui = form->GetUi();
    form->resize(900, 700);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QVERIFY(ui->tabWidget->currentWidget() != ui->ipv6Tab);
}

void TstIPv6TabController::init()
{
    // That test watches the page being shown for the first time.
    if (QTest::currentTestFunction() == QByteArray("firstShowingExpandsTheTreeAndReplacesTheFormText"))
        return;
    ui->tabWidget->setCurrentWidget(ui->ipv6Tab);
    TypeOver(ui->ipv6AddressEdit, "FE80::1");
}

void TstIPv6TabController::cleanupTestCase()
{
    form.reset();
}

void TstIPv6TabController::firstShowingExpandsTheTreeAndReplacesTheFormText()
{
    QTreeView* tree = ui->ipv6AddressTypeTreeView;
    const QModelIndex unicast = RowOfType(2);
    QCOMPARE(ui->ipv6AddressEdit->text(), QString("0000:0000:0000:0000:0000:0000:0000:0000"));
    QVERIFY(!tree->isExpanded(unicast));
    const int widthsBefore[] = {tree->columnWidth(0), tree->columnWidth(1)};

    ui->tabWidget->setCurrentWidget(ui->ipv6Tab);
    // The stored address (from the machine, or none) replaces the form's zeros.
    QCOMPARE(ui->ipv6AddressEdit->text(), StoredAddress());
    for (int typeID : {2, 3, 7, 8, 11, 12, 15, 16, 19, 24})
        QVERIFY2(tree->isExpanded(RowOfType(typeID)), qPrintable(QString::number(typeID)));
    // A tree sized to its contents the same way gives the same column widths.
    QTreeView reference;
    reference.setModel(tree->model());
    reference.setIndentation(tree->indentation());
    reference.setUniformRowHeights(true);
    reference.expandAll();
    // The last column stretches to the view's edge whatever its contents.
    for (int column = 0; column < 2; ++column)
    {
        reference.resizeColumnToContents(column);
        QCOMPARE(tree->columnWidth(column), reference.columnWidth(column));
        QVERIFY(tree->columnWidth(column) != widthsBefore[column]);
    }
}

void TstIPv6TabController::typedAddressSelectsItsTypeAndDrawsItsFields_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("type");
    QTest::addColumn<DrawnFields>("fields");

    QTest::newRow("FE80::1 is 6over4")
        << "FE80::1" << "6over4#4"
        << DrawnFields{{"10 bits", "0xFE80", "Link-Local Prefix"},
                       {"86 bits", "0", "6over4 Constant"},
                       {"32 bits", "0.0.0.1", "IPv4 Address"}};
    QTest::newRow("FF02::1 is the link-local All Nodes")
        << "ff02::1" << "All Nodes#20"
        << DrawnFields{{"8 bits", "0xFF", "Multicast Prefix"},
                       {"4 bits", "....2", "Flags"},
                       {"4 bits", "0x2", "Link-Local Scope"},
                       {"112 bits", "0000:0000:0000:0000:0000:0000:0001", "All Nodes Group ID"}};
}

void TstIPv6TabController::typedAddressSelectsItsTypeAndDrawsItsFields()
{
    QFETCH(QString, address);
    QFETCH(QString, type);
    QFETCH(DrawnFields, fields);

    TypeOver(ui->ipv6AddressEdit, address);
    QCOMPARE(ui->ipv6AddressEdit->text(), address);
    QCOMPARE(SelectedTypeName(), type);
    QCOMPARE(Drawn(), fields);
    for (QWidget* widget : std::initializer_list<QWidget*>{ui->ipv6AddressTypeLabel, ui->ipv6AddressTypeTreeView,
                                                           ui->ipv6AddressFormatLabel, ui->ipv6GraphicsView})
        QVERIFY(widget->isEnabled());
}

void TstIPv6TabController::boxesFormOneShadedBar()
{
    const QGraphicsScene* scene = ui->ipv6GraphicsView->scene();
    const QList<QGraphicsRectItem*> boxes = ItemsOf<QGraphicsRectItem>(scene, 1);
    const QList<QGraphicsRectItem*> shadows = ItemsOf<QGraphicsRectItem>(scene, 0);
    QCOMPARE(boxes.size(), 3);
    QCOMPARE(shadows.size(), 3);
    qreal x = 0;
    for (int i = 0; i < boxes.size(); ++i)
    {
        QCOMPARE(boxes[i]->rect().x(), x);
        QCOMPARE(boxes[i]->rect().height(), 32.0);
        QCOMPARE(shadows[i]->rect(), boxes[i]->rect().translated(3, 3));
        QCOMPARE(shadows[i]->pen().style(), Qt::NoPen);
        QCOMPARE(shadows[i]->brush().color(), QColor(Qt::gray));
        const QGradient* gradient = boxes[i]->brush().gradient();
        QVERIFY(gradient != nullptr);
        QCOMPARE(gradient->stops().first().second, QColor(Qt::white));
        QCOMPARE(gradient->stops().last().second, QColor(Qt::lightGray));
        x = boxes[i]->rect().right();
    }
    // 4 units per bit and 4 of padding per box: the 86-bit constant is 348 wide.
    QCOMPARE(boxes[1]->rect().width(), 348.0);
}

void TstIPv6TabController::choosing6to4WritesItsPrefix()
{
    ClickRow(RowOfType(14));
    QCOMPARE(StoredAddress(), QString("2002::1"));
    QCOMPARE(ui->ipv6AddressEdit->text(), QString("2002::1"));
    QCOMPARE(SelectedTypeName(), QString("6to4#14"));
    QCOMPARE(Drawn(), (DrawnFields{{"16 bits", "2002", "6to4 Prefix"},
                                   {"32 bits", "0.0.0.0", "IPv4 Address"},
                                   {"16 bits", "0x0000", "Subnet ID"},
                                   {"64 bits", "00:00:00:00:00:00:00:01", "EUI-64 Interface ID"}}));
}

void TstIPv6TabController::choosingALessSpecificTypeKeepsTheAddress()
{
    const DrawnFields linkLocal{{"10 bits", "0xFE80", "Link-Local Prefix"},
                                {"54 bits", "0", "Unused"},
                                {"64 bits", "00:00:00:00:00:00:00:01", "EUI-64 Interface ID"}};
    ClickRow(RowOfType(3));
    QCOMPARE(StoredAddress(), QString("FE80::1"));
    QCOMPARE(ui->ipv6AddressEdit->text(), QString("FE80::1"));
    QCOMPARE(SelectedTypeName(), QString("Link-Local#3"));
    QCOMPARE(Drawn(), linkLocal);

    // An update the tree did not cause goes back to the best type.
    QTest::keyClick(ui->ipv6AddressEdit, Qt::Key_End);
    QTest::keyClicks(ui->ipv6AddressEdit, "2");
    QCOMPARE(StoredAddress(), QString("FE80::12"));
    QCOMPARE(SelectedTypeName(), QString("6over4#4"));
    QCOMPARE(Drawn().size(), 3);
    QCOMPARE(Drawn()[1].name, QString("6over4 Constant"));
}

void TstIPv6TabController::abstractRowsCannotBeSelected_data()
{
    QTest::addColumn<int>("typeID");
    QTest::newRow("Unicast") << 2;
    QTest::newRow("unicast Global") << 7;
}

void TstIPv6TabController::abstractRowsCannotBeSelected()
{
    QFETCH(int, typeID);
    QItemSelectionModel* selection = ui->ipv6AddressTypeTreeView->selectionModel();

    ClickRow(RowOfType(typeID));
    QCOMPARE(SelectedTypeName(), QString("6over4#4"));

    // A selection forced onto the row is put back.
    selection->setCurrentIndex(RowOfType(typeID), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QCOMPARE(selection->selectedIndexes().size(), 3);
    QCOMPARE(SelectedTypeName(), QString("6over4#4"));
    QCOMPARE(StoredAddress(), QString("FE80::1"));
    QCOMPARE(Drawn().size(), 3);
}

void TstIPv6TabController::leavingTheEditRewritesTheCompressedForm()
{
    TypeOver(ui->ipv6AddressEdit, "fe80:0:0::1");
    QCOMPARE(ui->ipv6AddressEdit->text(), QString("fe80:0:0::1"));
    QTest::keyClick(ui->ipv6AddressEdit, Qt::Key_Return);
    QCOMPARE(ui->ipv6AddressEdit->text(), QString("FE80::1"));
}

void TstIPv6TabController::mistypedAddressWithColonIsLeftAlone()
{
    MessageBoxCatcher catcher;
    TypeOver(ui->ipv6AddressEdit, "1:2");
    QTest::keyClick(ui->ipv6AddressEdit, Qt::Key_Return);
    QCOMPARE(catcher.titles, QStringList());
    QCOMPARE(ui->ipv6AddressEdit->text(), QString("1:2"));
    QVERIFY(!OctetrySettings::Instance()->GetIPv6Address().IsValid());
    QVERIFY(!ui->ipv6AddressTypeTreeView->isEnabled());
    QVERIFY(!ui->ipv6GraphicsView->isEnabled());
    QVERIFY(!ui->ipv6AddressTypeLabel->isEnabled());
    QVERIFY(!ui->ipv6AddressFormatLabel->isEnabled());
    QVERIFY(ui->ipv6AddressEdit->isEnabled());
    QCOMPARE(SelectedTypeName(), QString());
    QVERIFY(ui->ipv6GraphicsView->scene() == nullptr);
}

void TstIPv6TabController::hostNameWithoutIPv6AnswerWarns()
{
    const QHostInfo answer = QHostInfo::fromName("localhost");
    QString firstIPv6;
    for (const QHostAddress& address : answer.addresses())
        if (address.protocol() == QAbstractSocket::IPv6Protocol && firstIPv6.isEmpty())
            firstIPv6 = QString::fromStdString(
                IPv6Address(address.toIPv6Address()).ToString(IPv6Address::CompressedNotation));

    MessageBoxCatcher catcher;
    TypeOver(ui->ipv6AddressEdit, "localhost");
    QTest::keyClick(ui->ipv6AddressEdit, Qt::Key_Return);
    if (!firstIPv6.isEmpty())
    {
        QCOMPARE(catcher.titles, QStringList());
        QCOMPARE(ui->ipv6AddressEdit->text(), firstIPv6);
        QSKIP("localhost has an IPv6 entry here; the warning could not be shown");
    }
    QCOMPARE(catcher.titles, QStringList("IPv6 Resolve Failed"));
    QCOMPARE(catcher.texts, QStringList(answer.error() == QHostInfo::NoError
                                            ? QString("No IPv6 addresses are available for this host name")
                                            : answer.errorString()));
    QCOMPARE(ui->ipv6AddressEdit->text(), QString("localhost"));
    QVERIFY(!OctetrySettings::Instance()->GetIPv6Address().IsValid());
}

void TstIPv6TabController::emptyEditLooksUpTheEmptyName()
{
    MessageBoxCatcher catcher;
    TypeOver(ui->ipv6AddressEdit, QString());
    QTest::keyClick(ui->ipv6AddressEdit, Qt::Key_Return);
    QCOMPARE(catcher.titles, QStringList("IPv6 Resolve Failed"));
    QCOMPARE(catcher.texts, QStringList(QHostInfo::fromName(QString()).errorString()));
    QCOMPARE(ui->ipv6AddressEdit->text(), QString());
}

void TstIPv6TabController::pictureShrinksToANarrowViewOnly()
{
    QGraphicsView* view = ui->ipv6GraphicsView;
    const qreal barWidth = view->scene()->sceneRect().width();
    QVERIFY(barWidth > 500);

    view->resize(250, view->height());
    QCOMPARE(view->transform().m11(), 250 / barWidth - 0.02);
    QCOMPARE(view->transform().m22(), 250 / barWidth - 0.02);

    view->resize(int(barWidth) + 50, view->height());
    QVERIFY(view->transform().isIdentity());

    // Every update fits the new picture to the view as it is.
    view->resize(300, view->height());
    TypeOver(ui->ipv6AddressEdit, "FF02::1");
    QCOMPARE(view->transform().m11(), 300 / view->scene()->sceneRect().width() - 0.02);
}

void TstIPv6TabController::laterUpdatesKeepTheUsersTreeLayout()
{
    QTreeView* tree = ui->ipv6AddressTypeTreeView;
    tree->collapse(RowOfType(15));
    tree->setColumnWidth(0, 41);
    TypeOver(ui->ipv6AddressEdit, "FE80::5EFE:C0A8:101");
    QCOMPARE(SelectedTypeName(), QString("ISATAP#5"));
    QVERIFY(!tree->isExpanded(RowOfType(15)));
    QCOMPARE(tree->columnWidth(0), 41);
    tree->expand(RowOfType(15));
}

void TstIPv6TabController::updatesNotFromTheEditRewriteIt()
{
    TypeOver(ui->ipv6AddressEdit, "fe80::0:1");
    OctetrySettings::Instance()->SetIPv6Address(IPv6Address(std::string("ff02:0::2")));
    QCOMPARE(ui->ipv6AddressEdit->text(), QString("FF02::2"));
    QCOMPARE(SelectedTypeName(), QString("All Routers#21"));

    OctetrySettings::Instance()->SetIPv6Address(IPv6Address());
    QCOMPARE(ui->ipv6AddressEdit->text(), QString());
    QCOMPARE(SelectedTypeName(), QString());

    const QList<QAction*> actions = ui->ipv6AddressToolButton->menu()->actions();
    if (actions.isEmpty())
    {
        QVERIFY(!ui->ipv6AddressToolButton->isEnabled());
        return;
    }
    TypeOver(ui->ipv6AddressEdit, "fe80::0:1");
    actions.first()->trigger();
    QCOMPARE(ui->ipv6AddressEdit->text(), actions.first()->text());
}

int main(int argc, char** argv)
{
    TestEnvironment environment;
    QApplication app(argc, argv);
    BrandingUtil::SetApplicationIdentity();
    TstIPv6TabController test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ipv6tabcontroller.moc"
