// SPDX-License-Identifier: GPL-3.0-or-later
// zelto-extract: converts PDF files to text from scripts and servers, with
// the rules of the window and no display.
#include "ExtractCommand.h"
#include "extract/WorkerPool.h"
#include "platform/FileProbe.h"
#include "platform/InterruptSignals.h"
#include "platform/MessageTable.h"
#include "platform/Terminal.h"

#include <cstdlib>
#include <exception>

int main(int argc, char** argv)
{
    CTerminal::Prepare();
    CInterruptSignals::Install();
    CCommandStreams streams;
    streams.writeOutput = [](std::string_view text)
    { CTerminal::Write(CTerminal::EStream::Output, text); };
    streams.writeError = [](std::string_view text)
    { CTerminal::Write(CTerminal::EStream::Error, text); };
    streams.readInput = CTerminal::ReadInput;
    streams.bInputIsTerminal = CTerminal::IsTerminal(CTerminal::EStream::Input);
    streams.bErrorIsTerminal = CTerminal::IsTerminal(CTerminal::EStream::Error);
    streams.nColumns = CTerminal::Columns();
    streams.stopRequest = CInterruptSignals::Received;
    streams.rereadRequest = CInterruptSignals::TakeRereadRequest;
    streams.environment = [](const std::string& name) -> std::optional<std::string>
    {
        const char* value = std::getenv(name.c_str());
        return value ? std::optional<std::string>(value) : std::nullopt;
    };
    streams.strWorkerProgram = CWorkerPool::FindWorker(CFileProbe::ProgramFolder());
    try
    {
        return CExtractCommand(std::move(streams)).Run(CTerminal::Arguments(argc, argv));
    }
    catch (const std::exception& error)
    {
        CTerminal::Write(CTerminal::EStream::Error,
                         CMessageTable::Format(EMessageId::CommandError, {error.what()}));
    }
    return CExtractCommand::kExitFailed;
}
