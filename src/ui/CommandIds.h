// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The program's command numbers. Each command's status-bar prompt and
// tooltip are the message of the same number.
enum ECommandId : int
{
    ID_SHOW_TIP = 104,
    ID_TOOLS_EXPLORER = 32771,
    ID_LIST_REMOVE = 32775,
    ID_FILE_ADD = 32779,
    ID_LIST_OPEN = 32780,
    ID_FILE_ADD_FOLDER = 32786,
    ID_TOOLS_OPTIONS = 32790,
    ID_LIST_DELETE = 32788,
    ID_VIEW_ADD_REPORT = 32800,
    ID_FILE_NEW = 57600,
    ID_EDIT_PASTE = 57637,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_HELP_FINDER = 57667,
    ID_CONTEXT_HELP = 57669,
    ID_HELP = 57670,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
};
