// SPDX-License-Identifier: GPL-3.0-or-later
#include "PopplerExtraction.h"

#include <Error.h>
#include <GlobalParams.h>
#include <PDFDoc.h>
#include <PDFDocFactory.h>
#include <TextOutputDev.h>
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
    std::unique_ptr<PDFDoc> doc =
        PDFDocFactory().createPDFDoc(GooString(job.strPdfPath), std::nullopt, std::nullopt);
    if (!doc->isOk())
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
    TextOutputDev text(&CPopplerExtraction::OnText, this, job.bPhysicalLayout, 0.0, job.bRawOrder,
                       false);
    if (!text.isOk())
        return kCannotWriteText;
    text.setTextEOL(EndOfLine(job.eEndOfLine));
    if (!job.bPageBreaks)
        text.setTextPageBreaks(false);
    doc->displayPages(&text, firstPage, lastPage, kResolution, kResolution, 0, true, false, false);
    FlushText();
    return kSuccess;
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
    g_pCurrent->m_send(EWorkerFrame::Report, line);
}
