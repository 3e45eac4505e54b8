// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpLauncher.h"

#include "HelpViewer.h"
#include "dialogs/QtText.h"
#include "person/MessageBox.h"
#include "person/Prompts.h"

#include <QUrl>

#include <filesystem>
#include <system_error>

namespace
{
std::string FullPath(const std::string& path)
{
    std::error_code error;
    std::filesystem::path full = std::filesystem::absolute(path, error);
    return error ? path : full.lexically_normal().string();
}

bool IsRegularFile(const std::string& path)
{
    std::error_code ignored;
    return std::filesystem::is_regular_file(path, ignored);
}
} // namespace

CHelpLauncher::CHelpLauncher(const std::string& helpFilePath, CPrompts& prompts)
    : m_strHelpFilePath(FullPath(helpFilePath)),
      m_bHelpFileExists(IsRegularFile(m_strHelpFilePath)), m_prompts(prompts)
{
}

CHelpLauncher::~CHelpLauncher() = default;

void CHelpLauncher::ShowHelp()
{
    if (!m_bHelpFileExists)
    {
        m_prompts.ShowMessage(
            CMessageBox(EMessageStyle::Plain, EMessageId::HelpFileMissing, {m_strHelpFilePath}));
        return;
    }
    if (!m_pViewer)
        m_pViewer = std::make_unique<CHelpViewer>();
    m_pViewer->ShowContents(QUrl::fromLocalFile(CQtText::FromPath(m_strHelpFilePath)));
}
