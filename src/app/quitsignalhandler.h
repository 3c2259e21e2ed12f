// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM (logout), SIGHUP (terminal closed) and SIGINT (Ctrl+C) into the
// File > Exit path: the windows close and the event loop ends, so the settings
// are written. The signal handler only writes a byte to a socket pair; the rest
// runs on the GUI thread when the event loop reads it.
class QuitSignalHandler : public QObject
{
    Q_OBJECT

public:
    // Catches the three signals from now on; needs the application object. A
    // second signal while quitting acts as it would without the handler.
    explicit QuitSignalHandler(QObject* parent = nullptr);
    ~QuitSignalHandler() override;

private:
    void on_notifier_activated();

    QSocketNotifier* m_notifier = nullptr;
};
