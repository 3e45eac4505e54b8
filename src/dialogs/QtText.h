// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FormatArg.h"
#include "platform/MessageIds.h"

#include <QString>

#include <initializer_list>
#include <string>
#include <string_view>

// Conversions between the logic's byte strings and Qt's strings. Paths are
// the file system's bytes; message texts are UTF-8. It sits with the dialogs
// so that they and the main window share it while the dialogs stay free of
// the window's files.
class CQtText
{
public:
    static QString FromPath(std::string_view path);
    static std::string ToPath(const QString& path);
    static QString FromText(const std::string& text);
    static std::string ToText(const QString& text);

    // A numbered text as the user sees it, its placeholders filled with the
    // arguments. The one way from a message id to a text on screen, so the
    // format always comes from the table.
    static QString Message(EMessageId id, std::initializer_list<CFormatArg> args = {});
};
