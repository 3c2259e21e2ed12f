// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QTextDocument>

#include <memory>

// Reads a news page and lays it out the way the viewer shows it, within a
// budget that bounds the text layout's time. It touches no widget, so the
// News controller runs it off the GUI thread.
class NewsPageBuilder
{
public:
    NewsPageBuilder() = delete;

    // The longest run of shown text without a place to break the line; the
    // text layout's time grows with the square of a run's length.
    static constexpr int maxUnbrokenRun = 80;

    // The page in the file at path (at most NewsFetcher::maxBodySize bytes of
    // it), taking its resources from resources alone; a page over the budget
    // becomes the start of its plain text. Runs in any thread.
    [[nodiscard]] static std::unique_ptr<QTextDocument> Build(const QString& path, const QUrl& base,
                                                              const QTextDocument::ResourceProvider& resources);

    // Every resource a page asks for, answered with the program's own
    // resources only: anything else is a blank image.
    static QVariant OwnResource(const QUrl& url);
};
