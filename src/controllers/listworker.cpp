// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controllers/listworker.h"

#include <sys/resource.h>
#include <unistd.h>

namespace {
constexpr int kProgressIntervalMs = 50;
// A cancelled run stops within a few thousand items, but a new one need not wait for it.
constexpr int kThreads = 2;
constexpr int kNice = 10;
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
// The texts of request as the computation reads them: a file's own bytes, or
// the lines joined into a and b, where the computation runs.
ListInput InputOf(const ListWorker::Request& request, std::string& a, std::string& b)
{
    const auto text = [](const DocumentLines::Snapshot& snapshot, std::string& joined) {
        if (const std::optional<std::string_view> whole = snapshot.Whole())
            return *whole;
        joined = snapshot.Join();
        return std::string_view(joined);
    };
    ListInput input = request.input;
    input.a = text(request.a, a);
    input.b = text(request.b, b);
    return input;
}
} // namespace

void ListWorker::Start(Request request)
{
    Cancel();
    if (request.a.ByteCount() + request.b.ByteCount() <= kInlineBytes) {
        const std::atomic<bool> never = false;
        std::string a, b;
        emit Finished(std::make_shared<const ListOutcome>(ListComputation::Run(InputOf(request, a, b), never)));
        return;
    }
    auto job = std::make_shared<Job>();
    m_job = job;
    // The first report comes after an interval: work done sooner shows no progress at all.
    m_progressTimer.start();
    m_pool.start([this, job, request = std::move(request)] {
        // Below the GUI thread, which then wins a core whenever it has work; the threads this one starts inherit it.
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kNice);
        std::string a, b;
        auto outcome = std::make_shared<const ListOutcome>(ListComputation::Run(
            InputOf(request, a, b), job->cancel, [&job](int permille) { job->progress = permille; }));
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
