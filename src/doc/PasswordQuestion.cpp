// SPDX-License-Identifier: GPL-3.0-or-later
#include "PasswordQuestion.h"

#include "extract/PdfPasswords.h"
#include "person/Prompts.h"
#include "platform/PathRules.h"

std::optional<CConversionQueue::CPasswordTry> CPasswordQuestion::Ask(CFileOutcome& outcome,
                                                                     int timesAsked, bool tellsNow)
{
    if (m_bSkipAll)
    {
        outcome.bPasswordSkipped = true;
        return std::nullopt;
    }
    if (!tellsNow || timesAsked >= kMaxAsks)
        return std::nullopt;
    CSplitPath split = m_rules.Split(outcome.strSourcePath);
    CPasswordAnswer answer = m_prompts.AskPassword(
        {split.strBaseName + split.strExt, outcome.strSourcePath, timesAsked > 0});
    // The empty password was tried before anyone was asked.
    if (answer.eAnswer == EPasswordAnswer::Ok && CPdfPasswords::IsUsable(answer.strPassword))
        return CConversionQueue::CPasswordTry{std::move(answer.strPassword), answer.bTryOnOthers};
    if (answer.eAnswer == EPasswordAnswer::SkipAll)
        m_bSkipAll = true;
    outcome.bPasswordSkipped = true;
    outcome.bAsked = true;
    return std::nullopt;
}
