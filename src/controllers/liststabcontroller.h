// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "controllers/listworker.h"
#include "controllers/tabcontroller.h"
#include "models/listproblemmodel.h"
#include "models/listresultmodel.h"

#include <QThreadPool>
#include <QTimer>

#include <array>
#include <memory>
#include <optional>

class QPlainTextEdit;

// The Lists page: two address lists, an operation on them and its result,
// with the lists' problems by line. A list of up to kMaxStoredBytes is a
// setting; a longer one is kept until the program quits.
class ListsTabController : public TabController
{
    Q_OBJECT

public:
    static constexpr qsizetype kMaxStoredBytes = qsizetype{1024} * 1024;

    explicit ListsTabController(const ControllerContext& context);

    // The listsTab page.
    QWidget* GetTabPage() override;
    // Reads a text file into list A (0) or B (1), as Open… does, on a thread; a message box tells when it cannot.
    void OpenList(int list, const QString& fileName);
    // Saves the result as text, or as CSV for a name ending in ".csv"; false with a message box when it cannot.
    bool SaveResult(const QString& fileName);

protected:
    QList<QObject*> GetBlockedWidgets() override;
    void InitializeView() override;
    // Shows the stored lists, operation and lengths, and computes what changed.
    void DoUpdateView(QWidget* source) override;
    bool IsSettingRelevant(OctetrySettings::Setting setting) override;
    // Takes a file dropped on either list.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One of the two lists: its edit, what the store held when last shown or
    // written, and whether the text is too long to be stored.
    struct List
    {
        QPlainTextEdit* edit = nullptr;
        DocumentLines* lines = nullptr;
        QString stored;
        qsizetype heldBytes = 0;
        // A file being read into the edit, slice by slice: the slices still to
        // come, its length and how much of it the edit has.
        std::optional<DocumentLines::Snapshot> file;
        qsizetype fileBytes = 0;
        qsizetype fileRead = 0;
        bool fileSliced = false;
        // Why a file stays out of the edit, which it would freeze; empty for one read into it.
        QString fileOnlyNote;
        // Counts the opens, so that only the latest file is shown.
        int openGeneration = 0;
    };

    void OnListChanged(List& list);
    void OnOpenClicked(int list);
    // Takes a file read by OpenList into the list.
    void ShowFile(int list, const QString& fileName, const QString& error, const QString& notEditable,
                  const std::optional<DocumentLines::Snapshot>& snapshot);
    void OnSaveClicked();
    // Starts the computation when the lists, the operation or a length differ from the last one's.
    void Recompute();
    void ShowOutcome(const std::shared_ptr<const ListOutcome>& outcome);
    void ShowProgress(int permille);
    void ShowNotes();
    // Moves the next slice of each file being read into its edit.
    void ReadSlices();

    std::array<List, 2> m_lists;
    ListWorker m_worker;
    ListResultModel m_resultModel;
    ListProblemModel m_problemModel;
    // The revisions of the two documents and the three choices of the last computation.
    std::array<int, 5> m_computed{-1, -1, -1, -1, -1};
    QString m_windowNote;
    QTimer m_sliceTimer;
    // Reads the opened files; last, so that it is destroyed first, waiting for its reads.
    QThreadPool m_readPool;
};
