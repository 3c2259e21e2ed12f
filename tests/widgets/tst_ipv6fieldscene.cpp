// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "address/ipv6address.h"
#include "ipv6/ipv6addresstypes.h"
#include "widgets/ipv6fieldpicture.h"
#include "widgets/ipv6fieldscene.h"

#include <QtTest>
#include <QtWidgets>

class TstIPv6FieldScene : public QObject
{
    Q_OBJECT

private slots:
    // ::1 in a light palette, topmost first at the middle of each text: the value over its box over its shadow.
    void drawsEachFieldInThePalettesColours()
    {
        const IPv6Address address(std::string("::1"));
        const IPv6FieldPicture picture(FindIPv6AddressType(address)->GetFields(), address);
        QPalette palette(Qt::white);
        palette.setColor(QPalette::Text, Qt::darkBlue);
        const QGraphicsScene* scene = IPv6FieldScene::Create(picture, palette, this);
        const auto looks = [](const QGraphicsItem* item) {
            if (const auto* label = qgraphicsitem_cast<const QGraphicsTextItem*>(item))
                return label->toPlainText() + ' ' + label->defaultTextColor().name();
            const auto* box = qgraphicsitem_cast<const QGraphicsRectItem*>(item);
            const QString outline = box->pen().style() != Qt::NoPen ? " in " + box->pen().color().name() : "";
            if (const QGradient* fill = box->brush().gradient())
                return fill->stops()[0].second.name() + '-' + fill->stops()[1].second.name() + outline;
            return box->brush().color().name() + outline;
        };
        QStringList drawn;
        const IPv6FieldPicture::Field& field = picture.GetFields().at(0);
        for (const IPv6FieldPicture::Text* text : {&field.bits, &field.value, &field.name})
            for (const QGraphicsItem* item : scene->items(text->rect.center()))
                drawn << looks(item);
        QCOMPARE(drawn.join(", "), "128 bits #000080, 0000...00012 #000080, #ffffff-#c0c0c0 in #000000, "
                                   "#a0a0a4, Loopback Address Constant #000080");
    }
};

QTEST_MAIN(TstIPv6FieldScene)
#include "tst_ipv6fieldscene.moc"
