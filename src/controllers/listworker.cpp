// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controllers/listworker.h"

namespace {
constexpr int kProgressIntervalMs = 50;
// A cancelled run stops within a few thousand items, but a new one need not wait for it.
constexpr int kThreads = 2;
} // namespace

ListWorker::ListWorker(QObject* parent)
    : QObject(parent)
{
    m_pool.setMaxThreadCount(kThreads);
    m_progressTimer.setInterval(kProgressIntervalMs);
    connect(&m_progressTimer, &QTimer::timeout, this, [this] {
        if (m_job)
            emit Progress(m_job->progress.load());
    });
}

ListWorker::~ListWorker()
{
    Cancel();
    m_pool.waitForDone();
}

void ListWorker::Cancel()
{
    if (m_job) {
        m_job->cancel = true;
        m_job.reset();
        m_progressTimer.stop();
        emit Progress(-1);
    }
}

namespace {
// Joining a long list's lines is work too, so it happens where the computation runs.
ListInput InputOf(const ListWorker::Request& request)
{
    ListInput input = request.input;
    input.a = request.a.Join();
    input.b = request.b.Join();
    return input;
}
} // namespace

void ListWorker::Start(Request request)
{
    Cancel();
    if (request.a.ByteCount() + request.b.ByteCount() <= kInlineBytes) {
        const std::atomic<bool> never = false;
        emit Finished(std::make_shared<const ListOutcome>(ListComputation::Run(InputOf(request), never)));
        return;
    }
    auto job = std::make_shared<Job>();
    m_job = job;
    // The first report comes after an interval: work done sooner shows no progress at all.
    m_progressTimer.start();
    m_pool.start([this, job, request = std::move(request)] {
        auto outcome = std::make_shared<const ListOutcome>(
            ListComputation::Run(InputOf(request), job->cancel, [&job](int permille) { job->progress = permille; }));
        // Delivered on this object's thread, and only if no newer work replaced it meanwhile.
        QMetaObject::invokeMethod(this, [this, job, outcome] {
            if (m_job != job)
                return;
            m_job.reset();
            m_progressTimer.stop();
            emit Progress(-1);
            emit Finished(outcome);
        });
    });
}
