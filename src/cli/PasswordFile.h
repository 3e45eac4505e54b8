// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <string>
#include <vector>

// The passwords of --password-file: one a line, in UTF-8, as bytes. A line
// ends with LF or CR LF; a byte order mark before the first line is no part
// of it. Empty lines are passed over, as the empty password is always tried
// first.
class CPasswordFile
{
public:
    // Appends the file's passwords in their order; 0, or the system's error
    // number when the file could not be read to its end.
    static int Read(std::FILE* file, std::vector<std::string>& passwords);
    // The passwords of a file's whole contents.
    static std::vector<std::string> Parse(const std::string& contents);
};
