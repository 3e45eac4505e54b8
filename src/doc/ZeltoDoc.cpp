#include "ZeltoDoc.h"

#include "AddOperation.h"
#include "AddReport.h"
#include "DocObserver.h"
#include "OperationCancelled.h"
#include "extract/Converter.h"
#include "extract/ConverterContext.h"
#include "extract/ConverterTable.h"
#include "extract/OcrReader.h"
#include "platform/FileProbe.h"
#include "platform/MessageBox.h"
#include "platform/MessageTable.h"
#include "platform/PathRules.h"
#include "platform/Prompts.h"
#include "platform/Settings.h"
#include "platform/UserException.h"

#include <algorithm>
#include <list>
#include <thread>

CZeltoDoc::CZeltoDoc(CConverterTable& table, CPrompts& prompts, CSettings& settings)
    : m_table(table), m_prompts(prompts), m_operationPrompts(prompts), m_options(settings),
      m_rules(table.Context().PathRules()), m_fileList(m_rules), m_walker(m_operationPrompts)
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

void CZeltoDoc::AddPath(const std::string& path)
{
    m_strActivePath = path;
    // Also where a cancel that came during a question takes effect.
    m_pQueue->JudgeFinished();
    // A listed path is recognised as received, before anything else is
    // looked at; so is one that is being converted.
    if (CFileProbe::IsGone(path) || m_fileList.FindBySourcePath(path) ||
        m_pQueue->HoldsSource(path))
        return;
    // A path that cannot be examined goes on as a file, so that the file's
    // own checks tell the person about it.
    if (CFileProbe::IsFolder(path))
        AddFolder(path);
    else
        AddFile(path);
}

void CZeltoDoc::AddFolder(const std::string& folder)
{
    // A link back into a folder that is being walked would be walked for
    // ever; it is passed over without asking.
    if (m_walker.IsBeingWalked(folder) || !AskAddFolderContents(folder))
        return;
    m_operationPrompts.MeetMany();
    m_walker.Walk(folder, [this](const std::string& entry) { AddPath(entry); });
}

// Everything that belongs to one file, apart from how it was found: make the
// converter, check and ask, and queue it.
void CZeltoDoc::AddFile(const std::string& path)
{
    m_operationPrompts.MeetFile();
    try
    {
        std::unique_ptr<CConverter> converter = RequireConverter(path);
        CWaitIndication wait(m_prompts);
        // Two files that make the same text file must not be written at
        // the same time; the second is asked about overwriting the first's.
        m_pQueue->WaitForTextPath(converter->m_strTextPath);
        converter->PrepareConversion();
        m_pQueue->Enqueue(std::move(converter));
    }
    catch (const CUserException&)
    {
        // The user has been told; the converter has gone with its owner.
    }
}

std::unique_ptr<CConverter> CZeltoDoc::RequireConverter(const std::string& path)
{
    std::unique_ptr<CConverter> converter = m_table.FindConverter(path);
    if (converter)
        return converter;
    m_operationPrompts.ShowMessage(
        CMessageBox(EMessageStyle::InUse, EMessageId::FileIgnored, {path})
            .About(path, EFileOutcome::Ignored));
    throw CUserException();
}

bool CZeltoDoc::AskAddFolderContents(const std::string& folder)
{
    if (m_eFolderPromptState == EFolderPromptState::YesToAll)
        return true;
    if (m_eFolderPromptState == EFolderPromptState::NoToAll)
        return false;
    int answer = m_operationPrompts.AskFolderQuestion(
        CMessageTable::Format(EMessageId::AddFolderQuestion, {folder}));
    switch (answer)
    {
    case FolderAnswerYes:
        return true;
    case FolderAnswerYesToAll:
        m_eFolderPromptState = EFolderPromptState::YesToAll;
        return true;
    case FolderAnswerNoToAll:
        m_eFolderPromptState = EFolderPromptState::NoToAll;
        return false;
    default:
        // "No", and a question that could not be shown.
        return false;
    }
}

void CZeltoDoc::OnEditPasteFiles()
{
    RunAddOperation(
        [this]
        {
            m_eFolderPromptState = EFolderPromptState::Ask;
            if (std::optional<std::vector<std::string>> files = m_prompts.ClipboardFiles())
                AddPaths(*files);
        });
}

// The folder of the first chosen file is remembered before anything is
// added; a cancelled dialog changes nothing. The standing folder answer is
// kept, as this dialog offers files only.
void CZeltoDoc::OnFileAdd()
{
    RunAddOperation(
        [this]
        {
            std::string stored = m_options.StoredFolder();
            std::vector<std::string> chosen = m_prompts.ChooseFiles(AddFileFilter(), stored);
            if (chosen.empty())
                return;
            CSplitPath first = m_rules.Split(chosen.front());
            std::string folder = first.strDrive + first.strDir;
            if (!m_rules.SamePath(folder, stored))
                m_options.StoreFolder(folder);
            AddPaths(chosen);
        });
}

// Choosing a folder is not yet consent to add it: the folder question asks
// about it. The folder is remembered whatever the answer.
void CZeltoDoc::OnFileAddFolder()
{
    std::optional<std::string> folder;
    RunAddOperation(
        [&]
        {
            folder = m_prompts.ChooseFolder(m_options.StoredFolder(),
                                            CMessageTable::Format(EMessageId::SelectFolderStatus));
            if (!folder)
                return;
            m_eFolderPromptState = EFolderPromptState::Ask;
            AddPath(*folder);
        });
    if (folder)
        RunAddOperation([&] { m_options.StoreFolder(*folder); });
}

void CZeltoDoc::OnDropFiles(const std::vector<std::string>& paths)
{
    RunAddOperation(
        [&]
        {
            m_eFolderPromptState = EFolderPromptState::Ask;
            AddPaths(paths);
        });
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

void CZeltoDoc::AddPaths(const std::vector<std::string>& paths)
{
    if (paths.size() > 1)
        m_operationPrompts.MeetMany();
    for (const std::string& path : paths)
        AddPath(path);
}

// A failure may come between listing a file and counting it, so the count
// is brought up to date after every operation. For the length of the
// operation the converters speak through the operation's prompts.
void CZeltoDoc::RunAddOperation(const std::function<void()>& operation)
{
    m_strActivePath.clear();
    CConverterContext& context = m_table.Context();
    CPrompts* converterPrompts = context.Prompts();
    context.SetPrompts(&m_operationPrompts);
    CAddOperation(m_prompts, m_strActivePath)
        .Run(
            [&]
            {
                // The operation's prompts hold the report until it ends.
                auto report = std::make_shared<CAddReport>();
                m_operationPrompts.Begin(report, m_options.ProblemsAtEnd());
                SetUpOcr(context);
                RunConversions(operation, *report);
            });
    // After a cancel the queue has settled every file it ran; whatever a
    // failure left unjudged goes unlisted.
    m_pQueue.reset();
    context.SetPrompts(converterPrompts);
    m_prompts.EndConversions();
    CAddOperation(m_prompts, m_strActivePath).Run([this] { UpdateFileCount(); });
    EndReport();
}

void CZeltoDoc::RunConversions(const std::function<void()>& operation, CAddReport& report)
{
    m_pQueue = std::make_unique<CConversionQueue>(
        m_operationPrompts, m_rules, m_options.ConversionsAtOnce(),
        [this, &report](std::unique_ptr<CConverter> converter)
        {
            InsertSorted(std::move(converter));
            UpdateFileCount();
            report.CountConverted();
        },
        m_startThread);
    // A failure that ends the walk still lets the files queued before it
    // finish and be listed, before it is told.
    std::exception_ptr failure;
    try
    {
        operation();
    }
    catch (const COperationCancelled&)
    {
        throw;
    }
    catch (const CUserException&)
    {
        throw;
    }
    catch (...)
    {
        failure = std::current_exception();
    }
    m_pQueue->Finish();
    if (failure)
        std::rethrow_exception(failure);
}

// An operation that met nothing (a dialog cancelled, a folder only
// remembered) leaves the last report as it was.
void CZeltoDoc::EndReport()
{
    bool metAnything = m_operationPrompts.MetAnything();
    std::shared_ptr<CAddReport> report = m_operationPrompts.End();
    if (!metAnything)
        return;
    m_pLastReport = report;
    if (m_reportHandler)
        CAddOperation(m_prompts, m_strActivePath).Run([&] { m_reportHandler(*report); });
}

// Whether the programs are there is looked at once per operation, so that
// a missing one is told about once.
void CZeltoDoc::SetUpOcr(CConverterContext& context) const
{
    COcrOptions ocr;
    ocr.bWanted = m_options.ReadScannedPages();
    ocr.bAvailable = ocr.bWanted && COcrReader::ToolsAvailable();
    ocr.strLanguages = m_options.OcrLanguages();
    if (ocr.IsOn())
        COcrReader::LimitThreads();
    context.SetOcr(std::move(ocr));
}

void CZeltoDoc::CancelAdding()
{
    if (m_pQueue)
        m_pQueue->Cancel();
}
