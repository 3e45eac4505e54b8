// SPDX-License-Identifier: GPL-3.0-or-later
#include "PasswordFile.h"

#include <cerrno>
#include <string_view>

int CPasswordFile::Read(std::FILE* file, std::vector<std::string>& passwords)
{
    std::string contents;
    char chunk[4096];
    errno = 0;
    while (std::size_t count = std::fread(chunk, 1, sizeof chunk, file))
        contents.append(chunk, count);
    if (std::ferror(file))
        return errno != 0 ? errno : EIO;
    for (std::string& password : Parse(contents))
        passwords.push_back(std::move(password));
    return 0;
}

std::vector<std::string> CPasswordFile::Parse(const std::string& contents)
{
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    std::string_view rest = contents;
    if (rest.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        rest.remove_prefix(kByteOrderMark.size());
    std::vector<std::string> passwords;
    while (!rest.empty())
    {
        std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!line.empty())
            passwords.emplace_back(line);
    }
    return passwords;
}
