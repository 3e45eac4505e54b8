// SPDX-License-Identifier: GPL-3.0-or-later
#include "PopplerExtraction.h"

#include "FontCheckingTextOutput.h"

#include <Error.h>
#include <ErrorCodes.h>
#include <GlobalParams.h>
#include <PDFDoc.h>
#include <PDFDocFactory.h>
#include <goo/GooString.h>

#include <iterator>
#include <memory>
#include <optional>
#include <string>

namespace
{
// Text goes out in frames of about this size.
constexpr std::size_t kTextFrameSize = 64 * 1024;
// pdftotext's resolution for the page's coordinates.
constexpr double kResolution = 72.0;
// The text encoding poppler uses when none is named.
constexpr const char* kDefaultEncoding = "UTF-8";

// poppler's names of its report categories, in the order of ErrorCategory.
constexpr const char* kCategoryNames[] = {
    "Syntax Warning", "Syntax Error",     "Config Error",          "Command Line Error",
    "I/O Error",      "Permission Error", "Unimplemented Feature", "Internal Error"};

CPopplerExtraction* g_pCurrent = nullptr;

EndOfLineKind EndOfLine(CWorkerJob::EEndOfLine eol)
{
    switch (eol)
    {
    case CWorkerJob::EEndOfLine::Dos:
        return eolDOS;
    case CWorkerJob::EEndOfLine::Mac:
        return eolMac;
    case CWorkerJob::EEndOfLine::Unix:
        break;
    }
    return eolUnix;
}
} // namespace

CPopplerExtraction::CPopplerExtraction(CSend send) : m_send(std::move(send))
{
    if (!globalParams)
        globalParams = std::make_unique<GlobalParams>();
    g_pCurrent = this;
    setErrorCallback(
        [](ErrorCategory category, Goffset offset, const char* message)
        { OnReport(static_cast<int>(category), static_cast<long long>(offset), message); });
}

CPopplerExtraction::~CPopplerExtraction()
{
    setErrorCallback(nullptr);
    g_pCurrent = nullptr;
}

// The steps of pdftotext writing a PDF's whole text to its standard output,
// in the same order, with the same checks.
int CPopplerExtraction::Convert(const CWorkerJob& job)
{
    m_strText.clear();
    globalParams->setTextEncoding(job.strEncoding.empty() ? kDefaultEncoding
                                                          : job.strEncoding.c_str());
    if (!globalParams->getTextEncoding())
    {
        error(errCommandLine, -1, "Couldn't get text encoding");
        return kOtherFailure;
    }
    std::unique_ptr<PDFDoc> doc = Open(job);
    if (!doc)
        return kCannotOpenPdf;
    int firstPage = 1;
    int lastPage = doc->getNumPages();
    if (lastPage < firstPage)
    {
        error(errCommandLine, -1,
              "Wrong page range given: the first page ({0:d}) can not be after the last page "
              "({1:d}).",
              firstPage, lastPage);
        return kOtherFailure;
    }
    CFontCheckingTextOutput text(&CPopplerExtraction::OnText, this, job.bPhysicalLayout,
                                 job.bRawOrder);
    if (!text.isOk())
        return kCannotWriteText;
    text.setTextEOL(EndOfLine(job.eEndOfLine));
    if (!job.bPageBreaks)
        text.setTextPageBreaks(false);
    doc->displayPages(&text, firstPage, lastPage, kResolution, kResolution, 0, true, false, false);
    FlushText();
    if (!text.UnmappedFontPages().empty())
        m_send(EWorkerFrame::Fonts, CWorkerProtocol::PagesPayload(text.UnmappedFontPages()));
    return kSuccess;
}

// pdftotext opens a file once, with the password it was given with -upw or
// -opw, or none. A locked file is tried here with none, then with each
// password as a user's password and as an owner's, each try just as
// pdftotext would make it; only the reports of the try that counts are sent,
// so that text, reports and status are pdftotext's with that password.
std::unique_ptr<PDFDoc> CPopplerExtraction::Open(const CWorkerJob& job)
{
    std::unique_ptr<PDFDoc> doc = TryOpen(job.strPdfPath, nullptr, nullptr);
    if (doc->isOk() || !IsLocked(*doc))
    {
        SendHeldReports();
        return doc->isOk() ? std::move(doc) : nullptr;
    }
    EPdfLock lock = EPdfLock::NeedsPassword;
    for (const std::string& password : job.passwords)
    {
        lock = EPdfLock::WrongPassword;
        for (bool owner : {false, true})
        {
            doc = TryOpen(job.strPdfPath, owner ? &password : nullptr, owner ? nullptr : &password);
            if (doc->isOk())
            {
                SendHeldReports();
                m_send(EWorkerFrame::Lock, CWorkerProtocol::LockPayload(EPdfLock::Unlocked));
                return doc;
            }
        }
    }
    SendHeldReports();
    m_send(EWorkerFrame::Lock, CWorkerProtocol::LockPayload(lock));
    return nullptr;
}

std::unique_ptr<PDFDoc> CPopplerExtraction::TryOpen(const std::string& path,
                                                    const std::string* ownerPassword,
                                                    const std::string* userPassword)
{
    auto password = [](const std::string* given) -> std::optional<GooString>
    {
        if (!given)
            return std::nullopt;
        return GooString(*given);
    };
    m_strHeldReports.clear();
    m_bHoldingReports = true;
    std::unique_ptr<PDFDoc> doc = PDFDocFactory().createPDFDoc(
        GooString(path), password(ownerPassword), password(userPassword));
    m_bHoldingReports = false;
    return doc;
}

// poppler takes a document whose security handler it does not know for an
// encrypted one too; only its refusal of the password marks a lock a
// password can open.
bool CPopplerExtraction::IsLocked(const PDFDoc& doc) const
{
    return doc.getErrorCode() == errEncrypted &&
           m_strHeldReports.find("Command Line Error: Incorrect password\n") != std::string::npos;
}

void CPopplerExtraction::SendHeldReports()
{
    std::size_t start = 0;
    while (start < m_strHeldReports.size())
    {
        std::size_t end = m_strHeldReports.find('\n', start);
        end = end == std::string::npos ? m_strHeldReports.size() : end + 1;
        m_send(EWorkerFrame::Report, std::string_view(m_strHeldReports).substr(start, end - start));
        start = end;
    }
    m_strHeldReports.clear();
}

void CPopplerExtraction::OnText(void* self, const char* text, int length)
{
    auto* extraction = static_cast<CPopplerExtraction*>(self);
    extraction->m_strText.append(text, static_cast<std::size_t>(length));
    if (extraction->m_strText.size() >= kTextFrameSize)
        extraction->FlushText();
}

void CPopplerExtraction::FlushText()
{
    if (!m_strText.empty())
        m_send(EWorkerFrame::Text, m_strText);
    m_strText.clear();
}

// Worded as poppler words a report on the error stream when no callback is
// set, which is what pdftotext prints.
void CPopplerExtraction::OnReport(int category, long long offset, const char* message)
{
    if (!g_pCurrent || category < 0 || category >= static_cast<int>(std::size(kCategoryNames)))
        return;
    std::string line = kCategoryNames[category];
    if (offset >= 0)
        line += " (" + std::to_string(offset) + ")";
    line += ": ";
    line += message;
    line += '\n';
    if (g_pCurrent->m_bHoldingReports)
        g_pCurrent->m_strHeldReports += line;
    else
        g_pCurrent->m_send(EWorkerFrame::Report, line);
}
