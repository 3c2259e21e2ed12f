// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controllers/ipv6tabcontroller.h"

#include "address/addressregistry.h"
#include "address/ipv4address.h"
#include "address/ipv6address.h"
#include "controllers/tabcontrollerutil.h"
#include "ipv6/ipv6addresstypes.h"
#include "settings/octetrysettings.h"
#include "ui_octetrymainform.h"
#include "widgets/ipv6fieldscene.h"

#include <QEvent>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QStringList>
#include <QToolButton>
#include <QTreeView>

#include <initializer_list>

namespace {
// Room left at the right of a picture that has been shrunk to the view.
constexpr qreal kFitMargin = 0.02;

// How each kind of embedded IPv4 address is written, %1 the address and %2 the port, by
// AddressRegistry::Embedding; none, a bare address, where the address space already names the
// kind, so that it copies as it is.
constexpr const char* kEmbeddingTexts[] = {
    nullptr,
    QT_TRANSLATE_NOOP("IPv6TabController", "%1 (IPv4-compatible, deprecated)"),
    nullptr,
    QT_TRANSLATE_NOOP("IPv6TabController", "%1 (ISATAP)"),
    QT_TRANSLATE_NOOP("IPv6TabController", "server %1"),
    QT_TRANSLATE_NOOP("IPv6TabController", "client %1 port %2"),
    nullptr,
};
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

    TabControllerUtil::ShowFact(ui->ipv6EmbeddedIPv4Label, ui->ipv6EmbeddedIPv4Edit,
                                EmbeddedIPv4Text(address).toStdString());

    // The two never apply together: one row shows whichever does.
    QString derivedLabel = tr("&EUI-64 MAC");
    std::string derived;
    AddressRegistry::MacAddress mac{};
    if (AddressRegistry::GetMulticastMacAddress(address, mac)) {
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

QString IPv6TabController::EmbeddedIPv4Text(const IPv6Address& address)
{
    QStringList texts;
    for (const AddressRegistry::EmbeddedIPv4& embedded : AddressRegistry::EmbeddedIPv4Addresses(address)) {
        const QString ipv4 = QString::fromStdString(embedded.address.ToString(IPv4Address::DottedDecimal));
        const char* form = kEmbeddingTexts[static_cast<int>(embedded.embedding)];
        const QString text = form == nullptr ? ipv4 : tr(form).arg(ipv4);
        texts << (embedded.port < 0 ? text : text.arg(embedded.port));
    }
    return texts.join(QStringLiteral(", "));
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
        m_scene = IPv6FieldScene::Create(m_picture, QGuiApplication::palette(), this);
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
