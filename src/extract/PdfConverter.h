// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Converter.h"

#include <atomic>

class CMessageBox;
class CReplacementFile;

// Turns a PDF file into a text file beside it with the external tool
// pdftotext, in the form the add operation asks for (by default -layout),
// the text file replaced whole or not at all.
class CPdfConverter : public CConverter
{
public:
    explicit CPdfConverter(std::shared_ptr<const CConverterContext> context);
    CPdfConverter(const std::string& path, std::shared_ptr<const CConverterContext> context,
                  const std::string& textFolder = {});

    std::unique_ptr<CConverter> Create(const std::string& path,
                                       const std::string& textFolder) const override;
    bool Accepts(const std::string& path) const override;
    void AddExtensions(std::list<std::string>& extensions) const override;
    std::optional<CFileOutcome> PrepareConversion(COverwriteQuestion& overwrite) override;
    CConversionRun RunConversion(const CRunRequest& request) const override;
    CFileOutcome FinishConversion(const CConversionRun& run) override;
    bool FinishQuietly(const CConversionRun& run) override;
    std::string Activity() const override;

private:
    // Adds every problem of a finished tool run to the outcome; false when
    // the file is to be dropped.
    bool JudgeToolRun(const CConversionRun& run, CFileOutcome& outcome) const;
    // Whether the tool ended with success and its text could be kept so far.
    static bool ToolSucceeded(const CConversionRun& run);
    // Whether, besides, the text took the text file's place.
    static bool RunSucceeded(const CConversionRun& run);
    // How a run of `tool` that reported nothing ended, for the failure
    // message.
    static std::string HowTheToolEnded(const CChildResult& run, const std::string& tool);
    // Runs the tool into `text`, and OCR when it is on.
    void WriteText(CConversionRun& run, const CRunRequest& request, CReplacementFile& text) const;
    // With OCR on, reads the pages that came out without text; any thread.
    void ReadScannedPages(CConversionRun& run, const CRunRequest& request, std::string& text) const;
    // Adds what OCR did, or that the text file came out blank.
    void TellOcrResult(const CConversionRun& run, CFileOutcome& outcome) const;
    void CheckBlankResult(const CConversionRun& run, CFileOutcome& outcome) const;
    // The message of a system error, after `lead` when one is given.
    CMessageBox SystemErrorMessage(int errorCode, const CMessageBox* lead = nullptr) const;
    // A text that could not be written to its folder, with the reason.
    CMessageBox TextNotWrittenMessage(int errorCode) const;
    std::string ToolArgument(std::string_view path) const;

    // The page OCR is reading and how many it reads; 0 when it reads none.
    mutable std::atomic<int> m_nOcrPage{0};
    mutable std::atomic<int> m_nOcrPages{0};
};
