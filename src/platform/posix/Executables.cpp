// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Executables.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

// Looking a program up here, rather than leaving it to exec, gives a
// reliable error number when it is missing.
int CExecutables::Find(const std::string& name, std::string& found)
{
    if (name.find('/') != std::string::npos)
    {
        found = name;
        return 0;
    }
    const char* pathVariable = std::getenv("PATH");
    std::string searchPath = pathVariable ? pathVariable : "/usr/local/bin:/usr/bin:/bin";
    int error = ENOENT;
    size_t start = 0;
    for (;;)
    {
        size_t end = searchPath.find(':', start);
        std::string folder = searchPath.substr(start, end == std::string::npos ? end : end - start);
        std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + name;
        struct stat status;
        if (::stat(candidate.c_str(), &status) == 0 && S_ISREG(status.st_mode))
        {
            if (::access(candidate.c_str(), X_OK) == 0)
            {
                found = candidate;
                return 0;
            }
            error = EACCES;
        }
        if (end == std::string::npos)
            return error;
        start = end + 1;
    }
}
