// SPDX-License-Identifier: GPL-3.0-or-later
#include "LockedPdfs.h"

#include "PdfMaker.h"
#include "extract/ConverterContext.h"

std::string CLockedPdfs::Source()
{
    return CPdfMaker::Build({"Statement of account\nJanuary",
                             "Left column    Right column\n"
                             "12.50          Opening balance",
                             "Closing balance\n99.99"});
}

bool CLockedPdfs::Lock(const std::string& source, const std::string& locked,
                       const std::vector<std::string>& encryption)
{
    // RC4 and 40-bit keys are what old archives hold; qpdf makes them only
    // when told that it may.
    std::vector<std::string> arguments{"qpdf", "--allow-weak-crypto", "--encrypt"};
    arguments.insert(arguments.end(), encryption.begin(), encryption.end());
    arguments.insert(arguments.end(), {"--", source, locked});
    CChildResult result = CChildProcess::Run(arguments, "", nullptr);
    // 3: done, with warnings.
    return result.eFailure == CChildResult::EFailure::None &&
           (result.nExitStatus == 0 || result.nExitStatus == 3);
}

CChildResult CLockedPdfs::Pdftotext(const std::string& pdf, const std::vector<std::string>& options,
                                    std::string& text)
{
    CChildRequest request;
    request.arguments = {CConverterContext::kDefaultToolName, "-layout"};
    request.arguments.insert(request.arguments.end(), options.begin(), options.end());
    request.arguments.insert(request.arguments.end(), {pdf, "-"});
    request.onOutput = [&text](const char* bytes, std::size_t count)
    {
        text.append(bytes, count);
        return 0;
    };
    return CChildProcess::Run(request);
}
