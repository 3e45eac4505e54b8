// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "extract/ConversionOptions.h"
#include "extract/OverwriteQuestion.h"

#include <string>

class CSettings;

// What one add operation follows from start to end, read when it starts.
struct CAddSettings
{
    int nConversionsAtOnce = 1;
    // Messages about single files go to the report without a box.
    bool bProblemsAtEnd = false;
    EExistingText eExistingText = EExistingText::Ask;
    // Where the texts go; empty beside their sources.
    std::string strTextFolder;
    CConversionOptions conversion;
};

// The person's choices of how files are added, kept as per-user values in
// the program's own section of the settings.
class CAddOptions
{
public:
    // The per-user value (in the program's own section) holding the folder
    // last used for adding.
    static constexpr const char* kFileOpenPath = "File Open Path";
    // The per-user value (in the program's own section) holding how many
    // files are converted at once; absent or below 1 means one per core.
    static constexpr const char* kConversionsAtOnce = "Conversions at once";
    static constexpr int kMaxConversionsAtOnce = 64;
    // The per-user value (in the program's own section) saying whether the
    // messages about single files of an add operation that meets more than
    // one file go to the operation's report instead of a box each (1) or
    // not (0, the default).
    static constexpr const char* kProblemsAtEnd = "Problems at end";
    // The per-user values (in the program's own section) saying whether
    // pages without text are read with OCR (1) or not (0, the default), and
    // in which of tesseract's languages ("eng" when absent).
    static constexpr const char* kReadScannedPages = "Read scanned pages";
    static constexpr const char* kOcrLanguages = "OCR languages";
    // The per-user value (in the program's own section) holding how many
    // seconds each tool run of a file may take; 0 for no limit, absent for
    // the default.
    static constexpr const char* kTimeLimitPerFile = "Time limit per file";
    static constexpr int kMaxTimeLimitSeconds = 24 * 60 * 60;
    // The per-user values (in the program's own section) of the text's
    // form: "Text layout" 0 physical (the default), 1 reading order, 2 raw;
    // "Line ends" 0 LF (the default), 1 CR LF; "Page breaks" 1 a form feed
    // after each page (the default, also when absent), 0 none; "Byte order
    // mark" 0 none (the default), 1 a UTF-8 byte order mark.
    static constexpr const char* kTextLayout = "Text layout";
    // The per-user value (in the program's own section) of what is done
    // with a text file that is there already, as EExistingText: 0 ask (the
    // default), 1 keep, 2 replace when the PDF is newer, 3 replace.
    static constexpr const char* kExistingText = "Existing text";
    // The per-user value (in the program's own section) naming the folder
    // the texts go to, each added folder mirrored there; empty (the
    // default) puts each text beside its PDF.
    static constexpr const char* kTextFolder = "Text folder";
    // The per-user value (in the program's own section) choosing what
    // turns PDF files into text, as CConversionOptions::EEngine: 0 the
    // extraction workers where they are installed (the default), 1 always
    // pdftotext.
    static constexpr const char* kExtractionEngine = "Extraction engine";
    // The per-user value (in the program's own section) saying whether each
    // page's text is checked for garbage: 1 (the default, also when absent)
    // or 0.
    static constexpr const char* kGarbledTextCheck = "Garbled text check";
    static constexpr const char* kLineEnds = "Line ends";
    static constexpr const char* kPageBreaks = "Page breaks";
    static constexpr const char* kByteOrderMark = "Byte order mark";

    explicit CAddOptions(CSettings& settings) : m_settings(settings) {}

    // How many files an add operation converts at once, from the settings.
    int ConversionsAtOnce() const;
    static int DefaultConversionsAtOnce();
    void SetConversionsAtOnce(int count);

    bool ProblemsAtEnd() const;
    void SetProblemsAtEnd(bool atEnd);
    bool ReadScannedPages() const;
    void SetReadScannedPages(bool read);
    std::string OcrLanguages() const;
    void SetOcrLanguages(const std::string& languages);
    int TimeLimitPerFile() const;
    void SetTimeLimitPerFile(int seconds);
    std::string TextFolder() const;
    void SetTextFolder(const std::string& folder);
    EExistingText ExistingText() const;
    void SetExistingText(EExistingText rule);
    CTextForm TextForm() const;
    void SetTextForm(const CTextForm& form);
    CConversionOptions::EEngine ExtractionEngine() const;
    void SetExtractionEngine(CConversionOptions::EEngine engine);
    bool GarbledTextCheck() const;
    void SetGarbledTextCheck(bool check);

    // The settings of an add operation that starts now. Whether the OCR
    // programs are there is looked at here, once per operation, so that a
    // missing one is told about once.
    CAddSettings ForOperation() const;

    // The folder last used for adding; empty when none is stored.
    std::string StoredFolder() const;
    void StoreFolder(const std::string& folder);

private:
    CSettings& m_settings;
};
