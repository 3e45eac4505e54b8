// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Executables.h"
#include "platform/PathRules.h"

#include <memory>
#include <string>
#include <utility>

class CWorkerPool;

// What every converter shares and nothing changes once files convert: the
// program's own folder (the extraction tool's working folder), the tool's
// name, the extraction workers when there are any, and the path rules. The application fills it in at start-up; what one
// add operation chooses travels with that operation instead.
class CConverterContext
{
public:
    static constexpr const char* kDefaultToolName = CExecutables::kPdftotext;

    explicit CConverterContext(const CPathRules& rules = CPathRules::Native()) : m_pRules(&rules) {}

    const std::string& ProgramFolder() const
    {
        return m_strProgramFolder;
    }
    void SetProgramFolder(std::string folder)
    {
        m_strProgramFolder = std::move(folder);
    }

    const std::string& ToolName() const
    {
        return m_strToolName;
    }
    const CPathRules& PathRules() const
    {
        return *m_pRules;
    }

    // Null when the program has no workers: the tool then runs for each file.
    CWorkerPool* Workers() const
    {
        return m_pWorkers.get();
    }
    void SetWorkers(std::shared_ptr<CWorkerPool> workers)
    {
        m_pWorkers = std::move(workers);
    }

private:
    const CPathRules* m_pRules;
    std::string m_strProgramFolder;
    std::string m_strToolName = kDefaultToolName;
    std::shared_ptr<CWorkerPool> m_pWorkers;
};
