// SPDX-License-Identifier: GPL-3.0-or-later
#include "ZeltoDoc.h"

#include "AddReport.h"
#include "CommandGuard.h"
#include "DocObserver.h"
#include "MessagePresenter.h"
#include "extract/Converter.h"
#include "extract/ConverterContext.h"
#include "extract/ConverterTable.h"
#include "person/MessageBox.h"
#include "person/ProgressIndication.h"
#include "person/Prompts.h"
#include "platform/FileProbe.h"
#include "platform/MessageTable.h"
#include "platform/PathRules.h"

#include <algorithm>
#include <list>

namespace
{
// Marks an operation as the running one for as long as it lives, and takes
// the count of files it met when it ends, however it ends.
class CRunning
{
public:
    CRunning(CAddOperation*& running, CAddOperation& operation, int& filesMet)
        : m_running(running), m_operation(operation), m_filesMet(filesMet)
    {
        m_running = &operation;
    }
    ~CRunning()
    {
        m_filesMet = m_operation.FilesMet();
        m_running = nullptr;
    }
    CRunning(const CRunning&) = delete;
    CRunning& operator=(const CRunning&) = delete;

private:
    CAddOperation*& m_running;
    CAddOperation& m_operation;
    int& m_filesMet;
};
} // namespace

CZeltoDoc::CZeltoDoc(CConverterTable& table, CPrompts& prompts, CProgressIndication& progress,
                     CSettings& settings)
    : m_table(table), m_prompts(prompts), m_progress(progress), m_options(settings),
      m_rules(table.Context().PathRules()), m_fileList(m_rules)
{
}

// The converters go with the list; views are not told, as they go first.
CZeltoDoc::~CZeltoDoc() = default;

void CZeltoDoc::AddObserver(CDocObserver& observer)
{
    if (std::find(m_observers.begin(), m_observers.end(), &observer) == m_observers.end())
        m_observers.push_back(&observer);
}

void CZeltoDoc::RemoveObserver(CDocObserver& observer)
{
    m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), &observer),
                      m_observers.end());
}

// Indexes rather than iterators, so that an observer may detach itself while
// it is being told.
template <typename TCall> void CZeltoDoc::Notify(TCall call)
{
    for (std::size_t i = 0; i < m_observers.size(); ++i)
        call(*m_observers[i]);
}

void CZeltoDoc::OnNewDocument()
{
    Notify([](CDocObserver& observer) { observer.OnAboutToReset(); });
    m_fileList.Clear();
    Notify([](CDocObserver& observer) { observer.OnReset(); });
    SetFileCount(0);
}

void CZeltoDoc::UpdateFileCount()
{
    SetFileCount(m_fileList.Size());
}

void CZeltoDoc::SetFileCount(int count)
{
    if (count == m_nFileCount)
        return;
    m_nFileCount = count;
    Notify([count](CDocObserver& observer) { observer.OnFileCountChanged(count); });
}

void CZeltoDoc::InsertSorted(std::unique_ptr<CConverter> converter)
{
    int row = m_fileList.UpperBound(converter->m_strTextPath);
    Notify([row](CDocObserver& observer) { observer.OnRowAboutToBeInserted(row); });
    m_fileList.Insert(row, std::move(converter));
    Notify([row](CDocObserver& observer) { observer.OnRowInserted(row); });
    UpdateFileCount();
}

void CZeltoDoc::RemoveConverters(const std::vector<const CConverter*>& selection)
{
    std::vector<int> rows;
    for (const CConverter* converter : selection)
    {
        if (std::optional<int> row = m_fileList.RowOf(converter))
            rows.push_back(*row);
    }
    RemoveRows(std::move(rows));
    UpdateFileCount();
}

void CZeltoDoc::DeleteConverters(const std::vector<const CConverter*>& selection)
{
    std::vector<const CConverter*> deleted;
    for (const CConverter* converter : selection)
    {
        // A converter named twice is deleted once; its file is gone the
        // second time.
        if (!m_fileList.Contains(converter) ||
            std::find(deleted.begin(), deleted.end(), converter) != deleted.end())
            continue;
        if (DeleteTextFile(*converter))
            deleted.push_back(converter);
    }
    // Rows are looked up only now: the list may have changed while a
    // message was showing.
    RemoveConverters(deleted);
}

bool CZeltoDoc::DeleteTextFile(const CConverter& converter)
{
    if (CFileProbe::Remove(std::string(converter.m_strTextPath)) == 0)
        return true;
    m_prompts.ShowMessage(
        CMessageBox(EMessageStyle::InUse, EMessageId::DeleteFailed, {converter.m_strTextPath}));
    return false;
}

// Rows go range by range from the bottom up, so that the numbers told for
// each range are still those of the list at that moment.
void CZeltoDoc::RemoveRows(std::vector<int> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::size_t end = rows.size();
    while (end > 0)
    {
        std::size_t begin = end - 1;
        while (begin > 0 && rows[begin - 1] + 1 == rows[begin])
            --begin;
        int first = rows[begin];
        int last = rows[end - 1];
        Notify([=](CDocObserver& observer) { observer.OnRowsAboutToBeRemoved(first, last); });
        for (int row = last; row >= first; --row)
            m_fileList.Take(row);
        Notify([=](CDocObserver& observer) { observer.OnRowsRemoved(first, last); });
        end = begin;
    }
}

void CZeltoDoc::OnEditPasteFiles(const std::vector<std::string>& clipboardFiles)
{
    RunAddOperation([&](CAddOperation& operation) { operation.AddPaths(clipboardFiles); });
}

void CZeltoDoc::OnFileAdd(const std::vector<std::string>& chosen)
{
    if (chosen.empty())
        return;
    RunAddOperation(
        [&](CAddOperation& operation)
        {
            CSplitPath first = m_rules.Split(chosen.front());
            std::string folder = first.strDrive + first.strDir;
            if (!m_rules.SamePath(folder, m_options.StoredFolder()))
                m_options.StoreFolder(folder);
            operation.AddPaths(chosen);
        },
        true);
}

void CZeltoDoc::OnFileAddFolder(const std::string& folder)
{
    RunAddOperation([&](CAddOperation& operation) { operation.AddPath(folder); }, false,
                    [&] { m_options.StoreFolder(folder); });
}

void CZeltoDoc::OnDropFiles(const std::vector<std::string>& paths)
{
    RunAddOperation([&](CAddOperation& operation) { operation.AddPaths(paths); });
}

std::string CZeltoDoc::AddFileFilter() const
{
    std::list<std::string> extensions;
    m_table.GetExtensions(extensions);
    std::string patterns;
    for (const std::string& extension : extensions)
    {
        if (!patterns.empty())
            patterns += ' ';
        patterns += "*." + extension;
    }
    // The table's text holds the label, then the patterns after a bar
    // ("label|pattern||"); the dialog takes only the label, which names the
    // patterns in brackets.
    std::string filter = CMessageTable::Format(EMessageId::AddFileFilter, {patterns, patterns});
    return filter.substr(0, filter.find('|'));
}

// A failure may come between listing a file and counting it, so the count
// is brought up to date after every operation, whatever became of it.
void CZeltoDoc::RunAddOperation(const std::function<void(CAddOperation&)>& walk,
                                bool keepFolderAnswer, const std::function<void()>& after)
{
    m_strActivePath.clear();
    auto report = std::make_shared<CAddReport>();
    int filesMet = 0;
    CCommandGuard(m_prompts, m_strActivePath)
        .Run(
            [&]
            {
                if (!keepFolderAnswer)
                    m_eFolderAnswer = EStandingFolderAnswer::Ask;
                CAddSettings settings = m_options.ForOperation();
                CMessagePresenter presenter(m_prompts, *report, settings.bProblemsAtEnd);
                CAddOperation operation({m_table, m_prompts, m_progress, presenter,
                                         [this](const std::string& path)
                                         { return m_fileList.FindBySourcePath(path) != nullptr; },
                                         [this](std::unique_ptr<CConverter> converter)
                                         { InsertSorted(std::move(converter)); },
                                         m_startThread},
                                        settings, m_eFolderAnswer, m_strActivePath);
                CRunning running(m_pOperation, operation, filesMet);
                operation.Run([&] { walk(operation); });
            },
            [&]
            {
                m_progress.EndConversions();
                UpdateFileCount();
                EndReport(report, filesMet);
                if (after)
                    after();
            });
}

void CZeltoDoc::EndReport(const std::shared_ptr<CAddReport>& report, int filesMet)
{
    report->Stop();
    if (filesMet == 0 && report->Rows().empty())
        return;
    m_pLastReport = report;
    if (m_reportHandler)
        m_reportHandler(*report);
}

void CZeltoDoc::CancelAdding()
{
    if (m_pOperation)
        m_pOperation->Cancel();
}
