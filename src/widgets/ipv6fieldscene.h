// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class IPv6FieldPicture;
class QGraphicsScene;
class QObject;
class QPalette;

// Turns the picture of an address's fields into graphics items: per field its
// shadow, its box with the value inside, the bit count above and the name
// below. A light palette gets the classic grey boxes; a dark one boxes mixed
// from its own colours, under texts kept legible on them.
class IPv6FieldScene
{
public:
    // A new scene owned by parent that draws picture in palette's colours.
    [[nodiscard]] static QGraphicsScene* Create(const IPv6FieldPicture& picture, const QPalette& palette,
                                                QObject* parent);
};
