// SPDX-License-Identifier: GPL-3.0-or-later
#include "AddOptions.h"

#include "extract/OcrReader.h"
#include "platform/FileProbe.h"
#include "platform/Settings.h"

#include <algorithm>
#include <thread>

namespace
{
// The values of the program's own key sit in the section without a name.
const std::string kOwnSection;
} // namespace

bool CAddOptions::ReadScannedPages() const
{
    return m_settings.GetInt(kOwnSection, kReadScannedPages) == 1;
}

void CAddOptions::SetReadScannedPages(bool read)
{
    m_settings.SetInt(kOwnSection, kReadScannedPages, read ? 1 : 0);
}

std::string CAddOptions::OcrLanguages() const
{
    std::string languages = m_settings.GetString(kOwnSection, kOcrLanguages);
    return languages.empty() ? "eng" : languages;
}

void CAddOptions::SetOcrLanguages(const std::string& languages)
{
    m_settings.SetString(kOwnSection, kOcrLanguages, languages);
}

// An absent value reads as empty text, and 0 means no limit; a value out of
// range is taken for a slip and gives the default.
int CAddOptions::TimeLimitPerFile() const
{
    if (m_settings.GetString(kOwnSection, kTimeLimitPerFile).empty())
        return CConversionOptions::kDefaultTimeLimitSeconds;
    int seconds = m_settings.GetInt(kOwnSection, kTimeLimitPerFile);
    if (seconds < 0 || seconds > kMaxTimeLimitSeconds)
        return CConversionOptions::kDefaultTimeLimitSeconds;
    return seconds;
}

void CAddOptions::SetTimeLimitPerFile(int seconds)
{
    m_settings.SetInt(kOwnSection, kTimeLimitPerFile, std::clamp(seconds, 0, kMaxTimeLimitSeconds));
}

// Any value but 1 keeps the default.
CConversionOptions::EEngine CAddOptions::ExtractionEngine() const
{
    bool tool = m_settings.GetInt(kOwnSection, kExtractionEngine) ==
                static_cast<int>(CConversionOptions::EEngine::Pdftotext);
    return tool ? CConversionOptions::EEngine::Pdftotext : CConversionOptions::EEngine::Workers;
}

void CAddOptions::SetExtractionEngine(CConversionOptions::EEngine engine)
{
    m_settings.SetInt(kOwnSection, kExtractionEngine, static_cast<int>(engine));
}

bool CAddOptions::GarbledTextCheck() const
{
    return m_settings.GetString(kOwnSection, kGarbledTextCheck).empty() ||
           m_settings.GetInt(kOwnSection, kGarbledTextCheck) != 0;
}

void CAddOptions::SetGarbledTextCheck(bool check)
{
    m_settings.SetInt(kOwnSection, kGarbledTextCheck, check ? 1 : 0);
}

std::string CAddOptions::TextFolder() const
{
    return m_settings.GetString(kOwnSection, kTextFolder);
}

void CAddOptions::SetTextFolder(const std::string& folder)
{
    m_settings.SetString(kOwnSection, kTextFolder, folder);
}

EExistingText CAddOptions::ExistingText() const
{
    int rule = m_settings.GetInt(kOwnSection, kExistingText);
    if (rule < 0 || rule > static_cast<int>(EExistingText::Replace))
        return EExistingText::Ask;
    return static_cast<EExistingText>(rule);
}

void CAddOptions::SetExistingText(EExistingText rule)
{
    m_settings.SetInt(kOwnSection, kExistingText, static_cast<int>(rule));
}

// A value out of range is read as the default.
CTextForm CAddOptions::TextForm() const
{
    CTextForm form;
    int layout = m_settings.GetInt(kOwnSection, kTextLayout);
    if (layout >= 0 && layout <= static_cast<int>(CTextForm::ELayout::Raw))
        form.eLayout = static_cast<CTextForm::ELayout>(layout);
    form.bCrLf = m_settings.GetInt(kOwnSection, kLineEnds) == 1;
    form.bPageBreaks = m_settings.GetString(kOwnSection, kPageBreaks).empty() ||
                       m_settings.GetInt(kOwnSection, kPageBreaks) != 0;
    form.bByteOrderMark = m_settings.GetInt(kOwnSection, kByteOrderMark) == 1;
    return form;
}

void CAddOptions::SetTextForm(const CTextForm& form)
{
    m_settings.SetInt(kOwnSection, kTextLayout, static_cast<int>(form.eLayout));
    m_settings.SetInt(kOwnSection, kLineEnds, form.bCrLf ? 1 : 0);
    m_settings.SetInt(kOwnSection, kPageBreaks, form.bPageBreaks ? 1 : 0);
    m_settings.SetInt(kOwnSection, kByteOrderMark, form.bByteOrderMark ? 1 : 0);
}

bool CAddOptions::ProblemsAtEnd() const
{
    return m_settings.GetInt(kOwnSection, kProblemsAtEnd) == 1;
}

void CAddOptions::SetProblemsAtEnd(bool atEnd)
{
    m_settings.SetInt(kOwnSection, kProblemsAtEnd, atEnd ? 1 : 0);
}

int CAddOptions::ConversionsAtOnce() const
{
    int count = m_settings.GetInt(kOwnSection, kConversionsAtOnce);
    if (count < 1)
        return DefaultConversionsAtOnce();
    return std::min(count, kMaxConversionsAtOnce);
}

int CAddOptions::DefaultConversionsAtOnce()
{
    unsigned cores = std::thread::hardware_concurrency();
    return static_cast<int>(std::clamp(cores, 1u, static_cast<unsigned>(kMaxConversionsAtOnce)));
}

void CAddOptions::SetConversionsAtOnce(int count)
{
    m_settings.SetInt(kOwnSection, kConversionsAtOnce, std::clamp(count, 1, kMaxConversionsAtOnce));
}

std::string CAddOptions::StoredFolder() const
{
    return m_settings.GetString(kOwnSection, kFileOpenPath);
}

void CAddOptions::StoreFolder(const std::string& folder)
{
    m_settings.SetString(kOwnSection, kFileOpenPath, folder);
}

CAddSettings CAddOptions::ForOperation() const
{
    CAddSettings settings;
    settings.nConversionsAtOnce = ConversionsAtOnce();
    settings.bProblemsAtEnd = ProblemsAtEnd();
    settings.conversion.nTimeLimitSeconds = TimeLimitPerFile();
    settings.conversion.form = TextForm();
    settings.conversion.eEngine = ExtractionEngine();
    settings.conversion.bGarbledCheck = GarbledTextCheck();
    settings.eExistingText = ExistingText();
    // Made absolute here, so that the tools, which run elsewhere, find it.
    if (std::string folder = TextFolder(); !folder.empty())
        settings.strTextFolder = CFileProbe::AbsolutePath(folder);
    COcrOptions& ocr = settings.conversion.ocr;
    ocr.bWanted = ReadScannedPages();
    ocr.bAvailable = ocr.bWanted && COcrReader::ToolsAvailable();
    ocr.strLanguages = OcrLanguages();
    return settings;
}
