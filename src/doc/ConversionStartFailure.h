// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <system_error>

// Raised when no thread could be started to run a queued file's conversion:
// the add operation ends there and says why, in the words of the system
// error.
class CConversionStartFailure : public std::system_error
{
public:
    explicit CConversionStartFailure(std::error_code code)
        : std::system_error(code, "no conversion could be started")
    {
    }
};
