// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

namespace HostName {
// The ASCII (IDNA) form of the UTF-8 text if it can be a DNS host name and no IPv4 address; else empty.
[[nodiscard]] std::string ToAscii(const std::string& text);
} // namespace HostName
