// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExtractCommand.h"

#include "ExtractArguments.h"
#include "ExtractRun.h"
#include "IniSettings.h"
#include "PasswordFile.h"
#include "ReportWriter.h"
#include "SchedulerShard.h"
#include "extract/OcrReader.h"
#include "platform/BuildVersion.h"
#include "platform/FileProbe.h"
#include "platform/FolderEvents.h"
#include "platform/MemorySettings.h"
#include "platform/MessageTable.h"

#include <cerrno>
#include <optional>

CExtractCommand::CExtractCommand(CCommandStreams streams) : m_streams(std::move(streams)) {}

int CExtractCommand::Run(const std::vector<std::string>& arguments)
{
    CExtractArguments::CResult parsed = CExtractArguments::Parse(arguments);
    if (!parsed.strError.empty())
        return UsageError(parsed.strError);
    CExtractOptions& options = parsed.options;
    if (options.bHelp)
    {
        EMessageId watchHelp = CFolderEvents::Available() ? EMessageId::CommandHelpWatch
                                                          : EMessageId::CommandHelpWatchUnavailable;
        m_streams.writeOutput(
            CMessageTable::Format(EMessageId::CommandHelp, {CMessageTable::Format(watchHelp)}));
        return kExitDone;
    }
    if (options.bVersion)
    {
        m_streams.writeOutput(
            CMessageTable::Format(EMessageId::CommandVersion,
                                  {CBuildVersion::Text(CBuildVersion::Current())}) +
            CMessageTable::Format(EMessageId::CommandLicense));
        return kExitDone;
    }
    if (std::string error = ResolveShard(options); !error.empty())
        return UsageError(error);
    if (std::string error = CheckWatch(options); !error.empty())
        return UsageError(error);
    CAddSettings settings;
    if (!MakeSettings(options, settings))
        return kExitUsage;
    if (!ReadPasswords(options, settings))
        return kExitUsage;
    if (!OpenList(options))
        return kExitUsage;
    CReportWriter report;
    if (!options.reportPath.empty())
    {
        if (int error = report.Open(options.reportPath))
        {
            TellError(EMessageId::CommandReportNotWritten, options.reportPath, error);
            return kExitUsage;
        }
    }
    CExtractRun run(m_streams, options, settings, report, m_pList.get());
    run.RereadWith([this, &options](CAddSettings& reread)
                   { return MakeSettings(options, reread) && ReadPasswords(options, reread); });
    return run.Run();
}

std::string CExtractCommand::ResolveShard(CExtractOptions& options) const
{
    if (!options.bShardAuto)
        return {};
    auto none = [](const std::string&) { return std::optional<std::string>(); };
    CSchedulerShard::CResult found =
        m_streams.environment ? CSchedulerShard::Find(m_streams.environment, options.shardCount)
                              : CSchedulerShard::Find(none, options.shardCount);
    options.shard = found.shard;
    return found.strError;
}

// A watch is given folders, named absolutely so that what it finds later
// reads as what it found first.
std::string CExtractCommand::CheckWatch(CExtractOptions& options) const
{
    if (!options.bWatch)
        return {};
    if (!CFolderEvents::Available())
        return CMessageTable::Format(EMessageId::WatchUnavailable);
    for (std::string& path : options.paths)
    {
        if (!CFileProbe::IsFolder(path))
            return CMessageTable::Format(EMessageId::WatchNotFolder, {path});
        path = CFileProbe::AbsolutePath(path);
    }
    return {};
}

bool CExtractCommand::OpenList(const CExtractOptions& options)
{
    if (!options.fromFile || *options.fromFile == "-")
        return true;
    m_pList.reset(CFileProbe::OpenForReading(*options.fromFile));
    if (m_pList)
        return true;
    TellError(EMessageId::CommandListNotRead, *options.fromFile, errno);
    return false;
}

bool CExtractCommand::ReadPasswords(const CExtractOptions& options, CAddSettings& settings)
{
    if (!options.passwordFile)
        return true;
    const std::string& path = *options.passwordFile;
    CFilePointer file(CFileProbe::OpenForReading(path));
    int error = file ? CPasswordFile::Read(file.get(), settings.conversion.passwords) : errno;
    if (error != 0)
    {
        TellError(EMessageId::CommandPasswordFileNotRead, path, error);
        return false;
    }
    if (!options.bQuiet && CFileProbe::MayBeReadByOthers(file.get()))
        m_streams.writeError(CMessageTable::Format(
            EMessageId::CommandError,
            {CMessageTable::Format(EMessageId::CommandPasswordFileReadable, {path})}));
    return true;
}

int CExtractCommand::UsageError(const std::string& error)
{
    m_streams.writeError(CMessageTable::Format(EMessageId::CommandError, {error}) +
                         CMessageTable::Format(EMessageId::CommandUsage));
    return kExitUsage;
}

void CExtractCommand::TellError(EMessageId id, const std::string& path, int error)
{
    m_streams.writeError(CExtractRun::FileError(id, path, error));
}

bool CExtractCommand::MakeSettings(const CExtractOptions& options, CAddSettings& settings)
{
    CMemorySettings defaults;
    std::optional<CIniSettings> file;
    if (options.settingsPath)
    {
        int error = 0;
        file = CIniSettings::Load(*options.settingsPath, error);
        if (!file)
        {
            TellError(EMessageId::CommandSettingsNotRead, *options.settingsPath, error);
            return false;
        }
    }
    CSettings& source = file ? static_cast<CSettings&>(*file) : defaults;
    settings = CAddOptions(source).ForOperation();
    ApplyOptions(options, settings);
    return true;
}

// The window's rule "ask" is no rule for a script: without --existing ask
// on a terminal, existing text is kept.
void CExtractCommand::ApplyOptions(const CExtractOptions& options, CAddSettings& settings)
{
    if (options.jobs)
        settings.nConversionsAtOnce = *options.jobs;
    CConversionOptions& conversion = settings.conversion;
    if (options.timeLimitSeconds)
        conversion.nTimeLimitSeconds = *options.timeLimitSeconds;
    if (options.textFolder)
        settings.strTextFolder = CFileProbe::AbsolutePath(*options.textFolder);
    if (options.layout)
        conversion.form.eLayout = *options.layout;
    if (options.engine)
        conversion.eEngine = *options.engine;
    conversion.bGarbledCheck = conversion.bGarbledCheck && !options.bNoGarbledCheck;
    conversion.form.bCrLf = conversion.form.bCrLf || options.bCrLf;
    conversion.form.bPageBreaks = conversion.form.bPageBreaks && !options.bNoPageBreaks;
    conversion.form.bByteOrderMark = conversion.form.bByteOrderMark || options.bByteOrderMark;

    COcrOptions& ocr = conversion.ocr;
    if (options.ocrLanguages)
        ocr.strLanguages = *options.ocrLanguages;
    if (options.bOcr && !ocr.bWanted)
    {
        ocr.bWanted = true;
        ocr.bAvailable = COcrReader::ToolsAvailable();
    }

    EExistingText rule = options.existing.value_or(settings.eExistingText);
    if (rule == EExistingText::Ask && !options.existing)
        rule = EExistingText::Keep;
    // A watch converts a PDF again when it changes.
    if (options.bWatch && !options.existing && rule == EExistingText::Keep)
        rule = EExistingText::ReplaceWhenNewer;
    bool canAsk = m_streams.bInputIsTerminal && options.fromFile != std::string("-");
    if (rule == EExistingText::Ask && !canAsk)
    {
        if (!options.bQuiet)
            m_streams.writeError(CMessageTable::Format(
                EMessageId::CommandError, {CMessageTable::Format(EMessageId::CommandCannotAsk)}));
        rule = EExistingText::Keep;
    }
    settings.eExistingText = rule;
}
