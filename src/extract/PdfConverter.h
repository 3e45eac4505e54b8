#pragma once

#include "Converter.h"
#include "platform/ChildProcess.h"
#include "platform/FileProbe.h"

#include <optional>

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
    void Convert() override;
    void PrepareConversion() override;
    CConversionRun RunConversion(const CCancelFlag& cancel) const override;
    void FinishConversion(const CConversionRun& run) override;
    void AbandonConversion(const CConversionRun& run) override;

    // Runs the tool while the user interface stays alive and judges what it
    // reported. Returns when the file is to be listed.
    void RunExtractor(const std::string& source, const std::string& text);

    // The tool run alone: no messages, safe on any thread.
    CChildResult RunTool(const std::string& source, const std::string& text,
                         const CCancelFlag* cancel) const;
    // Judges a finished tool run: tells the user of every problem and raises
    // CUserException when the file is to be dropped. `textBefore` is the
    // text file's stamp from before the run, used to tell whether a
    // cancelled run left a partly written file.
    void JudgeToolRun(const CChildResult& run, const std::string& text,
                      const std::optional<CFileStamp>& textBefore) const;
    // Tells the user when the text file came out blank.
    void CheckBlankResult() const;

    // Tells the user of a system error, after `lead` when one is given, and
    // raises CUserException.
    [[noreturn]] void ReportSystemError(int errorCode, const CMessageBox* lead = nullptr) const;

private:
    static void RemovePartialText(const std::string& text,
                                  const std::optional<CFileStamp>& textBefore);
    std::string ToolArgument(const std::string& path) const;
};
