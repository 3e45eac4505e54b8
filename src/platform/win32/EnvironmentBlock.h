// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ChildProcess.h"

#include <string>

// The environment of a child as CreateProcessW takes it with
// CREATE_UNICODE_ENVIRONMENT: the program's own, with the given settings in
// place of its values of those names (compared case-insensitively) or added.
class CEnvironmentBlock
{
public:
    // Entries "NAME=value" in UTF-16, sorted by name case-insensitively
    // without regard to the locale, each ended by a zero, and one zero more.
    static std::wstring Make(const CChildEnvironment& settings);
};
