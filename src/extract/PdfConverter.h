#pragma once

#include "Converter.h"

class CMessageBox;

// Turns a PDF file into a text file beside it with the external tool
// pdftotext, run with -layout.
class CPdfConverter : public CConverter
{
public:
    explicit CPdfConverter(std::shared_ptr<const CConverterContext> context);
    CPdfConverter(const std::string& path, std::shared_ptr<const CConverterContext> context);

    std::unique_ptr<CConverter> Create(const std::string& path) const override;
    bool Accepts(const std::string& path) const override;
    void AddExtensions(std::list<std::string>& extensions) const override;
    void PrepareConversion() override;
    CConversionRun RunConversion(const CCancelFlag& cancel) const override;
    void FinishConversion(const CConversionRun& run) override;
    bool FinishQuietly(const CConversionRun& run) override;
    void AbandonConversion(const CConversionRun& run) override;

private:
    // Tells the user of every problem of a finished tool run and raises
    // CUserException when the file is to be dropped.
    void JudgeToolRun(const CConversionRun& run) const;
    // Whether the tool ended with success and left a text file.
    bool RunSucceeded(const CConversionRun& run) const;
    // How a run that reported nothing ended, for the failure message.
    std::string HowTheToolEnded(const CChildResult& run) const;
    // Tells the user when the text file came out blank.
    void CheckBlankResult() const;
    // Tells the user of a system error, after `lead` when one is given, and
    // raises CUserException.
    [[noreturn]] void ReportSystemError(int errorCode, const CMessageBox* lead = nullptr) const;
    void RemovePartialText(const CConversionRun& run) const;
    std::string ToolArgument(const std::string& path) const;
};
