// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AddOperation.h"
#include "AddOptions.h"
#include "ConversionQueue.h"
#include "ConverterList.h"

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
class CProgressIndication;
class CPrompts;
class CSettings;

// The program's one document: the converters of every listed file, owned and
// kept in ascending case-insensitive order of their text paths, and the
// entry points through which paths enter the list, each of which runs one
// add operation. Nothing of the list is ever saved.
class CZeltoDoc
{
public:
    CZeltoDoc(CConverterTable& table, CPrompts& prompts, CProgressIndication& progress,
              CSettings& settings);
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

    // Remove All (the window's "new document"): empties the list and tells
    // the views; no file is touched.
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

    // The entry points. Each is one add operation (see CAddOperation for
    // the order in which the person meets what it finds): a failure that no
    // file's handling takes ends only the operation, is told in a plain
    // message, and leaves every file added before it listed. The window
    // gathers the paths (from the clipboard, the file and folder choosers,
    // a drop) before it calls.
    // Paste: the local file paths on the clipboard, in clipboard order.
    void OnEditPasteFiles(const std::vector<std::string>& clipboardFiles);
    // Add...: the files chosen, in the dialog's order. The folder of the
    // first is remembered before anything is added; the standing folder
    // answer is kept, as the dialog offers files only. Nothing chosen
    // changes nothing.
    void OnFileAdd(const std::vector<std::string>& chosen);
    // Add Folder...: choosing a folder is not yet consent to add it: the
    // folder question asks about it. The folder is remembered whatever the
    // answer.
    void OnFileAddFolder(const std::string& folder);
    // Paths dropped on the main window, in drop order.
    void OnDropFiles(const std::vector<std::string>& paths);

    // The file dialog's one filter entry, "All Valid (*.pdf)".
    std::string AddFileFilter() const;

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
    void UpdateFileCount();
    // Takes the converter into the list after every converter whose text
    // path is not greater and tells the views, then recounts.
    void InsertSorted(std::unique_ptr<CConverter> converter);
    // Runs one add operation whose paths `walk` adds, then `after`, which
    // runs whatever became of the operation. The standing folder answer is
    // reset first unless `keepFolderAnswer`.
    void RunAddOperation(const std::function<void(CAddOperation&)>& walk,
                         bool keepFolderAnswer = false, const std::function<void()>& after = {});
    // An operation that met nothing (a folder only remembered) leaves the
    // last report as it was.
    void EndReport(const std::shared_ptr<CAddReport>& report, int filesMet);
    bool DeleteTextFile(const CConverter& converter);
    void RemoveRows(std::vector<int> rows);
    void SetFileCount(int count);
    template <typename TCall> void Notify(TCall call);

    CConverterTable& m_table;
    CPrompts& m_prompts;
    CProgressIndication& m_progress;
    CAddOptions m_options;
    const CPathRules& m_rules;
    std::vector<CDocObserver*> m_observers;
    CConverterList m_fileList;
    int m_nFileCount = 0;
    // The path an add operation is at, to name it should the operation fail.
    std::string m_strActivePath;
    EStandingFolderAnswer m_eFolderAnswer = EStandingFolderAnswer::Ask;
    // The running add operation; none between operations.
    CAddOperation* m_pOperation = nullptr;
    CConversionQueue::FStartThread m_startThread = CConversionQueue::StartStdThread;
    std::shared_ptr<const CAddReport> m_pLastReport;
    std::function<void(const CAddReport&)> m_reportHandler;
};
