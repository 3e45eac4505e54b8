// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FileDescriptor.h"

// A pipe whose two ends are closed on exec, so that a pipe made for one
// child never reaches another started at the same time, whose streams would
// otherwise not end before that other child does.
struct CPipe
{
    CFileDescriptor readEnd;
    CFileDescriptor writeEnd;

    // Returns 0 or the system's error number.
    int Open();
};
