#pragma once

#include "AddOptions.h"
#include "ConversionQueue.h"
#include "ConverterList.h"
#include "FolderWalker.h"
#include "OperationPrompts.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CAddReport;
class CConverter;
class CConverterContext;
class CConverterTable;
class CDocObserver;
class CPathRules;
class CPrompts;
class CSettings;

// The program's one document: the converters of every listed file, owned and
// kept in ascending case-insensitive order of their text paths, and every
// way in which paths enter the list. Nothing of the list is ever saved.
class CZeltoDoc
{
public:
    CZeltoDoc(CConverterTable& table, CPrompts& prompts, CSettings& settings);
    ~CZeltoDoc();

    CZeltoDoc(const CZeltoDoc&) = delete;
    CZeltoDoc& operator=(const CZeltoDoc&) = delete;

    // Views. An observer stays attached until it is removed; it must be
    // removed before it is destroyed.
    void AddObserver(CDocObserver& observer);
    void RemoveObserver(CDocObserver& observer);

    // The list in its order, for the views.
    int RowCount() const { return m_fileList.Size(); }
    const CConverter* ConverterAt(int row) const { return m_fileList.At(row); }

    // Remove All: empties the list and tells the views; no file is touched.
    void OnNewDocument();
    // The count as last recorded, for the status bar.
    int GetFileCount() const { return m_nFileCount; }

    // Takes each listed converter of the selection (these very converters,
    // not others with the same paths) out of the list, then recounts once.
    // Converters that are not listed are left alone.
    void RemoveConverters(const std::vector<const CConverter*>& selection);
    // Deletes the text file of each listed converter of the selection and
    // removes the converter. A file that cannot be deleted is reported and
    // its converter stays; the list is recounted once, at the end.
    void DeleteConverters(const std::vector<const CConverter*>& selection);

    // The entry points. Each is one add operation: a failure that no file's
    // handling takes ends only the operation, is told in a plain message,
    // and leaves every file added before it listed. What the person sees of
    // one operation comes in this order: the questions and messages before a
    // file is converted follow the order in which files are found; each
    // file's result (its report, a blank text) and its new row come after
    // the results of every file found before it; with more than one
    // conversion at once, the questions and messages about a later file may
    // come before the result of an earlier one. After a cancel, nothing more
    // is shown: files whose runs ended well are listed, others' text files
    // removed.
    void OnEditPasteFiles();
    void OnFileAdd();
    void OnFileAddFolder();
    // Paths dropped on the main window, in drop order.
    void OnDropFiles(const std::vector<std::string>& paths);

    // The person's choices of how files are added.
    CAddOptions& Options() { return m_options; }
    const CAddOptions& Options() const { return m_options; }

    // What the last add operation that met a file met; null before any.
    std::shared_ptr<const CAddReport> LastAddReport() const { return m_pLastReport; }
    // Called at the end of every add operation that met a file, with its
    // report.
    void SetReportHandler(std::function<void(const CAddReport&)> handler)
    {
        m_reportHandler = std::move(handler);
    }

    // A request to cancel the running add operation, if any (from the
    // window, for instance when it is being closed).
    void CancelAdding();

    // How add operations start the threads that run conversions; tests
    // make it fail.
    void SetThreadStarter(CConversionQueue::FStartThread start)
    {
        m_startThread = std::move(start);
    }

private:
    // The standing answer of the folder question for the rest of one add
    // operation.
    enum class EFolderPromptState
    {
        Ask,
        YesToAll,
        NoToAll
    };

    // The file dialog's one filter entry, "All Valid (*.pdf)".
    std::string AddFileFilter() const;
    void UpdateFileCount();
    // Takes the converter into the list after every converter whose text
    // path is not greater and tells the views. Does not recount.
    void InsertSorted(std::unique_ptr<CConverter> converter);
    // Adds one file, or one folder recursively after asking. Paths that do
    // not exist or are listed already are passed over in silence. Problems
    // with one file are told to the user here, and that file is skipped; a
    // path that exists but cannot be examined is such a file. A folder that
    // cannot be read is told about by the walker and skipped.
    void AddPath(const std::string& path);
    // Queues one file that is not listed yet for conversion; it is listed
    // when the conversion succeeds, and told about and dropped when not.
    void AddFile(const std::string& path);
    // A new converter for the path; tells the user and raises
    // CUserException when no converter handles it.
    std::unique_ptr<CConverter> RequireConverter(const std::string& path);
    // Whether a folder's contents are to be added: the standing answer, or
    // the four-button question.
    bool AskAddFolderContents(const std::string& folder);
    void AddFolder(const std::string& folder);
    void AddPaths(const std::vector<std::string>& paths);
    void RunAddOperation(const std::function<void()>& operation);
    void RunConversions(const std::function<void()>& operation, CAddReport& report);
    void EndReport();
    void SetUpOcr(CConverterContext& context) const;
    bool DeleteTextFile(const CConverter& converter);
    void RemoveRows(std::vector<int> rows);
    void SetFileCount(int count);
    template <typename TCall> void Notify(TCall call);

    CConverterTable& m_table;
    CPrompts& m_prompts;
    // What add operations show and ask goes through these, so that each
    // operation keeps its report.
    COperationPrompts m_operationPrompts;
    CAddOptions m_options;
    const CPathRules& m_rules;
    std::vector<CDocObserver*> m_observers;
    CConverterList m_fileList;
    int m_nFileCount = 0;
    CFolderWalker m_walker;
    // The path an add operation is at, to name it should the operation fail.
    std::string m_strActivePath;
    EFolderPromptState m_eFolderPromptState = EFolderPromptState::Ask;
    // The conversions of the running add operation; none between operations.
    std::unique_ptr<CConversionQueue> m_pQueue;
    CConversionQueue::FStartThread m_startThread = CConversionQueue::StartStdThread;
    std::shared_ptr<const CAddReport> m_pLastReport;
    std::function<void(const CAddReport&)> m_reportHandler;
};
