// SPDX-License-Identifier: GPL-3.0-or-later
#include "WorkerJob.h"

namespace
{
std::optional<CWorkerJob::EEndOfLine> EndOfLine(const std::string& name)
{
    if (name == "unix")
        return CWorkerJob::EEndOfLine::Unix;
    if (name == "dos")
        return CWorkerJob::EEndOfLine::Dos;
    if (name == "mac")
        return CWorkerJob::EEndOfLine::Mac;
    return std::nullopt;
}
} // namespace

std::optional<CWorkerJob> CWorkerJob::FromToolArguments(const std::vector<std::string>& arguments)
{
    CWorkerJob job;
    std::vector<std::string> files;
    for (std::size_t i = 1; i < arguments.size(); ++i)
    {
        const std::string& argument = arguments[i];
        bool hasValue = i + 1 < arguments.size();
        if (argument == "-layout")
            job.bPhysicalLayout = true;
        else if (argument == "-raw")
            job.bRawOrder = true;
        else if (argument == "-nopgbrk")
            job.bPageBreaks = false;
        else if (argument == "-enc" && hasValue && !arguments[i + 1].empty())
            job.strEncoding = arguments[++i];
        else if (argument == "-eol" && hasValue && EndOfLine(arguments[i + 1]))
            job.eEndOfLine = *EndOfLine(arguments[++i]);
        else if (argument.empty() || argument.front() != '-' || argument == "-")
            files.push_back(argument);
        else
            return std::nullopt;
    }
    // Standard input is not a file a worker can open.
    if (files.size() != 2 || files[0] == "-" || files[0].empty() || files[1] != "-")
        return std::nullopt;
    job.strPdfPath = files[0];
    return job;
}
