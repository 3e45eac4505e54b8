// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMetaEnum>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>

// A window's menus, toolbar and status bar panes, or a message box, one item
// a line, so that a test compares a whole structure with one expected list
// and QCOMPARE names the first line that differs (or both lengths).
//
// A menu item reads `text {shortcuts} [x] | prompt | tooltip`, a tab in its
// text as `\t`: the shortcuts when there are any, `[x]` or `[ ]` when it is
// checkable, prompt and tooltip when it has a prompt. A toolbar button names
// the menu item whose action it shares, as `menu > item`. A separator reads
// `---`. Whatever is off says so: `(disabled)`, `(hidden)`, `(no icon)`;
// status bar panes whose width does not follow their text say
// `(fixed width)`.
class CUiListing
{
public:
    static QStringList MainWindow(const QMainWindow& window)
    {
        QStringList lines;
        for (const QAction* title : window.menuBar()->actions())
            lines << Text(*title) + Off(*title) << Menu(*title->menu(), QStringLiteral("  "));
        for (const QToolBar* bar : window.findChildren<QToolBar*>())
            lines << ToolBar(window, *bar);
        return lines << StatusBar(*window.statusBar());
    }

    static QStringList Menu(const QMenu& menu, const QString& indent = QString())
    {
        QStringList lines;
        for (const QAction* item : menu.actions())
            lines << indent + (item->isSeparator() ? QStringLiteral("---") : Item(*item));
        return lines;
    }

    // `icon | buttons`, and `| on top` for a box that stays above other windows.
    static QString MessageBox(const QMessageBox& box)
    {
        const QMetaEnum buttons = QMetaEnum::fromType<QMessageBox::StandardButtons>();
        QStringList parts{QMetaEnum::fromType<QMessageBox::Icon>().valueToKey(box.icon())};
        for (QAbstractButton* button : box.buttons())
            parts << buttons.valueToKey(box.standardButton(button));
        if (box.windowFlags() & Qt::WindowStaysOnTopHint)
            parts << QStringLiteral("on top");
        return parts.join(" | ");
    }

private:
    static QStringList ToolBar(const QMainWindow& window, const QToolBar& bar)
    {
        const char* area =
            QMetaEnum::fromType<Qt::ToolBarArea>().valueToKey(window.toolBarArea(&bar));
        QStringList lines{QStringLiteral("toolbar %1 (%2%3, %4x%5 icons)%6")
                              .arg(bar.windowTitle(), area, bar.isMovable() ? ", movable" : "")
                              .arg(bar.iconSize().width())
                              .arg(bar.iconSize().height())
                              .arg(bar.isVisibleTo(&window) ? "" : " (hidden)")};
        for (QAction* action : bar.actions())
        {
            if (action->isSeparator())
                lines << QStringLiteral("  ---");
            else
                lines << "  " + MenuPath(*window.menuBar(), action) + Off(*action) +
                             (action->icon().pixmap(bar.iconSize()).isNull() ? " (no icon)" : "");
        }
        return lines;
    }

    static QStringList StatusBar(const QStatusBar& bar)
    {
        QList<QLabel*> panes = bar.findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
        std::sort(panes.begin(), panes.end(),
                  [](const QLabel* a, const QLabel* b) { return a->x() < b->x(); });
        QStringList lines{QStringLiteral("status bar")};
        for (const QLabel* pane : panes)
        {
            lines << "  " + pane->objectName() +
                         (pane->minimumWidth() == pane->maximumWidth() ? " (fixed width)" : "") +
                         (pane->isVisibleTo(&bar) ? "" : " (hidden)");
        }
        return lines;
    }

    static QString Item(const QAction& item)
    {
        QString line = Text(item);
        if (!item.shortcuts().isEmpty())
            line += " {" + QKeySequence::listToString(item.shortcuts()) + '}';
        if (item.isCheckable())
            line += item.isChecked() ? " [x]" : " [ ]";
        line += Off(item);
        return item.statusTip().isEmpty()
                   ? line
                   : line + " | " + item.statusTip() + " | " + item.toolTip();
    }

    static QString MenuPath(const QMenuBar& bar, QAction* action)
    {
        for (const QAction* title : bar.actions())
        {
            if (title->menu()->actions().contains(action))
                return Text(*title) + " > " + Text(*action);
        }
        return Text(*action) + " (in no menu)";
    }

    static QString Off(const QAction& action)
    {
        return QString(action.isEnabled() ? "" : " (disabled)") +
               (action.isVisible() ? "" : " (hidden)");
    }

    static QString Text(const QAction& action)
    {
        return action.text().replace('\t', QStringLiteral("\\t"));
    }
};
