// SPDX-License-Identifier: GPL-3.0-or-later
#include "PdfPasswords.h"

#include <algorithm>

CPdfPasswords::CPdfPasswords(const std::vector<std::string>& passwords)
{
    for (const std::string& password : passwords)
        Add(password);
}

bool CPdfPasswords::Add(std::string password)
{
    if (!IsUsable(password))
        return false;
    std::lock_guard lock(m_mutex);
    if (std::find(m_passwords.begin(), m_passwords.end(), password) != m_passwords.end())
        return false;
    m_passwords.push_back(std::move(password));
    return true;
}

std::vector<std::string> CPdfPasswords::List() const
{
    std::lock_guard lock(m_mutex);
    return m_passwords;
}

std::size_t CPdfPasswords::Count() const
{
    std::lock_guard lock(m_mutex);
    return m_passwords.size();
}

bool CPdfPasswords::IsUsable(const std::string& password)
{
    return !password.empty() && password.find('\0') == std::string::npos;
}
