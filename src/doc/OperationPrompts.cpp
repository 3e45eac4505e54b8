#include "OperationPrompts.h"

#include "AddReport.h"

COperationPrompts::COperationPrompts(CPrompts& prompts) : m_prompts(prompts) {}

void COperationPrompts::Begin(std::shared_ptr<CAddReport> report, bool problemsAtEnd)
{
    m_pReport = std::move(report);
    m_bProblemsAtEnd = problemsAtEnd;
    m_bMany = false;
    m_nFiles = 0;
    m_bRestInReport = false;
    m_standingOverwrite.reset();
}

std::shared_ptr<CAddReport> COperationPrompts::End()
{
    if (m_pReport)
        m_pReport->Stop();
    return std::move(m_pReport);
}

void COperationPrompts::MeetFile()
{
    ++m_nFiles;
}

bool COperationPrompts::MetAnything() const
{
    return m_nFiles > 0 || (m_pReport && !m_pReport->Rows().empty());
}

EAnswer COperationPrompts::ShowMessage(const CMessageBox& box)
{
    if (!m_pReport || box.Outcome() == EFileOutcome::None)
        return m_prompts.ShowMessage(box);
    if (box.Style() == EMessageStyle::Prompt)
        return AskOverwrite(box);
    Tell(box);
    return EAnswer::Ok;
}

EAnswer COperationPrompts::AskOverwrite(const CMessageBox& box)
{
    EAnswer answer = EAnswer::No;
    bool shown = !m_standingOverwrite;
    if (m_standingOverwrite)
        answer = *m_standingOverwrite;
    else if (!IsMany())
        answer = m_prompts.ShowMessage(box);
    else
    {
        CCheckedAnswer checked =
            m_prompts.ShowMessageWithCheckBox(box, EMessageId::SameForRestCheck);
        answer = checked.eAnswer;
        if (checked.bChecked)
            m_standingOverwrite = answer;
    }
    // A file not overwritten is in the report like any other problem; the
    // question itself is not.
    if (answer != EAnswer::Yes)
        Record(box, shown);
    return answer;
}

void COperationPrompts::Tell(const CMessageBox& box)
{
    if (!IsMany())
    {
        Record(box, true);
        m_prompts.ShowMessage(box);
        return;
    }
    if (m_bProblemsAtEnd || m_bRestInReport)
    {
        Record(box, false);
        return;
    }
    Record(box, true);
    if (m_prompts.ShowMessageWithCheckBox(box, EMessageId::RestInReportCheck).bChecked)
        m_bRestInReport = true;
}

void COperationPrompts::Record(const CMessageBox& box, bool shown)
{
    m_pReport->Record({box.Subject(), box.Outcome(), box.Text(), box.DetailsText(), shown});
}

CCheckedAnswer COperationPrompts::ShowMessageWithCheckBox(const CMessageBox& box,
                                                          EMessageId checkLabel)
{
    return m_prompts.ShowMessageWithCheckBox(box, checkLabel);
}

int COperationPrompts::AskFolderQuestion(const std::string& question)
{
    return m_prompts.AskFolderQuestion(question);
}

std::vector<std::string> COperationPrompts::ChooseFiles(const std::string& filter,
                                                        const std::string& initialFolder)
{
    return m_prompts.ChooseFiles(filter, initialFolder);
}

std::optional<std::string> COperationPrompts::ChooseFolder(const std::string& initialFolder,
                                                           const std::string& statusText)
{
    return m_prompts.ChooseFolder(initialFolder, statusText);
}

std::optional<std::vector<std::string>> COperationPrompts::ClipboardFiles()
{
    return m_prompts.ClipboardFiles();
}

void COperationPrompts::WaitForConversions(const CConversionMonitor& monitor, CCancelFlag& cancel)
{
    m_prompts.WaitForConversions(monitor, cancel);
}

void COperationPrompts::NotifyConversionsChanged()
{
    m_prompts.NotifyConversionsChanged();
}

void COperationPrompts::EndConversions()
{
    m_prompts.EndConversions();
}

void COperationPrompts::BeginWait()
{
    m_prompts.BeginWait();
}

void COperationPrompts::EndWait()
{
    m_prompts.EndWait();
}
