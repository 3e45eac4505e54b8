// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageBox.h"

#include "platform/MessageTable.h"

CMessageBox::CMessageBox(EMessageStyle style, EMessageId id, std::initializer_list<CFormatArg> args)
    : m_style(style), m_ids{id}, m_strText(CMessageTable::Format(id, args))
{
}

CMessageBox::CMessageBox(EMessageStyle style, std::vector<EMessageId> ids, std::string text)
    : m_style(style), m_ids(std::move(ids)), m_strText(std::move(text))
{
}

CMessageBox& CMessageBox::Then(EMessageId id, std::initializer_list<CFormatArg> args)
{
    m_ids.push_back(id);
    m_strText += CMessageTable::Format(id, args);
    return *this;
}

CMessageBox& CMessageBox::Details(std::string details)
{
    m_strDetails = std::move(details);
    return *this;
}
