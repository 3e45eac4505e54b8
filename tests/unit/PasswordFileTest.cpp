// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/PasswordFile.h"

#include <gtest/gtest.h>

namespace
{
using Lines = std::vector<std::string>;
} // namespace

TEST(PasswordFile, OneALineInOrder_LineEndsMarkAndEmptyLinesLeftOut)
{
    const std::vector<std::pair<std::string, Lines>> cases = {
        {"first\nsecond\n", {"first", "second"}},
        {"\xEF\xBB\xBF"
         "first\r\nsecond",
         {"first", "second"}},
        {"\n\n with spaces \n\r\n", {" with spaces "}},
        {"caf\xC3\xA9\nmot de passe\n", {"caf\xC3\xA9", "mot de passe"}},
        {"", {}},
    };
    for (const auto& [contents, passwords] : cases)
        EXPECT_EQ(CPasswordFile::Parse(contents), passwords) << contents;
}
