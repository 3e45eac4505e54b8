// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageTable.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>

namespace
{
struct CEntry
{
    EMessageId id;
    std::string_view text;
};

#ifdef _WIN32
constexpr std::string_view kToolsExplorerPrompt = "Run Windows Explorer\nRun Explorer";
constexpr std::string_view kToolsExplorerMenu = "Windows Explorer";
#else
constexpr std::string_view kToolsExplorerPrompt = "Run the file manager\nRun File Manager";
constexpr std::string_view kToolsExplorerMenu = "File Manager";
#endif

// clang-format off
constexpr std::array kEntries = {
    CEntry{EMessageId::OleInitFailed, "OLE initialization failed.  Make sure that the OLE libraries are the correct version."},
    CEntry{EMessageId::ShowTipPrompt, "Displays a Tip of the Day."},
    CEntry{EMessageId::TipHeading, "Did you know..."},
    CEntry{EMessageId::TipsFileMissing, "Tips file does not exist in the prescribed directory"},
    CEntry{EMessageId::TipsFileUnreadable, "Trouble reading the tips file"},
    CEntry{EMessageId::DocumentStrings, "Zelto\n\nZelto\n\n\nZelto.Document\nZelto Document"},
    CEntry{EMessageId::ToolsExplorerPrompt, kToolsExplorerPrompt},
    CEntry{EMessageId::AddFilePrompt, "Add file(s) to the file list\nAdd file(s) to File List"},
    CEntry{EMessageId::AddFolderPrompt, "Add folder contents to the file list\nAdd folder contents"},
    CEntry{EMessageId::AppTitle, "Zelto"},
    CEntry{EMessageId::IdleMessage, "For Help, press F1"},
    CEntry{EMessageId::HelpModeMessage, "Select an object on which to get Help"},
    CEntry{EMessageId::MainCaption, "Zelto Extractor - PDF to Text"},
    CEntry{EMessageId::RemoveAllPrompt, "Remove all files from the file list\nRemoves all files"},
    CEntry{EMessageId::PasteFilesPrompt, "Paste files names into the file list\nPaste Files"},
    CEntry{EMessageId::AboutPrompt, "Display program information, version number and copyright\nAbout"},
    CEntry{EMessageId::ExitPrompt, "Exit Zelto\nExit"},
    CEntry{EMessageId::HelpTopicsPrompt, "List Help topics\nHelp Topics"},
    CEntry{EMessageId::ContextHelpPrompt, "Display help for clicked on buttons, menus and windows\nHelp"},
    CEntry{EMessageId::HelpPrompt, "Display help for current task or command\nHelp"},
    CEntry{EMessageId::IndicatorCaps, "CAP"},
    CEntry{EMessageId::IndicatorNum, "NUM"},
    CEntry{EMessageId::IndicatorScroll, "SCRL"},
    CEntry{EMessageId::FileCountPlaceholder, "<*space holder*>"},
    CEntry{EMessageId::FileCount, "Files %d"},
    CEntry{EMessageId::AddFileFilter, "All Valid (%s)|%s||"},
    CEntry{EMessageId::ToggleToolbarPrompt, "Show or hide the toolbar\nToggle ToolBar"},
    CEntry{EMessageId::ToggleStatusBarPrompt, "Show or hide the status bar\nToggle StatusBar"},
    CEntry{EMessageId::FileIgnored, "The file '%s' will be ignored.\n"},
    CEntry{EMessageId::AddFolderQuestion, "Add contents of the folder '%s'?"},
    CEntry{EMessageId::ComException, "COM Exception %x."},
    CEntry{EMessageId::DispatchException, "Dispatch exception %x.\nError %s."},
    CEntry{EMessageId::HelpFileMissing, "Help is not available as the help file '%s' cannot be found."},
    CEntry{EMessageId::FileInUse, "The file is currently being used by another application."},
    CEntry{EMessageId::SystemError, "%sThe following system error occured when processing file '%s'.\n%s(Error %d)."},
    CEntry{EMessageId::ExtractionFailed, "The file '%s' will be ignored as the text extraction process reported:\n%s."},
    CEntry{EMessageId::ToolNotRun, "The file '%s' will be ignored as '%s' could not be run.  Check both files exist.\n"},
    CEntry{EMessageId::OpenFailed, "Failed to open file '%s'.  Error %d."},
    CEntry{EMessageId::SelectFolderStatus, "Select folder from which to add files:"},
    CEntry{EMessageId::OverwriteQuestion, "File '%s' exists.  Overwrite this file?"},
    CEntry{EMessageId::DeleteFailed, "The file '%s' could not be deleted.\nIt may be in use by another application."},
    CEntry{EMessageId::NoTextExtracted, "Text was not extracted from the file '%s'.  This may be because the file contains only scanned images.  Scanned text is not processed."},
    CEntry{EMessageId::ExtractionWarning, "The file '%s' may be incorrectly processed as extraction process reported:\n%s."},
    CEntry{EMessageId::ReportLinesOmitted, "[%d more lines not shown]"},
    CEntry{EMessageId::RunProgressFile, "Extracting text from '%s'"},
    CEntry{EMessageId::BusyRefusal, "Files are still being added.  Wait until they are done, or cancel."},
    CEntry{EMessageId::ToolsExplorerMenu, kToolsExplorerMenu},
    CEntry{EMessageId::RunProgressDoneOf, "Files done: %d of %d"},
    CEntry{EMessageId::OptionsPrompt, "Change how files are converted\nOptions"},
    CEntry{EMessageId::OptionsCaption, "Options"},
    CEntry{EMessageId::ConversionsAtOnceLabel, "&Conversions at once:"},
    CEntry{EMessageId::ConversionsAtOnceHelp, "How many PDF files are converted at the same time. The number of processor cores (%d on this computer) is usually fastest; 1 converts one file after another. Either way, the results of the conversions are reported, and the files listed, in the order in which the files were added. With more than 1, a question or message about a file added later can come before the result of an earlier one."},
    CEntry{EMessageId::FileMenuTitle, "&File"},
    CEntry{EMessageId::EditMenuTitle, "&Edit"},
    CEntry{EMessageId::ViewMenuTitle, "&View"},
    CEntry{EMessageId::ToolsMenuTitle, "&Tools"},
    CEntry{EMessageId::HelpMenuTitle, "&Help"},
    CEntry{EMessageId::AddFileMenu, "Add..."},
    CEntry{EMessageId::AddFolderMenu, "Add Folder..."},
    CEntry{EMessageId::RemoveAllMenu, "&Remove All\tCtrl+R"},
    CEntry{EMessageId::ExitMenu, "E&xit"},
    CEntry{EMessageId::PasteFilesMenu, "&Paste Files\tCtrl+V"},
    CEntry{EMessageId::ToggleToolbarMenu, "&Toolbar"},
    CEntry{EMessageId::ToggleStatusBarMenu, "&Status Bar"},
    CEntry{EMessageId::OptionsMenu, "&Options..."},
    CEntry{EMessageId::HelpTopicsMenu, "&Help Topics"},
    CEntry{EMessageId::ShowTipMenu, "Tip of the Day..."},
    CEntry{EMessageId::AboutMenu, "&About Zelto..."},
    CEntry{EMessageId::HelpCommand, "Help"},
    CEntry{EMessageId::ContextHelpCommand, "What's This?"},
    CEntry{EMessageId::ToolbarTitle, "Toolbar"},
    CEntry{EMessageId::ListOpenMenu, "Open"},
    CEntry{EMessageId::ListRemoveMenu, "Remove"},
    CEntry{EMessageId::ListDeleteMenu, "Delete"},
    CEntry{EMessageId::FileColumnHeader, "File"},
    CEntry{EMessageId::FolderColumnHeader, "Folder"},
    CEntry{EMessageId::TipCaption, "Tip of the Day"},
    CEntry{EMessageId::TipShowAtStartup, "&Show Tips on StartUp"},
    CEntry{EMessageId::TipNextButton, "&Next Tip"},
    CEntry{EMessageId::TipCloseButton, "&Close"},
    CEntry{EMessageId::AboutCaption, "About Pravoline"},
    CEntry{EMessageId::AboutProgramName, "Zelto Extractor.  PDF to Text"},
    CEntry{EMessageId::AboutAddress, "Orrinval Software, 4 Wharf Yard, Harbury"},
    CEntry{EMessageId::AboutTelephone, "Telephone +44 1632 960418"},
    CEntry{EMessageId::AboutSupport, "Support: zelto-support@orrinval.example"},
    CEntry{EMessageId::AboutOkButton, "OK"},
    CEntry{EMessageId::AboutVersion, "Version %d.%d.%d.%d"},
    CEntry{EMessageId::AboutDebugVersion, "Version %d.%d.%d.%d - debug build"},
    CEntry{EMessageId::AboutNoVersion, "No version information"},
    CEntry{EMessageId::AboutLicense, "Free software under the GNU General Public License, version 3 or later.  There is no warranty."},
    CEntry{EMessageId::FolderQuestionCaption, "Pravoline"},
    CEntry{EMessageId::YesButton, "Yes"},
    CEntry{EMessageId::NoButton, "No"},
    CEntry{EMessageId::YesToAllButton, "Yes to All"},
    CEntry{EMessageId::NoToAllButton, "No to All"},
    CEntry{EMessageId::HelpCaption, "Zelto Extractor Help"},
    CEntry{EMessageId::HelpPageCaption, "%s - Zelto Extractor Help"},
    CEntry{EMessageId::HelpNavigationTitle, "Navigation"},
    CEntry{EMessageId::HelpBackButton, "&Back"},
    CEntry{EMessageId::HelpForwardButton, "&Forward"},
    CEntry{EMessageId::HelpContentsButton, "&Contents"},
    CEntry{EMessageId::FolderUnreadable, "The folder '%s' will be skipped as the following system error occurred when reading it.\n%s(Error %d)."},
    CEntry{EMessageId::ConversionNotStarted, "No further conversion could be started, so adding stops here.  The files listed so far stay in the list.\n"},
    CEntry{EMessageId::ToolEndedWithStatus, "'%s' ended with exit status %d%s and reported nothing"},
    CEntry{EMessageId::ToolEndedBySignal, "'%s' was ended by signal %d (%s) and reported nothing"},
    CEntry{EMessageId::ToolWroteNoText, "'%s' wrote no text file and reported nothing"},
    CEntry{EMessageId::ToolStatusPdfNotOpened, " (the PDF file could not be opened)"},
    CEntry{EMessageId::ToolStatusTextNotOpened, " (the text file could not be opened)"},
    CEntry{EMessageId::ToolStatusPermissions, " (the PDF file's permissions do not allow it)"},
    CEntry{EMessageId::ReportLineCut, "[rest of the line not shown]"},
    CEntry{EMessageId::ReportLineAndLinesCut, "[rest of the line and %d more lines not shown]"},
    CEntry{EMessageId::ViewAddReportPrompt, "Show what the last add operation met\nLast Add Report"},
    CEntry{EMessageId::RestInReportCheck, "Show the rest of this add's messages in a report at the end"},
    CEntry{EMessageId::SameForRestCheck, "Do the same for the rest of this add"},
    CEntry{EMessageId::ProblemsAtEndLabel, "Problems met while adding many files:"},
    CEntry{EMessageId::ProblemsEachInABox, "one &message box each"},
    CEntry{EMessageId::ProblemsInOneReport, "in one &report at the end"},
    CEntry{EMessageId::ViewAddReportMenu, "Last Add &Report"},
    CEntry{EMessageId::AddReportCaption, "Add Report"},
    CEntry{EMessageId::AddReportSummary, "%d converted (%d with warnings, %d without text), %d not overwritten, %d ignored, %d failed, in %s s."},
    CEntry{EMessageId::AddReportFileColumn, "File"},
    CEntry{EMessageId::AddReportOutcomeColumn, "Outcome"},
    CEntry{EMessageId::AddReportMessageColumn, "Message"},
    CEntry{EMessageId::OutcomeWarning, "Warning"},
    CEntry{EMessageId::OutcomeNoText, "No text"},
    CEntry{EMessageId::OutcomeNotOverwritten, "Not overwritten"},
    CEntry{EMessageId::OutcomeIgnored, "Ignored"},
    CEntry{EMessageId::OutcomeCouldNotOpen, "Could not open"},
    CEntry{EMessageId::OutcomeFailed, "Failed"},
    CEntry{EMessageId::AddReportAllOutcomes, "All outcomes"},
    CEntry{EMessageId::AddReportShowLabel, "&Show:"},
    CEntry{EMessageId::AddReportCopyButton, "&Copy"},
    CEntry{EMessageId::AddReportSaveButton, "&Save As..."},
    CEntry{EMessageId::AddReportSaveFilter, "CSV files (*.csv)"},
    CEntry{EMessageId::AddReportSaveFailed, "The report could not be saved as '%s'.\n%s"},
    CEntry{EMessageId::AddReportNoneYet, "No files have been added yet."},
    CEntry{EMessageId::OcrMissing, "Scanned pages cannot be read: reading them with OCR needs the programs tesseract (from the package tesseract-ocr) and pdftoppm (from poppler-utils), and they were not found. PDF files without text are listed without their text, as when OCR is off."},
    CEntry{EMessageId::ReadByOcr, "The file '%s' was read with OCR: text was recognized on %d of its %d pages without text."},
    CEntry{EMessageId::OcrFailedNoText, "Text was not extracted from the file '%s', and reading its scanned pages with OCR failed:\n%s"},
    CEntry{EMessageId::OcrFailedSomePages, "Some scanned pages of the file '%s' could not be read with OCR:\n%s"},
    CEntry{EMessageId::OcrActivity, "reading page %d of %d with OCR"},
    CEntry{EMessageId::OutcomeReadByOcr, "Read by OCR"},
    CEntry{EMessageId::AddReportSummaryOcr, "%d read by OCR."},
    CEntry{EMessageId::ReadScannedPagesCheck, "Read scanned pages with &OCR (slower)"},
    CEntry{EMessageId::OcrLanguagesLabel, "OCR &languages:"},
    CEntry{EMessageId::OcrLanguagesHelp, "The languages of the text on scanned pages, from those installed for tesseract; more come with the packages tesseract-ocr-<language>, such as tesseract-ocr-deu. Reading a page takes a few seconds."},
    CEntry{EMessageId::OcrNotInstalled, "Reading scanned pages needs tesseract (package tesseract-ocr), which is not installed."},
    CEntry{EMessageId::TimedOut, "The file '%s' will be ignored as its text extraction was stopped after the time limit of %d seconds.  No text was written.\nThe limit can be changed under Time limit per file in Tools > Options..."},
    CEntry{EMessageId::OutcomeTimedOut, "Timed out"},
    CEntry{EMessageId::AddReportSummaryTimedOut, "%d timed out."},
    CEntry{EMessageId::TextNotWritten, "The file '%s' will be ignored as its text could not be written to the folder '%s'.  No text was written.\n%s(Error %d)."},
    CEntry{EMessageId::TimeLimitLabel, "&Time limit per file:"},
    CEntry{EMessageId::TimeLimitSuffix, " seconds"},
    CEntry{EMessageId::TimeLimitNone, "No limit"},
    CEntry{EMessageId::OptionsConvertingGroup, "Converting"},
    CEntry{EMessageId::OptionsTextFilesGroup, "Text files"},
    CEntry{EMessageId::OptionsProblemsGroup, "Problems"},
    CEntry{EMessageId::OptionsScannedPagesGroup, "Scanned pages"},
    CEntry{EMessageId::TextLayoutLabel, "&Layout:"},
    CEntry{EMessageId::TextLayoutPhysical, "As on the page"},
    CEntry{EMessageId::TextLayoutReadingOrder, "Reading order"},
    CEntry{EMessageId::TextLayoutRaw, "Order in the file"},
    CEntry{EMessageId::TextLayoutHelp, "As on the page keeps columns and tables side by side; reading order reads each column to its end, which suits papers in two columns; order in the file follows the order in which the PDF stores its text."},
    CEntry{EMessageId::LineEndsLabel, "Line &ends:"},
    CEntry{EMessageId::LineEndsLf, "LF (Linux, macOS)"},
    CEntry{EMessageId::LineEndsCrLf, "CR LF (Windows)"},
    CEntry{EMessageId::PageBreaksCheck, "&Form feed after each page"},
    CEntry{EMessageId::ByteOrderMarkCheck, "&Byte order mark"},
    CEntry{EMessageId::ByteOrderMarkHelp, "Starts each text file with the three bytes that tell some Windows programs it is UTF-8."},
    CEntry{EMessageId::TextFolderLabel, "Text fol&der:"},
    CEntry{EMessageId::TextFolderBrowse, "B&rowse..."},
    CEntry{EMessageId::TextFolderBeside, "Beside each PDF"},
    CEntry{EMessageId::TextFolderHelp, "Empty puts each text file beside its PDF. A folder here takes every text file instead: each added folder is copied there as a tree of text files, and a PDF added on its own gets its text file at the top. Nothing is then written beside the PDFs."},
    CEntry{EMessageId::ExtractionEngineLabel, "Extraction &engine:"},
    CEntry{EMessageId::ExtractionEngineWorkers, "Built-in workers"},
    CEntry{EMessageId::ExtractionEnginePdftotext, "pdftotext for each file"},
    CEntry{EMessageId::ExtractionEngineHelp, "Both give exactly the text and the messages of pdftotext. The built-in workers stay running from one file to the next, which makes short PDFs several times faster; where they are not installed, pdftotext runs for each file. Only the built-in workers open PDFs locked with a password, which pdftotext would show to every user of this computer."},
    CEntry{EMessageId::CommandUsage, "Usage: zelto-extract [OPTION]... PATH...\n  or:  zelto-extract [OPTION]... --from FILE\n  or:  zelto-extract --watch [OPTION]... FOLDER...\nTry 'zelto-extract --help' for more information.\n"},
    CEntry{EMessageId::CommandHelp, R"(Usage: zelto-extract [OPTION]... PATH...
  or:  zelto-extract [OPTION]... --from FILE
  or:  zelto-extract --watch [OPTION]... FOLDER...
Convert PDF files to plain-text files with pdftotext, by the rules of Zelto
Extractor. Each PATH is a PDF file or a folder, whose files are converted
recursively. Each text file goes beside its PDF, named after it with .txt.

Paths:
      --from FILE        also convert the paths listed in FILE, one per line;
                         - reads them from standard input
  -0, --null             the paths in the list end with NUL, not a line end
      --shard K/N        convert only the K-th of N parts of the files found
                         (1 <= K <= N), split by path, so that N machines
                         given the same paths share the work
      --shard auto       take K and N from the task array of a Slurm, AWS
                         Batch or Cloud Run job, or a Kubernetes indexed job
      --shard-count N    the number of parts, for schedulers that give none
                         (Kubernetes: the job's completions)

Converting:
  -j, --jobs N           convert N files at once (default: one per core)
      --time-limit S     stop a tool run after S seconds, 0 for no limit
                         (default: 600)
      --existing RULE    what to do with a text file that is there already:
                         skip keeps it (the default), newer replaces it when
                         the PDF is newer, replace replaces it, ask asks on
                         the terminal
      --engine ENGINE    workers converts in the extraction workers where they
                         are installed (the default), pdftotext runs
                         pdftotext for every file; the text is the same
      --ocr              read pages without text, and pages whose text looks
                         garbled, with OCR (tesseract)
      --ocr-languages L  tesseract's languages, such as eng+deu (default: eng)
      --no-garbled-check do not check each page's text for garbage (a file
                         with garbled pages is converted, with a warning)
      --password-file FILE
                         try the passwords in FILE, one per line (UTF-8), on
                         PDF files locked with a password; only the
                         extraction workers open locked files

Text files:
      --text-folder DIR  put the text files under DIR instead, each folder
                         given copied there as a tree of text files
      --layout MODE      physical keeps the columns as on the page (the
                         default), reading follows the tool's reading order,
                         raw the order of the page's content
      --crlf             end lines with CR LF instead of LF
      --no-page-breaks   no form feed after each page
      --bom              start each text file with a UTF-8 byte order mark

%sReporting:
      --report FILE      write a row for every file met, as it is settled:
                         CSV when FILE ends in .csv, JSON Lines in .jsonl
  -q, --quiet            no progress, messages or summary on standard error
      --settings FILE    start from the choices saved in a Zelto Extractor
                         settings file (~/.config/Orrinval Software/Zelto.conf)
  -h, --help             show this help and exit
      --version          show the version and exit

Exit status: 0 when every PDF was converted or skipped by the rule, 1 when
one failed, timed out or stayed locked, 2 for arguments that cannot be used,
130 or 143 when stopped by SIGINT or SIGTERM.
)"},
    CEntry{EMessageId::CommandVersion, "zelto-extract (Zelto Extractor) %s\n"},
    CEntry{EMessageId::CommandError, "zelto-extract: %s\n"},
    CEntry{EMessageId::CommandUnknownOption, "unrecognized option '%s'"},
    CEntry{EMessageId::CommandNeedsValue, "option '%s' requires a value"},
    CEntry{EMessageId::CommandBadText, "invalid value '%s' for %s: it may not be empty"},
    CEntry{EMessageId::CommandBadJobs, "invalid value '%s' for %s: give a number from 1 to %d"},
    CEntry{EMessageId::CommandBadTimeLimit, "invalid value '%s' for %s: give seconds from 0 (no limit) to %d"},
    CEntry{EMessageId::CommandBadEngine, "invalid value '%s' for %s: give workers or pdftotext"},
    CEntry{EMessageId::CommandBadExisting, "invalid value '%s' for %s: give skip, newer, replace or ask"},
    CEntry{EMessageId::CommandBadLayout, "invalid value '%s' for %s: give physical, reading or raw"},
    CEntry{EMessageId::CommandBadShard, "invalid value '%s' for %s: give K/N with K from 1 to N"},
    CEntry{EMessageId::CommandNoPaths, "no file or folder to convert"},
    CEntry{EMessageId::CommandNulWithoutFrom, "-0 is only for a list read with --from"},
    CEntry{EMessageId::CommandBadReportName, "the report '%s' must be named .csv or .jsonl"},
    CEntry{EMessageId::CommandReportNotWritten, "the report '%s' could not be written: %s (error %d)"},
    CEntry{EMessageId::CommandSettingsNotRead, "the settings file '%s' could not be read: %s (error %d)"},
    CEntry{EMessageId::CommandListNotRead, "the list '%s' could not be read: %s (error %d)"},
    CEntry{EMessageId::CommandCannotAsk, "--existing ask needs a terminal on standard input: text files that are there already are kept"},
    CEntry{EMessageId::CommandAnswerChoices, "Overwrite? [y]es, [n]o: "},
    CEntry{EMessageId::CommandAnswerChoicesForRest, "Overwrite? [y]es, [n]o, [a]ll, [s]kip all: "},
    CEntry{EMessageId::CommandProgress, "%d/%d files  %s files/s  %s left"},
    CEntry{EMessageId::CommandLicense, "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\nThis is free software: you are free to change and redistribute it.\nThere is NO WARRANTY, to the extent permitted by law.\n"},
    CEntry{EMessageId::CommandPathMissing, "The path '%s' does not exist.  Nothing was converted from it."},
    CEntry{EMessageId::CommandProgressFinding, "%d/%d files found so far  %s files/s"},
    CEntry{EMessageId::ExistingTextLabel, "E&xisting text:"},
    CEntry{EMessageId::ExistingTextAsk, "Ask whether to overwrite it"},
    CEntry{EMessageId::ExistingTextKeep, "Keep it"},
    CEntry{EMessageId::ExistingTextWhenNewer, "Replace it when the PDF is newer"},
    CEntry{EMessageId::ExistingTextReplace, "Replace it"},
    CEntry{EMessageId::ExistingTextHelp, "What to do when a PDF's text file is there already. A PDF whose text file is kept is listed without being converted again."},
    CEntry{EMessageId::TextKept, "The text file '%s' was there already and was kept."},
    CEntry{EMessageId::TextUpToDate, "The text file '%s' is up to date: its PDF file has not changed since."},
    CEntry{EMessageId::OutcomeKept, "Kept"},
    CEntry{EMessageId::OutcomeUpToDate, "Up to date"},
    CEntry{EMessageId::AddReportSummaryKept, "%d up to date, %d kept."},
    CEntry{EMessageId::TextFileShared, "The file '%s' will be ignored as its text file '%s' is also the text file of '%s' in this add.  No text was written for it.\nGive the two PDF files different names, or different text folders."},
    CEntry{EMessageId::OutcomeTextFileShared, "Text file shared"},
    CEntry{EMessageId::AddReportSummaryTextFileShared, "%d not converted: their text file was another's."},
    CEntry{EMessageId::OutcomeGarbled, "Garbled text"},
    CEntry{EMessageId::GarbledText, "The file '%s' may be incorrectly processed as the text of some of its pages looks garbled: pages %s.\nTheir fonts may not map what they show to readable characters.  The text was written as it came out; reading scanned pages with OCR reads these pages as well."},
    CEntry{EMessageId::GarbledReadByOcr, "The text of the file '%s' looked garbled on pages %s; the text OCR recognized on them took its place."},
    CEntry{EMessageId::AddReportSummaryGarbled, "%d with garbled text."},
    CEntry{EMessageId::GarbledCheckCheck, "Warn of &garbled text"},
    CEntry{EMessageId::GarbledCheckHelp, "Checks the text of each page for what fonts without a map to readable characters leave: replacement and private-use characters, shifted or random letters.  A file with such pages is converted, with a warning that names them."},
    CEntry{EMessageId::ReadScannedPagesHelp, "Pages without text, and pages whose text looks garbled, are read with OCR; the text it recognizes takes their place."},
    CEntry{EMessageId::TimeLimitHelp, "A file whose conversion takes longer is stopped and left out, and its text file is left as it was. 0 sets no limit."},
    CEntry{EMessageId::OutcomeNeedsPassword, "Needs a password"},
    CEntry{EMessageId::OutcomeWrongPassword, "Wrong password"},
    CEntry{EMessageId::PdfNeedsPassword, "The file '%s' will be ignored as it is locked and needs a password to open.  No text was written."},
    CEntry{EMessageId::PdfWrongPassword, "The file '%s' will be ignored as it is locked and none of the passwords tried opens it.  No text was written."},
    CEntry{EMessageId::PdfLockedNeedsWorkers, "The file '%s' will be ignored as it is locked and needs a password to open.  No text was written.\nOpening locked PDF files needs the built-in extraction workers, which did not convert this file: a password given to pdftotext could be read by every user of this computer."},
    CEntry{EMessageId::AddReportSummaryLocked, "%d locked."},
    CEntry{EMessageId::PasswordCaption, "Locked PDF File"},
    CEntry{EMessageId::PasswordPrompt, "The file '%s' is locked.  Type its password:"},
    CEntry{EMessageId::PasswordPromptAgain, "That password does not open the file '%s'.  Type its password again:"},
    CEntry{EMessageId::PasswordTryOnOthersCheck, "Try this password on the other locked files of this add"},
    CEntry{EMessageId::PasswordOkButton, "OK"},
    CEntry{EMessageId::PasswordSkipButton, "&Skip"},
    CEntry{EMessageId::PasswordSkipAllButton, "Skip &All"},
    CEntry{EMessageId::CommandPasswordFileNotRead, "the password file '%s' could not be read: %s (error %d)"},
    CEntry{EMessageId::CommandPasswordFileReadable, "warning: other users of this computer may read the password file '%s'"},    CEntry{EMessageId::ShardAutoNone, "--shard auto found no task array: it looks for SLURM_ARRAY_TASK_ID (with SLURM_ARRAY_TASK_MIN, SLURM_ARRAY_TASK_COUNT and SLURM_ARRAY_TASK_STEP), JOB_COMPLETION_INDEX (with --shard-count), AWS_BATCH_JOB_ARRAY_INDEX (with AWS_BATCH_JOB_ARRAY_SIZE) and CLOUD_RUN_TASK_INDEX (with CLOUD_RUN_TASK_COUNT)"},
    CEntry{EMessageId::ShardAutoBadVariable, "--shard auto: %s is '%s', which is no whole number of at least %d"},
    CEntry{EMessageId::ShardAutoNoCount, "--shard auto: %s gives the task, but not how many there are: give --shard-count N"},
    CEntry{EMessageId::ShardAutoSlurmOffGrid, "--shard auto: Slurm task %d is not on its array's steps from %d by %d; arrays given as a list of indexes cannot be split, give them as a range"},
    CEntry{EMessageId::ShardAutoOutside, "--shard auto: %s makes task %d of %d, outside the array"},
    CEntry{EMessageId::ShardAutoCountDiffers, "--shard auto: %s counts %d tasks, but --shard-count says %d"},
    CEntry{EMessageId::ShardAutoDisagree, "--shard auto: %s makes this part %d of %d, but %s makes it part %d of %d"},
    CEntry{EMessageId::CommandBadSeconds, "invalid value '%s' for %s: give a number of seconds from 0 to %d"},
    CEntry{EMessageId::CommandHelpWatch, R"(Watching:
      --watch            after converting the folders given (existing text:
                         newer, unless --existing says), keep watching them
                         and the folders made in them, and convert each PDF
                         file that arrives or changes
      --settle S         convert a file once it is closed and unchanged for
                         S seconds (default: 2)
      --poll S           look for new files every S seconds instead of being
                         told by the system, for network shares

)"},
    CEntry{EMessageId::CommandHelpWatchUnavailable, R"(Watching (not available on Windows):
      --watch            keep watching the folders given and convert each PDF
                         file that arrives or changes; Linux only
      --settle S         with --watch: wait S seconds for a file to settle
      --poll S           with --watch: look for new files every S seconds

)"},
    CEntry{EMessageId::WatchUnavailable, "--watch is not available on this system"},
    CEntry{EMessageId::WatchNotFolder, "--watch watches folders: '%s' is not one"},
    CEntry{EMessageId::WatchWithList, "--watch does not read a list of paths (--from)"},
    CEntry{EMessageId::WatchNotWatched, "the folder '%s' cannot be watched: %s (error %d)"},
    CEntry{EMessageId::WatchPolling, "the system tells nothing of changes here: looking for new files every %d seconds"},
    CEntry{EMessageId::WatchOutOfWatches, "no more folders can be watched (raise fs.inotify.max_user_watches): looking for new files every %d seconds instead"},
    CEntry{EMessageId::WatchStarted, "watching %d folders for PDF files"},
    CEntry{EMessageId::WatchLogLine, "%s: %s"},
    CEntry{EMessageId::WatchSettingsReread, "settings re-read from '%s'"},
    CEntry{EMessageId::WatchOptionWithoutWatch, "%s is only for --watch"},
};
// clang-format on

void AppendNumber(std::string& out, const CFormatArg& arg, char directive)
{
    if (arg.IsText())
    {
        out += arg.Text();
        return;
    }
    char buffer[32];
    if (directive == 'x')
    {
        // Hexadecimal shows the 32-bit pattern, so a negative status code
        // prints as its unsigned value.
        auto bits = static_cast<unsigned>(static_cast<unsigned long long>(arg.Number()));
        std::snprintf(buffer, sizeof buffer, "%x", bits);
    }
    else
    {
        std::snprintf(buffer, sizeof buffer, "%lld", arg.Number());
    }
    out += buffer;
}
} // namespace

std::string_view CMessageTable::Text(EMessageId id)
{
    auto found = std::find_if(kEntries.begin(), kEntries.end(),
                              [id](const CEntry& entry) { return entry.id == id; });
    return found == kEntries.end() ? std::string_view() : found->text;
}

std::string CMessageTable::Format(EMessageId id, std::initializer_list<CFormatArg> args)
{
    return FormatText(Text(id), std::span<const CFormatArg>(args.begin(), args.size()));
}

std::string CMessageTable::Format(EMessageId id, std::span<const CFormatArg> args)
{
    return FormatText(Text(id), args);
}

std::string CMessageTable::FormatText(std::string_view format,
                                      std::initializer_list<CFormatArg> args)
{
    return FormatText(format, std::span<const CFormatArg>(args.begin(), args.size()));
}

std::string CMessageTable::FormatText(std::string_view format, std::span<const CFormatArg> args)
{
    std::string out;
    out.reserve(format.size() + 64);
    auto nextArg = args.begin();
    for (size_t i = 0; i < format.size(); ++i)
    {
        char ch = format[i];
        if (ch != '%' || i + 1 == format.size())
        {
            out += ch;
            continue;
        }
        char directive = format[i + 1];
        if (directive == '%')
        {
            out += '%';
            ++i;
            continue;
        }
        if (directive != 's' && directive != 'd' && directive != 'x')
        {
            out += ch;
            continue;
        }
        ++i;
        if (nextArg == args.end())
            continue;
        const CFormatArg& arg = *nextArg++;
        if (directive == 's' && arg.IsText())
            out += arg.Text();
        else
            AppendNumber(out, arg, directive == 's' ? 'd' : directive);
    }
    return out;
}

std::string CMessageTable::Prompt(EMessageId id)
{
    std::string_view text = Text(id);
    return std::string(text.substr(0, text.find('\n')));
}

std::string CMessageTable::Tooltip(EMessageId id)
{
    std::string_view text = Text(id);
    size_t lineBreak = text.find('\n');
    return lineBreak == std::string_view::npos ? std::string()
                                               : std::string(text.substr(lineBreak + 1));
}
