// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FileOutcome.h"

#include <optional>
#include <string>
#include <string_view>

class CExtractionReport;
struct CConversionRun;
struct CChildResult;

// Judges what a run of pdftotext (or of an extraction worker) left for one
// PDF: its exit status and report, a text that could not be written, a
// time-out, what OCR did, a blank text, pages whose text looks garbled. It settles the file's kind
// and adds a reason for everything the person is to learn; it words nothing.
class CPdfRunJudge
{
public:
    // `toolName`: the name the tool was started by.
    CPdfRunJudge(std::string_view sourcePath, std::string_view sourceName,
                 std::string_view textPath, std::string_view toolName);

    // Fills in the run's facts and reasons; a file that is not to be listed
    // comes back so marked.
    void Judge(const CConversionRun& run, CFileOutcome& outcome) const;

private:
    // Adds every problem of a finished tool run; false when the file is to
    // be dropped.
    bool JudgeToolRun(const CConversionRun& run, CFileOutcome& outcome) const;
    // Adds what OCR did, or that the text file came out blank.
    void JudgeOcr(const CConversionRun& run, CFileOutcome& outcome) const;
    // Adds the pages whose text looks garbled, and those OCR mended.
    void JudgeGarbledPages(const CConversionRun& run, CFileOutcome& outcome) const;
    void CheckBlankResult(const CConversionRun& run, CFileOutcome& outcome) const;
    // What keeps a locked PDF shut, when the run found one: no password,
    // none that opens it, or no worker to give one to.
    std::optional<CReason> Locked(const CConversionRun& run, const CExtractionReport& report) const;
    // A system error about the source, as the only message.
    CReason SystemError(int errorCode) const;
    // A text that could not be written to its folder, with the reason.
    CReason TextNotWritten(int errorCode) const;
    static CToolEnding EndingOf(const CChildResult& result, const std::string& tool);

    const std::string_view m_strSourcePath;
    const std::string_view m_strSourceName;
    const std::string_view m_strTextPath;
    const std::string_view m_strToolName;
};
