// SPDX-License-Identifier: GPL-3.0-or-later
#include "IconSet.h"

#include <iterator>

namespace
{
// Each icon's name in the freedesktop naming scheme and the file name of
// our own drawing, in the order of CIconSet::EIcon.
struct CIconNames
{
    const char* theme;
    const char* own;
};

constexpr CIconNames kNames[] = {
    {"document-open", "add-files"},
    {"folder-open", "add-folder"},
    {"edit-clear", "remove-all"},
    {"edit-paste", "paste-files"},
    {"system-file-manager", "file-manager"},
    {"help-about", "about"},
    {"zelto-extractor", "zelto"},
};
static_assert(std::size(kNames) == static_cast<std::size_t>(CIconSet::EIcon::Application) + 1);
} // namespace

QString CIconSet::ThemeName(EIcon icon)
{
    return QString::fromLatin1(kNames[static_cast<std::size_t>(icon)].theme);
}

QString CIconSet::ResourcePath(EIcon icon)
{
    return QStringLiteral(":/icons/%1.svg")
        .arg(QString::fromLatin1(kNames[static_cast<std::size_t>(icon)].own));
}

QIcon CIconSet::OwnIcon(EIcon icon)
{
    QIcon own(ResourcePath(icon));
    // The program's icon has a simpler drawing for the smallest sizes,
    // where the large one's lettering would only blur.
    if (icon == EIcon::Application)
        own.addPixmap(QIcon(QStringLiteral(":/icons/zelto-16.svg")).pixmap(QSize(16, 16), 1.0));
    return own;
}

QIcon CIconSet::Icon(EIcon icon)
{
    return QIcon::fromTheme(ThemeName(icon), OwnIcon(icon));
}
