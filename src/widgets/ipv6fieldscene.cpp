// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/ipv6fieldscene.h"

#include "widgets/ipv6fieldpicture.h"
#include "widgets/themecolors.h"

#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QLinearGradient>
#include <QPalette>
#include <QPen>

namespace {
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
    // QColor keeps its components as float.
    const auto mix = [share](float from, float to) { return static_cast<float>(from + (to - from) * share); };
    return QColor::fromRgbF(mix(color.redF(), other.redF()), mix(color.greenF(), other.greenF()),
                            mix(color.blueF(), other.blueF()));
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

QGraphicsScene* IPv6FieldScene::Create(const IPv6FieldPicture& picture, const QPalette& palette, QObject* parent)
{
    auto* scene = new QGraphicsScene(parent);
    for (const IPv6FieldPicture::Field& field : picture.GetFields()) {
        QGraphicsRectItem* shadow = CreateBox(field.shadow, palette);
        QGraphicsRectItem* box = CreateBox(field.box, palette);
        shadow->setZValue(0);
        box->setZValue(1);
        CreateText(field.value, palette, box);
        scene->addItem(shadow);
        scene->addItem(box);
        scene->addItem(CreateText(field.bits, palette));
        scene->addItem(CreateText(field.name, palette));
    }
    return scene;
}
