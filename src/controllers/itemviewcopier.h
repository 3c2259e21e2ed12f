#pragma once

#include <QObject>

#include <memory>

class QAbstractItemModel;
class QAbstractItemView;
class QString;

// A model whose rows follow from a few values: a copy of millions of its rows
// goes on the clipboard at once, and the text is made only when pasted.
class FreezableModel
{
public:
    virtual ~FreezableModel() = default;
    // A model showing what this one shows now, unaffected by later changes.
    [[nodiscard]] virtual std::unique_ptr<QAbstractItemModel> Freeze() const = 0;
};

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
