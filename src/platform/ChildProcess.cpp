// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChildProcess.h"

#include <cstring>

CChildResult CChildProcess::Run(const std::vector<std::string>& arguments,
                                const std::string& workingFolder, const CCancelFlag* cancel)
{
    CChildRequest request;
    request.arguments = arguments;
    request.workingFolder = workingFolder;
    request.cancel = cancel;
    return Run(request);
}

// The running and waiting differ by system (posix/ and win32/); what is
// kept of the error stream does not.
void CChildProcess::AppendChunk(std::string& captured, const char* chunk, size_t length)
{
    // A zero byte ends what this chunk contributes.
    const void* zero = std::memchr(chunk, '\0', length);
    if (zero)
        length = static_cast<const char*>(zero) - chunk;
    captured.append(chunk, length);
}
