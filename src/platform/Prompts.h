#pragma once

#include "CancelFlag.h"
#include "MessageBox.h"

#include <optional>
#include <string>
#include <vector>

// Answers of the four-button folder question. Anything else means the
// dialog could not be shown.
enum EFolderAnswer : int
{
    FolderAnswerYes = 1,
    FolderAnswerNo = 2,
    FolderAnswerYesToAll = 1000,
    FolderAnswerNoToAll = 1001,
    FolderAnswerFailed = -1
};

// Where one add operation stands, for its progress indication.
struct CConversionProgress
{
    int nDone = 0;   // files whose conversion has ended
    int nQueued = 0; // files queued for conversion so far
    // The files being converted right now, and what each run does beyond
    // converting (empty when nothing).
    std::vector<std::string> converting;
    std::vector<std::string> activities;
};

// The answer to a message box with a check box, and whether the box was
// ticked when it closed.
struct CCheckedAnswer
{
    EAnswer eAnswer = EAnswer::Ok;
    bool bChecked = false;
};

// What a wait for conversions watches. Both are called on the user
// interface's thread only.
class CConversionMonitor
{
public:
    virtual ~CConversionMonitor() = default;
    // Whether the wait may end.
    virtual bool IsReady() const = 0;
    virtual CConversionProgress Progress() const = 0;
};

// How the logic reaches the person at the keyboard. The window implements it
// with real dialogs; tests implement it with scripted answers.
class CPrompts
{
public:
    virtual ~CPrompts() = default;

    // Shows a modal message box and returns the answer (Ok for boxes
    // without a choice).
    virtual EAnswer ShowMessage(const CMessageBox& box) = 0;
    // The same box with an unticked check box under its text, labelled with
    // the message `checkLabel`.
    virtual CCheckedAnswer ShowMessageWithCheckBox(const CMessageBox& box,
                                                   EMessageId checkLabel) = 0;

    // The four-button question "Yes", "Yes to All", "No", "No to All" about
    // adding a folder's contents. Returns an EFolderAnswer value.
    virtual int AskFolderQuestion(const std::string& question) = 0;

    // A multi-select dialog for existing files. `filter` is one entry in the
    // form "Label (*.ext1 *.ext2)"; `initialFolder` may be empty. Returns
    // the chosen paths in the dialog's order; empty when cancelled.
    virtual std::vector<std::string> ChooseFiles(const std::string& filter,
                                                 const std::string& initialFolder) = 0;

    // A folder chooser starting at `initialFolder` (may be empty) and
    // showing `statusText`. Nothing when cancelled.
    virtual std::optional<std::string> ChooseFolder(const std::string& initialFolder,
                                                    const std::string& statusText) = 0;

    // The local file paths on the clipboard, in clipboard order; nothing
    // when the clipboard holds no file list.
    virtual std::optional<std::vector<std::string>> ClipboardFiles() = 0;

    // Waits until the monitor is ready while the user interface stays alive,
    // with one progress indication for the whole add operation and one
    // Cancel, which requests `cancel` (the wait then ends too). Work on
    // other threads calls NotifyConversionsChanged whenever the monitor
    // may have changed.
    virtual void WaitForConversions(const CConversionMonitor& monitor, CCancelFlag& cancel) = 0;
    // Safe to call from any thread.
    virtual void NotifyConversionsChanged() = 0;
    // The add operation is over: its progress indication goes.
    virtual void EndConversions() = 0;

    // A busy indication around work that blocks; calls nest.
    virtual void BeginWait() = 0;
    virtual void EndWait() = 0;
};

// Shows the busy indication for as long as it lives.
class CWaitIndication
{
public:
    explicit CWaitIndication(CPrompts& prompts) : m_prompts(prompts) { m_prompts.BeginWait(); }
    ~CWaitIndication() { m_prompts.EndWait(); }
    CWaitIndication(const CWaitIndication&) = delete;
    CWaitIndication& operator=(const CWaitIndication&) = delete;

private:
    CPrompts& m_prompts;
};
