#include "IconSet.h"

QString CIconSet::ThemeName(EIcon icon)
{
    switch (icon)
    {
    case EIcon::AddFiles:
        return QStringLiteral("document-open");
    case EIcon::AddFolder:
        return QStringLiteral("folder-open");
    case EIcon::RemoveAll:
        return QStringLiteral("edit-clear");
    case EIcon::PasteFiles:
        return QStringLiteral("edit-paste");
    case EIcon::FileManager:
        return QStringLiteral("system-file-manager");
    case EIcon::About:
        return QStringLiteral("help-about");
    case EIcon::Application:
        return QStringLiteral("zelto-extractor");
    }
    return QString();
}

QString CIconSet::ResourcePath(EIcon icon)
{
    switch (icon)
    {
    case EIcon::AddFiles:
        return QStringLiteral(":/icons/add-files.svg");
    case EIcon::AddFolder:
        return QStringLiteral(":/icons/add-folder.svg");
    case EIcon::RemoveAll:
        return QStringLiteral(":/icons/remove-all.svg");
    case EIcon::PasteFiles:
        return QStringLiteral(":/icons/paste-files.svg");
    case EIcon::FileManager:
        return QStringLiteral(":/icons/file-manager.svg");
    case EIcon::About:
        return QStringLiteral(":/icons/about.svg");
    case EIcon::Application:
        return QStringLiteral(":/icons/zelto.svg");
    }
    return QString();
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
