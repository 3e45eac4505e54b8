// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <memory>

// Closes a C library file when its owner goes.
struct CFileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};

using CFilePointer = std::unique_ptr<std::FILE, CFileCloser>;
