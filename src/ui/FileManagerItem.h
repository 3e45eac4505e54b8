// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// Shows one file in the desktop's file manager, selected in its folder where
// the file manager can do that; never waits for the file manager.
class CFileManagerItem
{
public:
    static void Show(const std::string& path);
};
