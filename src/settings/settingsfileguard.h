// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class QDate;

// Keeps a settings file the program cannot have written away from QSettings, whose
// reader blocks on a FIFO and recurses without bound into nested values.
class SettingsFileGuard
{
public:
    enum Problem
    {
        NoProblem,
        NotRegularFile,
        TooLarge,
        TooDeeplyNested
    };
    // The program's own file is under 1 KiB.
    static constexpr qint64 kMaxFileSize = qint64{64} * 1024;

    // The file QSettings() reads for the application's organisation and name.
    [[nodiscard]] static QString UserFilePath();
    // Why the file at path must not be parsed; NoProblem when it is absent or fine.
    // Never opens anything but a regular file, and reads at most kMaxFileSize bytes.
    [[nodiscard]] static Problem Inspect(const QString& path);
    // Renames the user's settings file aside as "<file>.unreadable-<date>" when it has a
    // problem, and returns the sentence that tells the user so; empty when there was none.
    [[nodiscard]] static QString SetAsideUnreadable(const QDate& today);
};
