// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QString>

// The program's icons. The desktop's icon theme wins where it has a fitting
// icon, so the toolbar looks like the rest of the desktop; otherwise the
// program's own SVG icons are used, which stay sharp at 16 pixels and on
// high-DPI screens. The About box shows them as well as the main window, so
// they sit with the dialogs.
class CIconSet
{
public:
    enum class EIcon
    {
        AddFiles,
        AddFolder,
        RemoveAll,
        PasteFiles,
        FileManager,
        About,
        Application
    };

    // The theme's icon, or ours when the theme has none.
    static QIcon Icon(EIcon icon);
    // Always ours.
    static QIcon OwnIcon(EIcon icon);
    // The name in the freedesktop icon naming scheme.
    static QString ThemeName(EIcon icon);
    // The resource path of our SVG (":/icons/....svg").
    static QString ResourcePath(EIcon icon);
};
