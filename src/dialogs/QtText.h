#pragma once

#include <QString>

#include <string>

// Conversions between the logic's byte strings and Qt's strings. Paths are
// the file system's bytes; message texts are UTF-8. It sits with the dialogs
// so that they and the main window share it while the dialogs stay free of
// the window's files.
class CQtText
{
public:
    static QString FromPath(const std::string& path);
    static std::string ToPath(const QString& path);
    static QString FromText(const std::string& text);
    static std::string ToText(const QString& text);
};
