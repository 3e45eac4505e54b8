// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "extract/WorkerJob.h"
#include "extract/WorkerProtocol.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

// Converts PDF files to text with poppler's own text output, set up exactly
// as pdftotext sets it up, one file after another in one process: the same
// text, the same reports worded the same way, the same exit status. Only one
// may exist at a time, as poppler reports its problems to one callback of
// the whole process.
class PDFDoc;

class CPopplerExtraction
{
public:
    // Takes each frame to send; the text in Text frames, each line of
    // poppler's reports in a Report frame as soon as it is made.
    using CSend = std::function<void(EWorkerFrame, std::string_view)>;

    // pdftotext's exit statuses.
    static constexpr int kSuccess = 0;
    static constexpr int kCannotOpenPdf = 1;
    static constexpr int kCannotWriteText = 2;
    static constexpr int kOtherFailure = 99;

    explicit CPopplerExtraction(CSend send);
    ~CPopplerExtraction();
    CPopplerExtraction(const CPopplerExtraction&) = delete;
    CPopplerExtraction& operator=(const CPopplerExtraction&) = delete;

    // Sends the job's text and reports; returns the exit status.
    int Convert(const CWorkerJob& job);

private:
    // The document opened as pdftotext opens it, with the first of the
    // job's passwords that opens a locked one; null when none does.
    std::unique_ptr<PDFDoc> Open(const CWorkerJob& job);
    // One try at opening the document, its reports held back.
    std::unique_ptr<PDFDoc> TryOpen(const std::string& path, const std::string* ownerPassword,
                                    const std::string* userPassword);
    // Whether the document failed to open for want of the right password.
    bool IsLocked(const PDFDoc& doc) const;
    // Sends the reports held back from the try that counts.
    void SendHeldReports();
    static void OnText(void* self, const char* text, int length);
    static void OnReport(int category, long long offset, const char* message);
    void FlushText();

    CSend m_send;
    std::string m_strText;
    // While a document is being opened, its reports wait here.
    bool m_bHoldingReports = false;
    std::string m_strHeldReports;
};
