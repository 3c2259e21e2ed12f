// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

#include <memory>

class QAbstractItemModel;
class QAbstractItemView;
class QString;
class RowsFileWriter;

// Copies the selected rows of a table or tree view to the clipboard as
// tab-separated text, header line first, through the standard copy shortcut
// and a context-menu "Copy". A copy too large to paste at once is refused,
// with the offer to save the rows to a file instead.
class ItemViewCopier : public QObject
{
    Q_OBJECT

public:
    // Gives view its copy command; the copier is a child of the view.
    static ItemViewCopier* Install(QAbstractItemView* view);
    // Stops a save under way; its file is left as it was.
    ~ItemViewCopier() override;

public slots:
    void on_copyAction_triggered();

private:
    explicit ItemViewCopier(QAbstractItemView* view);
    // Asks for a file and has writer fill it on its thread, with a progress dialog and Cancel.
    void SaveRows(std::unique_ptr<RowsFileWriter> writer);

    QAbstractItemView* m_view;
    std::unique_ptr<RowsFileWriter> m_writer; // the save under way, if any
};
