// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileCounter.h"

#include "PathFeed.h"
#include "doc/FolderWalker.h"
#include "doc/TextPlacement.h"
#include "platform/FileCloser.h"
#include "platform/FileProbe.h"
#include "platform/InterruptSignals.h"

CFileCounter::CFileCounter(CInputs inputs) : m_inputs(std::move(inputs))
{
    m_thread = std::thread(
        [this]
        {
            CInterruptSignals::HoldInThisThread();
            Count();
        });
}

CFileCounter::~CFileCounter()
{
    m_bStop = true;
    m_thread.join();
}

// Nothing here may end the program: a count that fails only leaves the time
// left untold.
void CFileCounter::Count()
{
    try
    {
        CFolderWalker walker;
        CTextPlacement placement(m_inputs.strTextFolder, CPathRules::Native());
        for (const std::string& path : m_inputs.paths)
            CountPath(path, walker, placement);
        if (m_inputs.listFile)
            CountList(walker, placement);
        m_bFinished = !m_bStop;
    }
    catch (...)
    {
    }
}

void CFileCounter::CountPath(const std::string& path, CFolderWalker& walker,
                             const CTextPlacement& placement)
{
    if (m_bStop || CFileProbe::IsGone(path))
        return;
    if (!CFileProbe::IsFolder(path))
    {
        if (!m_inputs.shard || m_inputs.shard->Takes(path))
            ++m_nFound;
        return;
    }
    if (walker.IsBeingWalked(path) || placement.IsTextFolder(path))
        return;
    walker.Walk(path, [&](const std::string& entry) { CountPath(entry, walker, placement); });
}

void CFileCounter::CountList(CFolderWalker& walker, const CTextPlacement& placement)
{
    CFilePointer list(CFileProbe::OpenForReading(*m_inputs.listFile));
    if (!list)
        return;
    CPathFeed feed(CPathFeed::FromFile(list.get()), m_inputs.bNulSeparated);
    std::string path;
    while (!m_bStop && feed.Next(path))
        CountPath(path, walker, placement);
}
