// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

class QAbstractItemModel;
class QAbstractItemView;
class QString;

// Copies the selected rows of a table or tree view to the clipboard as
// tab-separated text, header line first, through the standard copy shortcut
// and a context-menu "Copy".
class ItemViewCopier : public QObject
{
    Q_OBJECT

public:
    // Gives view its copy command; the copier is a child of the view.
    static ItemViewCopier* Install(QAbstractItemView* view);

public slots:
    void on_copyAction_triggered();

private:
    explicit ItemViewCopier(QAbstractItemView* view);

    QAbstractItemView* m_view;
};
