// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "lists/listcomputation.h"
#include "widgets/documentlines.h"

#include <QObject>
#include <QThreadPool>
#include <QTimer>

#include <atomic>
#include <memory>

// Runs the Lists page's computations: a small one at once, a larger one on a
// thread of its own, so that the window keeps answering. A newer Start
// cancels the older work, whose outcome is never delivered.
class ListWorker : public QObject
{
    Q_OBJECT

public:
    // Lists of at most this many bytes together are computed on the calling thread.
    static constexpr qsizetype kInlineBytes = qsizetype{64} * 1024;

    explicit ListWorker(QObject* parent = nullptr);
    // Cancels the work under way and waits for its thread.
    ~ListWorker() override;

    // The texts of the two lists and what to compute from them; the texts'
    // bytes are left empty.
    struct Request
    {
        DocumentLines::Snapshot a;
        DocumentLines::Snapshot b;
        ListInput input;
    };
    // Computes request; Finished follows, before the return when computed at once.
    void Start(Request request);
    // Drops the work under way; nothing is delivered for it.
    void Cancel();
    // Whether work is under way on its thread.
    [[nodiscard]] bool IsBusy() const { return m_job != nullptr; }

signals:
    // The outcome of the latest Start.
    void Finished(std::shared_ptr<const ListOutcome> outcome);
    // Work under way on its thread, in thousandths, from its first interval on; -1 when it ends.
    void Progress(int permille);

private:
    struct Job
    {
        std::atomic<bool> cancel = false;
        std::atomic<int> progress = 0;
    };

    QThreadPool m_pool;
    QTimer m_progressTimer;
    std::shared_ptr<Job> m_job;
};
