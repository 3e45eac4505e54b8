// SPDX-License-Identifier: GPL-3.0-or-later
#include "AddCommands.h"

#include "doc/CommandGuard.h"
#include "doc/ZeltoDoc.h"
#include "person/PathSources.h"
#include "platform/MessageTable.h"

#include <QApplication>

#include <functional>
#include <optional>

namespace
{
// The busy cursor for as long as it lives; the boxes and questions of the
// add show the normal one over it.
class CBusyCursor
{
public:
    CBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CBusyCursor() { QApplication::restoreOverrideCursor(); }
    CBusyCursor(const CBusyCursor&) = delete;
    CBusyCursor& operator=(const CBusyCursor&) = delete;
};

// Whether `gather` ran without a failure; a failure is told.
bool Gather(CPrompts& prompts, const std::function<void()>& gather)
{
    const std::string noPath;
    return CCommandGuard(prompts, noPath).Run(gather);
}
} // namespace

CAddCommands::CAddCommands(CZeltoDoc& doc, CPrompts& prompts, CPathSources& sources)
    : m_doc(doc), m_prompts(prompts), m_sources(sources)
{
}

void CAddCommands::AddFiles()
{
    std::vector<std::string> chosen;
    if (!Gather(m_prompts,
                [&] {
                    chosen = m_sources.ChooseFiles(m_doc.AddFileFilter(),
                                                   m_doc.Options().StoredFolder());
                }) ||
        chosen.empty())
        return;
    CBusyCursor busy;
    m_doc.OnFileAdd(chosen);
}

void CAddCommands::AddFolder()
{
    std::optional<std::string> folder;
    if (!Gather(m_prompts,
                [&]
                {
                    folder = m_sources.ChooseFolder(
                        m_doc.Options().StoredFolder(),
                        CMessageTable::Format(EMessageId::SelectFolderStatus));
                }) ||
        !folder)
        return;
    CBusyCursor busy;
    m_doc.OnFileAddFolder(*folder);
}

// An empty clipboard is still a paste: it starts the folder question afresh.
void CAddCommands::PasteFiles()
{
    std::vector<std::string> files;
    if (!Gather(m_prompts, [&] { files = m_sources.ClipboardFiles().value_or(files); }))
        return;
    CBusyCursor busy;
    m_doc.OnEditPasteFiles(files);
}

void CAddCommands::AddDropped(const std::vector<std::string>& paths)
{
    CBusyCursor busy;
    m_doc.OnDropFiles(paths);
}
