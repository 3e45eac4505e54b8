// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageBox.h"

#include "MessageTable.h"

CMessageBox::CMessageBox(EMessageStyle style, EMessageId id, std::initializer_list<CFormatArg> args)
    : m_style(style), m_ids{id}, m_strText(CMessageTable::Format(id, args))
{
}

CMessageBox& CMessageBox::Then(EMessageId id, std::initializer_list<CFormatArg> args)
{
    m_ids.push_back(id);
    m_strText += CMessageTable::Format(id, args);
    return *this;
}

CMessageBox& CMessageBox::Prefix(const std::string& text)
{
    m_strText.insert(0, text);
    return *this;
}

CMessageBox& CMessageBox::Details(std::string details)
{
    m_strDetails = std::move(details);
    return *this;
}

CMessageBox& CMessageBox::About(std::string_view path, EFileOutcome outcome)
{
    m_strSubject.assign(path);
    m_eOutcome = outcome;
    return *this;
}
