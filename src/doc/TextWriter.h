// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The PDF a text file of an add operation was made from, or is being made
// from: its path as it was added, and the key that knows it by its folder's
// identity and its name, so that one PDF reached by two paths is one.
struct CTextWriter
{
    std::string strSourceKey;
    std::string strSourcePath;
};
