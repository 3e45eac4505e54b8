// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <exception>

// Raised when the person cancels a whole add operation: it unwinds the walk
// through folders and files without any further message. Files listed
// before the cancel stay listed.
class COperationCancelled : public std::exception
{
public:
    const char* what() const noexcept override { return "add operation cancelled"; }
};
