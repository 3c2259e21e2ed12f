#include "controllers/ipv6tabcontroller.h"

#include "address/addressregistry.h"
#include "address/ipv4address.h"
#include "address/ipv6address.h"
#include "controllers/tabcontrollerutil.h"
#include "ipv6/ipv6addresstypes.h"
#include "settings/octetrysettings.h"
#include "ui_octetrymainform.h"
#include "widgets/themecolors.h"

#include <QEvent>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QGraphicsView>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPalette>
#include <QPen>
#include <QToolButton>
#include <QTreeView>

#include <initializer_list>

namespace {
// Room left at the right of a picture that has been shrunk to the view.
constexpr qreal kFitMargin = 0.02;

// How a dark palette draws a role of the picture: its colour mixed with a share
// of the text colour, so the boxes stand a little off the page; a light palette
// keeps the classic grey boxes.
struct PictureColor
{
    QColor light; // invalid: the palette's text colour
    QPalette::ColorRole dark;
    qreal textShare;
};

// By IPv6FieldPicture::ColorRole.
const PictureColor pictureColors[] = {
    {},                                           // NoColor
    {QColor(Qt::gray), QPalette::Shadow, 0},      // ShadowColor
    {QColor(Qt::white), QPalette::Base, 0.25},    // BoxTopColor
    {QColor(Qt::lightGray), QPalette::Base, 0.1}, // BoxBottomColor
    {QColor(Qt::black), QPalette::Base, 0.55},    // OutlineColor
    {QColor(), QPalette::Text, 0},                // TextColor
};

QColor Mix(const QColor& color, const QColor& other, qreal share)
{
    return QColor::fromRgbF(color.redF() + (other.redF() - color.redF()) * share,
                            color.greenF() + (other.greenF() - color.greenF()) * share,
                            color.blueF() + (other.blueF() - color.blueF()) * share);
}

QColor ColorOf(IPv6FieldPicture::ColorRole role, const QPalette& palette)
{
    const PictureColor& color = pictureColors[role];
    const QColor text = palette.color(QPalette::Text);
    if (!ThemeColors::IsDark(palette))
        return color.light.isValid() ? color.light : text;
    if (role != IPv6FieldPicture::TextColor)
        return Mix(palette.color(color.dark), text, color.textShare);
    // Texts lie on the boxes and on the view's base colour.
    return ThemeColors::Legible(text,
                                {ColorOf(IPv6FieldPicture::BoxTopColor, palette),
                                 ColorOf(IPv6FieldPicture::BoxBottomColor, palette), palette.color(QPalette::Base)});
}

QGraphicsRectItem* CreateBox(const IPv6FieldPicture::Box& box, const QPalette& palette)
{
    QGraphicsRectItem* item = new QGraphicsRectItem(box.rect);
    if (box.fillTop != box.fillBottom) {
        QLinearGradient gradient(box.rect.topLeft(), box.rect.bottomLeft());
        gradient.setColorAt(0, ColorOf(box.fillTop, palette));
        gradient.setColorAt(1, ColorOf(box.fillBottom, palette));
        item->setBrush(gradient);
    } else if (box.fillTop != IPv6FieldPicture::NoColor) {
        item->setBrush(ColorOf(box.fillTop, palette));
    }
    item->setPen(box.outline != IPv6FieldPicture::NoColor ? QPen(ColorOf(box.outline, palette)) : QPen(Qt::NoPen));
    return item;
}

QGraphicsTextItem* CreateText(const IPv6FieldPicture::Text& text, const QPalette& palette,
                              QGraphicsItem* parent = nullptr)
{
    QGraphicsTextItem* item = new QGraphicsTextItem(parent);
    IPv6FieldPicture::LayOut(item->document(), text);
    item->setPos(text.rect.topLeft());
    item->setDefaultTextColor(ColorOf(text.color, palette));
    return item;
}

} // namespace

IPv6TabController::IPv6TabController(const ControllerContext& context)
    : TabController(context),
      m_addressEntry(this, GetUi()->ipv6AddressEdit)
{
}

// The scene is a child of the controller; the view may already be gone here.
IPv6TabController::~IPv6TabController() = default;

QWidget* IPv6TabController::GetTabPage()
{
    return GetUi()->ipv6Tab;
}

bool IPv6TabController::eventFilter(QObject* object, QEvent* event)
{
    if (object == GetUi()->ipv6GraphicsView && event->type() == QEvent::Resize)
        FitPicture();
    // The desktop switched theme: the same picture in the new colours.
    if (object == GetUi()->ipv6GraphicsView && event->type() == QEvent::PaletteChange)
        ShowPicture();
    return false;
}

QList<QObject*> IPv6TabController::GetBlockedWidgets()
{
    return {GetUi()->ipv6AddressEdit};
}

void IPv6TabController::InitializeView()
{
    Ui::OctetryMainForm* ui = GetUi();
    connect(ui->ipv6AddressEdit, &QLineEdit::textChanged, this, &IPv6TabController::on_ipv6AddressEdit_textChanged);
    connect(ui->ipv6AddressEdit, &QLineEdit::editingFinished, this,
            &IPv6TabController::on_ipv6AddressEdit_editingFinished);
    TabControllerUtil::SetupSystemAddressButton(ui->ipv6AddressToolButton, false);

    QTreeView* treeView = ui->ipv6AddressTypeTreeView;
    treeView->setModel(&m_typeModel);
    TabControllerUtil::KeepSelectionColors(treeView);
    connect(treeView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &IPv6TabController::on_ipv6AddressTypeTreeView_selectionChanged);
    ui->ipv6GraphicsView->installEventFilter(this);
}

void IPv6TabController::DoUpdateView(QWidget* source)
{
    Ui::OctetryMainForm* ui = GetUi();
    const IPv6Address& address = GetSettings()->GetIPv6Address();
    const bool valid = address.IsValid();

    if (source != ui->ipv6AddressEdit)
        m_addressEntry.ShowAddress();

    for (QWidget* widget : std::initializer_list<QWidget*>{ui->ipv6AddressTypeLabel, ui->ipv6AddressTypeTreeView,
                                                           ui->ipv6AddressFormatLabel, ui->ipv6GraphicsView})
        widget->setEnabled(valid);

    ShowDetails(address);
    const IPv6AddressTypeNode* addressType = valid ? FindIPv6AddressType(address) : nullptr;

    QTreeView* treeView = ui->ipv6AddressTypeTreeView;
    QItemSelectionModel* selectionModel = treeView->selectionModel();
    if (source != treeView) {
        if (addressType != nullptr) {
            const QModelIndex index = m_typeModel.IndexOf(addressType);
            selectionModel->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            treeView->scrollTo(index, QAbstractItemView::EnsureVisible);
        } else {
            selectionModel->clearSelection();
        }
    }

    if (!m_treePrepared) {
        treeView->expandAll();
        for (int column = 0; column < m_typeModel.columnCount(); ++column)
            treeView->resizeColumnToContents(column);
        m_treePrepared = true;
    }

    const IPv6AddressTypeNode* drawnType =
        source == treeView ? IPv6AddressTypeModel::NodeOf(selectionModel->currentIndex()) : addressType;
    m_picture = valid && drawnType != nullptr ? IPv6FieldPicture(drawnType->GetFields(), address) : IPv6FieldPicture();
    ShowPicture();
}

void IPv6TabController::ShowDetails(const IPv6Address& address)
{
    Ui::OctetryMainForm* ui = GetUi();
    TabControllerUtil::ShowFact(ui->ipv6AddressSpaceLabel, ui->ipv6AddressSpaceEdit,
                                AddressRegistry::IPv6AddressSpace(address),
                                AddressRegistry::IPv6AddressSpaceDetails(address));

    // The three never apply together: one row shows whichever does.
    QString derivedLabel = tr("&EUI-64 MAC");
    std::string derived;
    AddressRegistry::MacAddress mac{};
    const IPv4Address ipv4 = AddressRegistry::TranslatedIPv4Address(address);
    if (ipv4.IsValid()) {
        derivedLabel = tr("&Embedded IPv4");
        derived = ipv4.ToString(IPv4Address::DottedDecimal);
    } else if (AddressRegistry::GetMulticastMacAddress(address, mac)) {
        derivedLabel = tr("&Ethernet Multicast");
        derived = AddressRegistry::MacAddressText(mac);
    } else if (AddressRegistry::GetEui64MacAddress(address, mac)) {
        derived = AddressRegistry::MacAddressText(mac);
    }
    ui->ipv6DerivedLabel->setText(derivedLabel);
    TabControllerUtil::ShowFact(ui->ipv6DerivedLabel, ui->ipv6DerivedEdit, derived);

    TabControllerUtil::ShowFact(
        ui->ipv6SolicitedNodeLabel, ui->ipv6SolicitedNodeEdit,
        AddressRegistry::SolicitedNodeAddress(address).ToString(IPv6Address::CompressedNotation));
    const std::string reverseName = address.IsValid() ? AddressRegistry::ReverseDnsName(address) : std::string();
    TabControllerUtil::ShowFact(ui->ipv6ReverseDnsLabel, ui->ipv6ReverseDnsEdit, reverseName, reverseName);
}

bool IPv6TabController::IsSettingRelevant(OctetrySettings::Setting setting)
{
    return setting == OctetrySettings::IPv6AddressSetting;
}

void IPv6TabController::on_ipv6AddressEdit_textChanged(const QString& text)
{
    m_addressEntry.OnTextChanged(text);
}

void IPv6TabController::on_ipv6AddressEdit_editingFinished()
{
    m_addressEntry.OnEditingFinished();
}

void IPv6TabController::on_ipv6AddressTypeTreeView_selectionChanged(const QItemSelection& selected,
                                                                    const QItemSelection& deselected)
{
    if (IsUpdating() || m_restoringSelection || deselected.isEmpty() || selected.isEmpty())
        return;
    const IPv6AddressTypeNode* node = IPv6AddressTypeModel::NodeOf(selected.first().topLeft());
    if (node == nullptr)
        return;

    QTreeView* treeView = GetUi()->ipv6AddressTypeTreeView;
    if (node->IsAbstract()) {
        m_restoringSelection = true;
        treeView->selectionModel()->select(deselected, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_restoringSelection = false;
        return;
    }

    IPv6Address address = GetSettings()->GetIPv6Address();
    // The tree is disabled without an address, so there is no prefix to write into.
    if (!address.IsValid())
        return;
    node->GetPattern().ApplyTo(address);
    const ChangeSource changeSource(this, treeView);
    GetSettings()->SetIPv6Address(address);
    // The setting stays silent when the prefix was already there; the chosen type is drawn anyway.
    UpdateView();
}

void IPv6TabController::ShowPicture()
{
    QGraphicsView* view = GetUi()->ipv6GraphicsView;
    view->setScene(nullptr);
    delete m_scene;
    m_scene = nullptr;
    if (!m_picture.GetFields().empty()) {
        const QPalette palette = QGuiApplication::palette();
        m_scene = new QGraphicsScene(this);
        for (const IPv6FieldPicture::Field& field : m_picture.GetFields()) {
            QGraphicsRectItem* shadow = CreateBox(field.shadow, palette);
            QGraphicsRectItem* box = CreateBox(field.box, palette);
            shadow->setZValue(0);
            box->setZValue(1);
            CreateText(field.value, palette, box);
            m_scene->addItem(shadow);
            m_scene->addItem(box);
            m_scene->addItem(CreateText(field.bits, palette));
            m_scene->addItem(CreateText(field.name, palette));
        }
        view->setScene(m_scene);
    }
    FitPicture();
}

void IPv6TabController::FitPicture()
{
    QGraphicsView* view = GetUi()->ipv6GraphicsView;
    view->resetTransform();
    const qreal sceneWidth = m_scene != nullptr ? m_scene->sceneRect().width() : 0;
    if (sceneWidth > 0) {
        const qreal scale = view->width() / sceneWidth - kFitMargin;
        if (scale < 1)
            view->scale(scale, scale);
    }
    // A new size hint lays the page out again and repaints all of it; the same
    // hint, as for most addresses, would only repaint it for nothing.
    if (view->sizeHint() != m_pictureSizeHint) {
        m_pictureSizeHint = view->sizeHint();
        view->updateGeometry();
    }
}
