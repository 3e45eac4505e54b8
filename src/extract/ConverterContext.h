#pragma once

#include "OcrOptions.h"
#include "platform/PathRules.h"

#include <string>
#include <utility>

class CPrompts;

// What every converter shares: where to reach the user, the program's own
// folder (the extraction tool's working folder), the tool's name and the
// path rules. The application fills it in at start-up.
class CConverterContext
{
public:
#ifdef _WIN32
    static constexpr const char* kDefaultToolName = "pdftotext.exe";
#else
    static constexpr const char* kDefaultToolName = "pdftotext";
#endif

    explicit CConverterContext(CPrompts* prompts = nullptr,
                               const CPathRules& rules = CPathRules::Native())
        : m_pPrompts(prompts), m_pRules(&rules)
    {
    }

    CPrompts* Prompts() const { return m_pPrompts; }
    void SetPrompts(CPrompts* prompts) { m_pPrompts = prompts; }

    const std::string& ProgramFolder() const { return m_strProgramFolder; }
    void SetProgramFolder(std::string folder) { m_strProgramFolder = std::move(folder); }

    const std::string& ToolName() const { return m_strToolName; }
    const CPathRules& PathRules() const { return *m_pRules; }

    // How the running add operation reads pages without text; set before
    // its conversions start.
    const COcrOptions& Ocr() const { return m_ocr; }
    void SetOcr(COcrOptions options)
    {
        m_ocr = std::move(options);
        m_bOcrMissingTold = false;
    }
    // True the first time it is asked after SetOcr: the person is told once
    // per operation that OCR cannot run. User's thread only.
    bool TellOcrMissingOnce() const { return !std::exchange(m_bOcrMissingTold, true); }

private:
    CPrompts* m_pPrompts;
    const CPathRules* m_pRules;
    std::string m_strProgramFolder;
    std::string m_strToolName = kDefaultToolName;
    COcrOptions m_ocr;
    mutable bool m_bOcrMissingTold = false;
};
