#pragma once

#include <string>
#include <string_view>

// What the extraction tool wrote on its error stream, and how it is judged.
class CExtractionReport
{
public:
    // A report holding this text describes a problem after which the tool
    // still produced its output. Letter case matters.
    static constexpr std::string_view kContinuingMarker = "continuing anyway";

    // How much of a report a message box shows.
    static constexpr int kMaxShownLines = 25;
    static constexpr std::size_t kMaxShownChars = 4000;

    explicit CExtractionReport(std::string captured);

    bool IsEmpty() const { return m_strCaptured.empty(); }

    // The report cut just before its last line feed (the last line feed and
    // whatever follows it are dropped); a report without one stays whole.
    const std::string& Cut() const { return m_strCut; }

    bool IsWarningOnly() const;

    // The cut report shortened to a readable size for a message box, with a
    // last line telling how many lines were left out.
    std::string ForDisplay() const;

private:
    std::string m_strCaptured;
    std::string m_strCut;
};
