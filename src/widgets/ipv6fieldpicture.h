// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ipv6/ipv6addressfield.h"

#include <QCoreApplication>
#include <QRectF>
#include <QString>

#include <vector>

class IPv6Address;
class QTextDocument;

// The picture of an address's fields on the IPv6 page, as what to draw: per field,
// left to right, a box with the value inside, its shadow, the bit count above and
// the name below, in scene units. Colours are roles for the view to choose. Texts
// are measured as a QGraphicsTextItem lays them out in the application font.
class IPv6FieldPicture
{
    Q_DECLARE_TR_FUNCTIONS(IPv6FieldPicture)

public:
    // What a colour is for; the view turns roles into colours.
    enum ColorRole
    {
        NoColor,        // nothing drawn
        ShadowColor,    // the shadow under a box
        BoxTopColor,    // the box fill at its top edge, shading into...
        BoxBottomColor, // ...this at its bottom edge
        OutlineColor,   // the box outline
        TextColor,      // every text
    };

    // A rectangle filled from fillTop at its top edge to fillBottom at its bottom edge
    // (flat when both are the same) and outlined in outline.
    struct Box
    {
        QRectF rect;
        ColorRole fillTop;
        ColorRole fillBottom;
        ColorRole outline;
    };

    // Rich text (e.g. "000<sub>2</sub>") centred and word-wrapped in rect's width, from
    // rect's top left; rect's height is the height the text takes.
    struct Text
    {
        QString html;
        QRectF rect;
        ColorRole color;
    };

    // One field. Boxes are drawn over every shadow and the value over its box.
    struct Field
    {
        Box shadow;
        Box box;
        Text bits;  // "10 bits", above the box
        Text value; // inside the box
        Text name;  // below the box
    };

    // Scene units per bit of a field; a field is widened instead when a word of its value or name is wider.
    static constexpr qreal unitsPerBit = 4;
    static constexpr qreal boxHeight = 32;
    // Room between a box's edge and its texts.
    static constexpr qreal padding = 2;
    // How far right and down a shadow lies from its box.
    static constexpr qreal shadowOffset = 3;

    // A picture without fields.
    IPv6FieldPicture() = default;
    // The fields as read from a valid address, the first box from x = 0, every box
    // from y = 0 to boxHeight, each box 2 * padding wider than its field.
    IPv6FieldPicture(const IPv6AddressFieldList& fields, const IPv6Address& address);

    // The fields, most significant first.
    const std::vector<Field>& GetFields() const { return m_fields; }

    // Puts text into document laid out as the picture measures it: centred and
    // word-wrapped at the width of text's rect.
    static void LayOut(QTextDocument* document, const Text& text);

private:
    std::vector<Field> m_fields;
};
