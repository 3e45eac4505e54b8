#pragma once

#include "platform/Prompts.h"

#include <memory>
#include <optional>

class CAddReport;

// The prompts as an add operation uses them. Every message about one file
// is recorded in the operation's report. In an operation that meets more
// than one file, such a message comes with a check box that sends the rest
// of the operation's messages to the report without a box, and the
// overwrite question with one that makes its answer stand for the rest of
// the operation; with problems kept for the end, those messages go to the
// report without a box from the start. A single file added alone is always
// told in a box. Everything else, and everything between operations, passes
// to the wrapped prompts unchanged. User's thread only, apart from
// NotifyConversionsChanged.
class COperationPrompts : public CPrompts
{
public:
    explicit COperationPrompts(CPrompts& prompts);

    // Starts an operation that records into `report`.
    void Begin(std::shared_ptr<CAddReport> report, bool problemsAtEnd);
    // Ends the operation and stops its report's time; returns the report.
    std::shared_ptr<CAddReport> End();
    // The operation met one more file.
    void MeetFile();
    // The operation is sure to meet more than one file (several paths, or a
    // folder's contents).
    void MeetMany() { m_bMany = true; }
    // Whether the operation met anything worth a report.
    bool MetAnything() const;

    EAnswer ShowMessage(const CMessageBox& box) override;
    CCheckedAnswer ShowMessageWithCheckBox(const CMessageBox& box, EMessageId checkLabel) override;
    int AskFolderQuestion(const std::string& question) override;
    std::vector<std::string> ChooseFiles(const std::string& filter,
                                         const std::string& initialFolder) override;
    std::optional<std::string> ChooseFolder(const std::string& initialFolder,
                                            const std::string& statusText) override;
    std::optional<std::vector<std::string>> ClipboardFiles() override;
    void WaitForConversions(const CConversionMonitor& monitor, CCancelFlag& cancel) override;
    void NotifyConversionsChanged() override;
    void EndConversions() override;
    void BeginWait() override;
    void EndWait() override;

private:
    bool IsMany() const { return m_bMany || m_nFiles > 1; }
    EAnswer AskOverwrite(const CMessageBox& box);
    void Tell(const CMessageBox& box);
    void Record(const CMessageBox& box, bool shown);

    CPrompts& m_prompts;
    std::shared_ptr<CAddReport> m_pReport;
    bool m_bProblemsAtEnd = false;
    bool m_bMany = false;
    int m_nFiles = 0;
    // The person asked for the rest of the messages in the report.
    bool m_bRestInReport = false;
    // The answer that stands for the rest of the overwrite questions.
    std::optional<EAnswer> m_standingOverwrite;
};
