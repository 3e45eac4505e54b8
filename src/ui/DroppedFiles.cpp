// SPDX-License-Identifier: GPL-3.0-or-later
#include "DroppedFiles.h"

#include "dialogs/QtText.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

std::vector<std::string> CDroppedFiles::LocalPaths(const QMimeData* data)
{
    std::vector<std::string> paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls())
    {
        if (url.isLocalFile())
            paths.push_back(CQtText::ToPath(url.toLocalFile()));
    }
    return paths;
}

bool CDroppedFiles::ChooseAction(QDropEvent& event)
{
    if (event.possibleActions() & Qt::CopyAction)
        event.setDropAction(Qt::CopyAction);
    else if (event.possibleActions() & Qt::LinkAction)
        event.setDropAction(Qt::LinkAction);
    else
        return false;
    return true;
}
