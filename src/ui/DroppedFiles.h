// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

class QDropEvent;
class QMimeData;

// How the window reads what is dragged onto it.
class CDroppedFiles
{
public:
    // The local files among dropped URLs, in drop order.
    static std::vector<std::string> LocalPaths(const QMimeData* data);

    // Dropped files are only read, so a drop is taken as a copy (or a link),
    // never as a move, after which the program they came from could delete
    // them. A drop that offers neither is refused: false.
    static bool ChooseAction(QDropEvent& event);
};
