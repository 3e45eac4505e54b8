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
    static void Write(const std::string& path, const std::vector<std::string>& pages);
};
