// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Converter.h"
#include "PdfTextRun.h"

// Turns a PDF file into a text file with the external tool pdftotext, or an
// extraction worker that gives its text, in the form the add operation asks
// for (by default -layout), the text file replaced whole or not at all. The
// run is CPdfTextRun's, its judgement CPdfRunJudge's.
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
    std::optional<CMessageCall> Activity() const override;

private:
    mutable COcrProgress m_ocrProgress;
};
