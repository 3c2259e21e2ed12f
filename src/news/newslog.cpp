// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "news/newslog.h"

Q_LOGGING_CATEGORY(lcNews, "octetry.news")
