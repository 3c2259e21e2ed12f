// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "controllers/ipv6addressentry.h"
#include "controllers/tabcontroller.h"
#include "models/ipv6addresstypemodel.h"
#include "widgets/ipv6fieldpicture.h"

#include <QSize>

class IPv6Address;
class IPv6AddressTypeNode;
class QGraphicsScene;
class QItemSelection;

// The IPv6 page: the address's type selected in the type tree and a picture
// of the type's fields; choosing a type writes its prefix into the address.
class IPv6TabController : public TabController
{
    Q_OBJECT

public:
    explicit IPv6TabController(const ControllerContext& context);
    ~IPv6TabController() override;

    // The ipv6Tab page.
    QWidget* GetTabPage() override;
    // Refits the picture whenever the graphics view is resized and redraws it in
    // a new palette; never consumes the event.
    bool eventFilter(QObject* object, QEvent* event) override;
    // The picture drawn last; without fields when none is drawn.
    const IPv6FieldPicture& GetPicture() const { return m_picture; }

protected:
    // ipv6AddressEdit alone.
    QList<QObject*> GetBlockedWidgets() override;
    // Connects the edit and the tree, sets up the system-address button and the model.
    void InitializeView() override;
    // Shows the stored address, selects its type and redraws the picture.
    void DoUpdateView(QWidget* source) override;
    // Only the IPv6 address concerns this page.
    bool IsSettingRelevant(OctetrySettings::Setting setting) override;

private slots:
    void on_ipv6AddressEdit_textChanged(const QString& text);
    void on_ipv6AddressEdit_editingFinished();
    void on_ipv6AddressTypeTreeView_selectionChanged(const QItemSelection& selected, const QItemSelection& deselected);

private:
    // What the registries say about the address, and the names and addresses derived from it.
    void ShowDetails(const IPv6Address& address);
    // The IPv4 addresses inside address, as "192.0.2.1" or "server 65.54.227.120, client 192.0.2.45 port 40000".
    [[nodiscard]] static QString EmbeddedIPv4Text(const IPv6Address& address);
    // Draws m_picture in the application palette's colours, in a new scene, and fits it.
    void ShowPicture();
    void FitPicture();

    IPv6AddressEntry m_addressEntry;
    bool m_treePrepared = false;
    IPv6AddressTypeModel m_typeModel;
    IPv6FieldPicture m_picture;
    QGraphicsScene* m_scene = nullptr;
    // The size hint the page was last laid out for.
    QSize m_pictureSizeHint;
    bool m_restoringSelection = false;
};
