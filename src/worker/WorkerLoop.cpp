// SPDX-License-Identifier: GPL-3.0-or-later
#include "WorkerLoop.h"

#include "PopplerExtraction.h"
#include "extract/WorkerJob.h"

#include <cerrno>
#include <string>
#include <unistd.h>
#include <vector>

int CWorkerLoop::Run()
{
    CPopplerExtraction extraction([this](EWorkerFrame kind, std::string_view payload)
                                  { Send(kind, payload); });
    Send(EWorkerFrame::Hello, CWorkerProtocol::kVersion);
    CFrameReader reader;
    char chunk[64 * 1024];
    // The passwords sent for the next request alone.
    std::vector<std::string> passwords;
    while (!m_bBroken)
    {
        EWorkerFrame kind;
        std::string payload;
        while (reader.Next(kind, payload))
        {
            if (kind == EWorkerFrame::Passwords)
            {
                passwords = CWorkerProtocol::RequestArguments(payload);
                continue;
            }
            if (kind != EWorkerFrame::Request)
                return 1;
            std::optional<CWorkerJob> job =
                CWorkerJob::FromToolArguments(CWorkerProtocol::RequestArguments(payload));
            if (!job)
                Send(EWorkerFrame::Unsupported, {});
            else
            {
                job->passwords = std::move(passwords);
                int status = extraction.Convert(*job);
                SendAll(CWorkerProtocol::EndFrame(status));
            }
            passwords.clear();
        }
        ssize_t count = ::read(m_nInput, chunk, sizeof chunk);
        if (count == 0)
            return 0;
        if (count < 0 && errno != EINTR)
            return 1;
        if (count > 0)
            reader.Add(chunk, static_cast<std::size_t>(count));
        if (reader.IsBroken())
            return 1;
    }
    return 1;
}

void CWorkerLoop::Send(EWorkerFrame kind, std::string_view payload)
{
    SendAll(CWorkerProtocol::Frame(kind, payload));
}

void CWorkerLoop::SendAll(std::string_view bytes)
{
    while (!bytes.empty() && !m_bBroken)
    {
        ssize_t written = ::write(m_nOutput, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
        {
            // Nobody reads the answers any more; the loop ends.
            m_bBroken = true;
            return;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}
