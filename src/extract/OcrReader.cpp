// SPDX-License-Identifier: GPL-3.0-or-later
#include "OcrReader.h"

#include "platform/FileCloser.h"
#include "platform/FileProbe.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>
#include <utility>
#include <vector>

namespace
{
namespace fs = std::filesystem;

// A folder of its own under the system's temporary folder, removed with
// everything in it when the object goes.
class CScratchFolder
{
public:
    CScratchFolder()
    {
        std::random_device random;
        std::error_code error;
        for (int attempt = 0; attempt < 16 && m_path.empty(); ++attempt)
        {
            fs::path candidate =
                fs::temp_directory_path(error) /
                ("zelto-ocr-" + std::to_string(random()) + std::to_string(random()));
            if (!error && fs::create_directory(candidate, error) && !error)
                m_path = candidate;
        }
    }
    ~CScratchFolder()
    {
        std::error_code ignored;
        if (!m_path.empty())
            fs::remove_all(m_path, ignored);
    }
    CScratchFolder(const CScratchFolder&) = delete;
    CScratchFolder& operator=(const CScratchFolder&) = delete;

    bool IsMade() const { return !m_path.empty(); }
    std::string operator/(const std::string& name) const { return (m_path / name).string(); }

private:
    fs::path m_path;
};

// The pages of pdftotext's text, each without its form feed; text after the
// last form feed is a page only when it is not empty.
std::vector<std::string> SplitPages(const std::string& text)
{
    std::vector<std::string> pages;
    std::size_t start = 0;
    while (start < text.size())
    {
        std::size_t end = text.find('\f', start);
        if (end == std::string::npos)
        {
            pages.push_back(text.substr(start));
            break;
        }
        pages.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return pages;
}

// Tesseract spreads one page over every core unless told otherwise, and is
// then several times slower on a machine with two cores, alone or beside
// other runs; each run keeps to one thread.
const CChildEnvironment kOneThread = {{"OMP_THREAD_LIMIT", "1"}};

// Tesseract ends a page with a form feed of its own; the page is given one
// form feed, as pdftotext gives it.
std::string WithoutPageEnd(std::string text)
{
    while (!text.empty() && (text.back() == '\f' || text.back() == '\n'))
        text.pop_back();
    return text.empty() ? text : text + "\n";
}
} // namespace

COcrReader::COcrReader(const COcrOptions& options, std::string workingFolder,
                       const CCancelFlag& cancel, std::function<void(int, int)> onPage)
    : m_options(options), m_strWorkingFolder(std::move(workingFolder)), m_cancel(cancel),
      m_onPage(std::move(onPage))
{
}

bool COcrReader::ReadWhole(const std::string& path, std::string& bytes)
{
    CFilePointer file(CFileProbe::OpenForReading(path));
    if (!file)
        return false;
    bytes.clear();
    char buffer[16384];
    while (std::size_t count = std::fread(buffer, 1, sizeof buffer, file.get()))
        bytes.append(buffer, count);
    return std::ferror(file.get()) == 0;
}

bool COcrReader::IsBlank(std::string_view page)
{
    return page.find_first_not_of(" \t\r\n\f\v") == std::string_view::npos;
}

COcrRun COcrReader::ReadPages(const std::string& pdfPath, std::string& text,
                              const std::vector<int>& garbledPages) const
{
    COcrRun run;
    std::vector<std::string> pages = SplitPages(text);
    std::vector<std::size_t> toRead;
    auto garbled = garbledPages.begin();
    for (std::size_t i = 0; i < pages.size(); ++i)
    {
        const int page = static_cast<int>(i) + 1;
        while (garbled != garbledPages.end() && *garbled < page)
            ++garbled;
        const bool blank = IsBlank(pages[i]);
        run.nBlankPages += blank ? 1 : 0;
        if (blank || (garbled != garbledPages.end() && *garbled == page))
            toRead.push_back(i);
    }
    run.nPages = static_cast<int>(pages.size());
    if (toRead.empty())
        return run;
    CScratchFolder scratch;
    if (!scratch.IsMade())
    {
        run.bFailed = true;
        run.strFailedTool = kRenderTool;
        run.failure.eFailure = CChildResult::EFailure::Start;
        run.failure.nErrorCode = EIO;
        return run;
    }
    const int count = static_cast<int>(toRead.size());
    for (int k = 0; k < count; ++k)
    {
        if (m_onPage)
            m_onPage(k + 1, count);
        std::string pageText;
        const std::size_t index = toRead[k];
        const int page = static_cast<int>(index) + 1;
        if (!ReadPage(pdfPath, page, scratch / ("page-" + std::to_string(page)), pageText, run))
            return run;
        if (IsBlank(pageText))
            continue;
        if (IsBlank(pages[index]))
            ++run.nPagesRead;
        else
            run.mendedPages.push_back(page);
        pages[index] = WithoutPageEnd(std::move(pageText));
    }
    text.clear();
    for (const std::string& page : pages)
        text += page + '\f';
    return run;
}

// Annotations are left out of the picture, as pdftotext leaves them out of
// the text: the frames documents draw around their links otherwise cut
// through the lines tesseract reads.
bool COcrReader::ReadPage(const std::string& pdfPath, int page, const std::string& base,
                          std::string& pageText, COcrRun& run) const
{
    std::string number = std::to_string(page);
    if (!RunTool(kRenderTool,
                 {kRenderTool, "-r", std::to_string(kDotsPerInch), "-gray", "-f", number, "-l",
                  number, "-singlefile", "-hide-annotations", pdfPath, base},
                 run))
        return false;
    if (!RunTool(kRecognizeTool,
                 {kRecognizeTool, base + ".pgm", base, "-l", m_options.strLanguages}, run,
                 kOneThread))
        return false;
    if (!ReadWhole(base + ".txt", pageText))
    {
        // Tesseract ended with success but left nothing to read.
        run.bFailed = true;
        run.strFailedTool = kRecognizeTool;
        run.failure.nExitStatus = 0;
        return false;
    }
    return true;
}

bool COcrReader::RunTool(const char* tool, const std::vector<std::string>& arguments, COcrRun& run,
                         CChildEnvironment environment) const
{
    CChildRequest request;
    request.arguments = arguments;
    request.environment = std::move(environment);
    request.workingFolder = m_strWorkingFolder;
    request.cancel = &m_cancel;
    request.nTimeLimitSeconds = m_nTimeLimitSeconds;
    CChildResult result = CChildProcess::Run(request);
    if (result.bCancelled || result.bTimedOut)
    {
        run.bCancelled = result.bCancelled;
        run.bTimedOut = result.bTimedOut;
        return false;
    }
    if (result.eFailure == CChildResult::EFailure::None && result.nExitStatus == 0)
        return true;
    run.bFailed = true;
    run.strFailedTool = tool;
    run.failure = std::move(result);
    return false;
}

bool COcrReader::ToolsAvailable()
{
    return CExecutables::IsOnPath(kRenderTool) && CExecutables::IsOnPath(kRecognizeTool);
}
