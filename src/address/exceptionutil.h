// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <stdexcept>
#include <string>

namespace ExceptionUtil {

// Thrown with the message "this" when an operation needs a valid value and its object is invalid.
class invalid_operation : public std::logic_error
{
public:
    explicit invalid_operation(const std::string& what)
        : std::logic_error(what)
    {
    }
    explicit invalid_operation(const char* what)
        : std::logic_error(what)
    {
    }
};

} // namespace ExceptionUtil
