// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLoggingCategory>

// The News page's log lines, each beginning "HTTP: ". On by default;
// QT_LOGGING_RULES="octetry.news.debug=false" silences them.
Q_DECLARE_LOGGING_CATEGORY(lcNews)
