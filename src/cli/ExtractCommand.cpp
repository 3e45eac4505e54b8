// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExtractCommand.h"

#include "ExtractArguments.h"
#include "ExtractRun.h"
#include "IniSettings.h"
#include "PasswordFile.h"
#include "ReportWriter.h"
#include "extract/OcrReader.h"
#include "platform/BuildVersion.h"
#include "platform/FileProbe.h"
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
    const CExtractOptions& options = parsed.options;
    if (options.bHelp)
    {
        m_streams.writeOutput(CMessageTable::Format(EMessageId::CommandHelp));
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
    return CExtractRun(m_streams, options, settings, report, m_pList.get()).Run();
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
