#pragma once

// Every numbered text of the program: messages, captions, labels of menus,
// buttons and columns, status-bar prompts and tooltips (prompt and tooltip
// are separated by a line break). The numbers are stable: tests and the help
// pages refer to them.
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
    BusyRefusal = 59433,
    ToolsExplorerMenu = 59434,
    RunProgressDoneOf = 59435,
    OptionsPrompt = 32790,
    OptionsCaption = 59436,
    ConversionsAtOnceLabel = 59437,
    ConversionsAtOnceHelp = 59438,

    // Menus, commands and toolbar of the main window.
    FileMenuTitle = 59440,
    EditMenuTitle = 59441,
    ViewMenuTitle = 59442,
    ToolsMenuTitle = 59443,
    HelpMenuTitle = 59444,
    AddFileMenu = 59445,
    AddFolderMenu = 59446,
    RemoveAllMenu = 59447,
    ExitMenu = 59448,
    PasteFilesMenu = 59449,
    ToggleToolbarMenu = 59450,
    ToggleStatusBarMenu = 59451,
    OptionsMenu = 59452,
    HelpTopicsMenu = 59453,
    ShowTipMenu = 59454,
    AboutMenu = 59455,
    HelpCommand = 59456,
    ContextHelpCommand = 59457,
    ToolbarTitle = 59458,

    // The file list: its context menu and column headers.
    ListOpenMenu = 59460,
    ListRemoveMenu = 59461,
    ListDeleteMenu = 59462,
    FileColumnHeader = 59463,
    FolderColumnHeader = 59464,

    // Tip of the Day.
    TipCaption = 59470,
    TipShowAtStartup = 59471,
    TipNextButton = 59472,
    TipCloseButton = 59473,

    // The About box.
    AboutCaption = 59480,
    AboutProgramName = 59481,
    AboutAddress = 59482,
    AboutTelephone = 59483,
    AboutSupport = 59484,
    AboutOkButton = 59485,
    AboutVersion = 59486,
    AboutDebugVersion = 59487,
    AboutNoVersion = 59488,

    // The question whether to add a folder's contents.
    FolderQuestionCaption = 59490,
    YesButton = 59491,
    NoButton = 59492,
    YesToAllButton = 59493,
    NoToAllButton = 59494,

    // The help window.
    HelpCaption = 59500,
    HelpPageCaption = 59501,
    HelpNavigationTitle = 59502,
    HelpBackButton = 59503,
    HelpForwardButton = 59504,
    HelpContentsButton = 59505,

    // Adding folders.
    FolderUnreadable = 59510,

    // Adding that had to stop.
    ConversionNotStarted = 59520,

    // What stands in a failed conversion's message when the tool reported
    // nothing: how the tool ended.
    ToolEndedWithStatus = 59540,
    ToolEndedBySignal = 59541,
    ToolWroteNoText = 59542,
    ToolStatusPdfNotOpened = 59543,
    ToolStatusTextNotOpened = 59544,
    ToolStatusPermissions = 59545,
    // The last line of a report shown cut short in its first line.
    ReportLineCut = 59546,
    ReportLineAndLinesCut = 59547,

    // Add operations that meet many files, and their report.
    ViewAddReportPrompt = 32800,
    RestInReportCheck = 59600,
    SameForRestCheck = 59601,
    ProblemsAtEndLabel = 59602,
    ProblemsEachInABox = 59603,
    ProblemsInOneReport = 59604,
    ViewAddReportMenu = 59605,
    AddReportCaption = 59606,
    AddReportSummary = 59607,
    AddReportFileColumn = 59608,
    AddReportOutcomeColumn = 59609,
    AddReportMessageColumn = 59610,
    OutcomeWarning = 59611,
    OutcomeNoText = 59612,
    OutcomeNotOverwritten = 59613,
    OutcomeIgnored = 59614,
    OutcomeCouldNotOpen = 59615,
    OutcomeFailed = 59616,
    AddReportAllOutcomes = 59617,
    AddReportShowLabel = 59618,
    AddReportCopyButton = 59619,
    AddReportSaveButton = 59620,
    AddReportSaveFilter = 59621,
    AddReportSaveFailed = 59622,
    AddReportNoneYet = 59623,

    // Reading scanned pages with OCR.
    OcrMissing = 59630,
    ReadByOcr = 59631,
    OcrFailedNoText = 59632,
    OcrFailedSomePages = 59633,
    OcrActivity = 59634,
    OutcomeReadByOcr = 59635,
    AddReportSummaryOcr = 59636,
    ReadScannedPagesCheck = 59637,
    OcrLanguagesLabel = 59638,
    OcrLanguagesHelp = 59639,
    OcrNotInstalled = 59640,

    // Text replaced whole, and the time each tool run may take.
    TimedOut = 59650,
    OutcomeTimedOut = 59651,
    AddReportSummaryTimedOut = 59652,
    TextNotWritten = 59653,
    TimeLimitLabel = 59654,
    TimeLimitHelp = 59655,
    TimeLimitSuffix = 59656,
    TimeLimitNone = 59657,

    // The text's form, and the groups of the Options dialog.
    OptionsConvertingGroup = 59660,
    OptionsTextFilesGroup = 59661,
    OptionsProblemsGroup = 59662,
    OptionsScannedPagesGroup = 59663,
    TextLayoutLabel = 59664,
    TextLayoutPhysical = 59665,
    TextLayoutReadingOrder = 59666,
    TextLayoutRaw = 59667,
    TextLayoutHelp = 59668,
    LineEndsLabel = 59669,
    LineEndsLf = 59670,
    LineEndsCrLf = 59671,
    PageBreaksCheck = 59672,
    ByteOrderMarkCheck = 59673,
    ByteOrderMarkHelp = 59674,

    // Text that is there already.
    ExistingTextLabel = 59680,
    ExistingTextAsk = 59681,
    ExistingTextKeep = 59682,
    ExistingTextWhenNewer = 59683,
    ExistingTextReplace = 59684,
    TextKept = 59685,
    TextUpToDate = 59686,
    OutcomeKept = 59687,
    OutcomeUpToDate = 59688,
    AddReportSummaryKept = 59689,
    ExistingTextHelp = 59690,
};
