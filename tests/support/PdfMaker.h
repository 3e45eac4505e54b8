// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

// Writes small, valid PDF files: one page for each entry of `pages`, each
// page showing its text line by line ('\n' starts a new line) in Helvetica.
// An empty entry makes a blank page.
class CPdfMaker
{
public:
    static std::string Build(const std::vector<std::string>& pages);
    // One page of Chinese text in a font that is not embedded: reading it
    // takes the encoding data of Adobe-GB1.
    static std::string BuildChinese(const std::u16string& text);
    static void Write(const std::string& path, const std::vector<std::string>& pages);
    // One letter-size page that is nothing but a picture, as a scanner
    // makes it: `width` by `height` pixels of 8-bit gray, row by row from
    // the top.
    static std::string BuildScan(int width, int height, const std::string& gray);

    // One page drawing a form that draws the next form ten times, `depth`
    // forms deep, the last one showing a letter: a file of a few hundred
    // bytes whose reading takes ten times longer with each level, and seems
    // endless from about five.
    static std::string BuildNested(int depth);

private:
    static std::string Serialize(const std::vector<std::string>& objects);
    static std::string Assemble(const std::string& font, const std::vector<std::string>& contents,
                                const std::vector<std::string>& extra);
};
