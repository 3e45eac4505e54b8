#pragma once

// Every numbered text of the program: messages, captions, status-bar prompts
// and tooltips (prompt and tooltip are separated by a line break). The
// numbers are stable: tests and the help pages refer to them.
enum class EMessageId : int
{
    OleInitFailed = 100,
    ShowTipPrompt = 104,
    TipHeading = 106,
    TipsFileMissing = 107,
    TipsFileUnreadable = 108,
    DocumentStrings = 128,

    AddFilePrompt = 32779,
    AddFolderPrompt = 32786,
    ToolsExplorerPrompt = 32771,

    AppTitle = 57344,
    IdleMessage = 57345,
    HelpModeMessage = 57346,
    MainCaption = 57347,
    RemoveAllPrompt = 57600,
    PasteFilesPrompt = 57637,
    AboutPrompt = 57664,
    ExitPrompt = 57665,
    HelpTopicsPrompt = 57667,
    ContextHelpPrompt = 57669,
    HelpPrompt = 57670,

    IndicatorCaps = 59137,
    IndicatorNum = 59138,
    IndicatorScroll = 59139,
    FileCountPlaceholder = 59142,
    FileCount = 59143,
    AddFileFilter = 59144,
    ToggleToolbarPrompt = 59392,
    ToggleStatusBarPrompt = 59393,

    FileIgnored = 59400,
    AddFolderQuestion = 59401,
    ComException = 59402,
    DispatchException = 59403,
    HelpFileMissing = 59405,
    FileInUse = 59406,
    SystemError = 59407,
    ExtractionFailed = 59408,
    ToolNotRun = 59409,
    OpenFailed = 59410,
    SelectFolderStatus = 59413,
    OverwriteQuestion = 59414,
    DeleteFailed = 59415,
    NoTextExtracted = 59416,
    ExtractionWarning = 59417,

    // A command's prompt has the command's own number; any other text takes
    // a free number from 59430 up.
    ReportLinesOmitted = 59430,
    RunProgressFile = 59431,
    RunProgressDone = 59432,
    BusyRefusal = 59433,
    ToolsExplorerMenu = 59434,
    RunProgressDoneOf = 59435,
    OptionsPrompt = 32790,
    OptionsCaption = 59436,
    ConversionsAtOnceLabel = 59437,
    ConversionsAtOnceHelp = 59438,
};
