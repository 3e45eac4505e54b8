// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <optional>
#include <string>
#include <vector>

class QMimeData;

// The list of files that a file manager put on the clipboard, or that a
// drop brings: "text/uri-list" (every file manager, and Qt on Windows), or
// GNOME's "x-special/gnome-copied-files", whose first line says "copy" or
// "cut". Only local files count; paths come out as the file system's bytes,
// in the order given.
class CClipboardFileList
{
public:
    static constexpr const char* kUriListFormat = "text/uri-list";
    static constexpr const char* kGnomeFormat = "x-special/gnome-copied-files";

    // Nothing when the data holds no file list at all.
    static std::optional<std::vector<std::string>> Read(const QMimeData* data);

    static std::vector<std::string> ParseUriList(const QByteArray& bytes);
    static std::vector<std::string> ParseGnomeCopiedFiles(const QByteArray& bytes);
    // The local path of a "file:" URI, or nothing for any other URI.
    static std::optional<std::string> LocalPath(const QByteArray& uri);

private:
    static std::vector<QByteArray> Lines(const QByteArray& bytes);
    static bool IsLocalHost(const QByteArray& host);
};
