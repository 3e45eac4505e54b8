// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QKeySequence>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMetaEnum>
#include <QStatusBar>
#include <QToolBar>
#include <QtDebug>

#include <algorithm>
#include <vector>

// A window's menus, toolbars and status bar panes written out as plain text,
// one item a line, so that a test compares the whole structure with one
// expected listing and a fault shows as a line diff.
//
// A menu item reads `text {shortcuts} [x] | prompt | tooltip`: tabs in the
// text as `\t`, the shortcuts only when there are any, `[x]` or `[ ]` only
// when it is checkable. A toolbar button reads `menu > item | prompt |
// tooltip`, with the menu the same action sits in and the prompt and
// tooltip of the button itself. A separator reads `---`. The status bar's
// panes are named left to right, `(fixed width)` where their width is.
// Whatever is off says so: `(disabled)`, `(hidden)`, `(no icon)`.
class CUiListing
{
public:
    static QString MainWindow(const QMainWindow& window)
    {
        QString listing = MenuBar(*window.menuBar());
        for (const QToolBar* bar : window.findChildren<QToolBar*>())
            listing += ToolBar(window, *bar);
        return listing + StatusBar(*window.statusBar());
    }

    static QString MenuBar(const QMenuBar& bar)
    {
        QString listing;
        for (const QAction* title : bar.actions())
        {
            listing += Escaped(title->text()) + States(*title) + '\n';
            if (title->menu())
                listing += Menu(*title->menu(), 1);
        }
        return listing;
    }

    static QString Menu(const QMenu& menu, int depth)
    {
        const QString indent(2 * depth, ' ');
        QString listing;
        for (const QAction* item : menu.actions())
        {
            listing += indent + (item->isSeparator() ? QStringLiteral("---") : Item(*item)) + '\n';
            if (item->menu())
                listing += Menu(*item->menu(), depth + 1);
        }
        return listing;
    }

    static QString ToolBar(const QMainWindow& window, const QToolBar& bar)
    {
        QString listing =
            QStringLiteral("toolbar %1 (%2%3, %4x%5 icons)%6\n")
                .arg(bar.windowTitle(),
                     QMetaEnum::fromType<Qt::ToolBarArea>().valueToKey(window.toolBarArea(&bar)),
                     bar.isMovable() ? QStringLiteral(", movable") : QString())
                .arg(bar.iconSize().width())
                .arg(bar.iconSize().height())
                .arg(bar.isVisibleTo(&window) ? QString() : " (hidden)");
        for (QAction* action : bar.actions())
        {
            const QWidget* button = bar.widgetForAction(action);
            if (action->isSeparator() || !button)
            {
                listing += action->isSeparator() ? "  ---\n" : "  (no button)\n";
                continue;
            }
            QString flags;
            if (action->icon().pixmap(bar.iconSize()).isNull())
                flags += " (no icon)";
            if (!button->isEnabled())
                flags += " (disabled)";
            if (!button->isVisibleTo(&bar))
                flags += " (hidden)";
            listing += "  " + MenuPath(*window.menuBar(), action) + flags + " | " +
                       button->statusTip() + " | " + button->toolTip() + '\n';
        }
        return listing;
    }

    // The panes left to right, by name.
    static QString StatusBar(const QStatusBar& bar)
    {
        QList<QLabel*> panes = bar.findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
        std::stable_sort(panes.begin(), panes.end(),
                         [](const QLabel* a, const QLabel* b) { return a->x() < b->x(); });
        QString listing = QStringLiteral("status bar\n");
        for (const QLabel* pane : panes)
        {
            listing += "  " + pane->objectName();
            if (pane->minimumWidth() == pane->maximumWidth())
                listing += " (fixed width)";
            if (!pane->isVisibleTo(&bar))
                listing += " (hidden)";
            listing += '\n';
        }
        return listing;
    }

    // Whether the listings are the same; if not, prints both as one line
    // diff: `-` for lines only the expected listing has, `+` for lines only
    // the actual one has. Test messages are cut short; warnings are not.
    static bool Matches(const QString& actual, const QString& expected)
    {
        if (actual == expected)
            return true;
        qWarning().noquote() << "listing differs (- expected, + actual):\n" +
                                    Diff(expected.split('\n'), actual.split('\n'));
        return false;
    }

private:
    static QString Item(const QAction& action)
    {
        QString line = Escaped(action.text());
        QStringList keys;
        for (const QKeySequence& key : action.shortcuts())
            keys << key.toString(QKeySequence::PortableText);
        if (!keys.isEmpty())
            line += " {" + keys.join(", ") + '}';
        if (action.isCheckable())
            line += action.isChecked() ? " [x]" : " [ ]";
        return line + States(action) + " | " + action.statusTip() + " | " + action.toolTip();
    }

    static QString States(const QAction& action)
    {
        QString states;
        if (!action.isEnabled())
            states += " (disabled)";
        if (!action.isVisible())
            states += " (hidden)";
        return states;
    }

    static QString Escaped(QString text)
    {
        return text.replace('\t', QStringLiteral("\\t")).replace('\n', QStringLiteral("\\n"));
    }

    // Where the action sits in the menus, as `File > Item`.
    static QString MenuPath(const QMenuBar& bar, QAction* action)
    {
        for (const QAction* title : bar.actions())
        {
            if (title->menu() && title->menu()->actions().contains(action))
                return Escaped(title->text()) + " > " + Escaped(action->text());
        }
        return Escaped(action->text()) + " (in no menu)";
    }

    static QString Diff(const QStringList& expected, const QStringList& actual)
    {
        const auto nExpected = std::size_t(expected.size());
        const auto nActual = std::size_t(actual.size());
        // common[i][j]: how many lines, in order, the tails from i and from j share.
        std::vector<std::vector<int>> common(nExpected + 1, std::vector<int>(nActual + 1, 0));
        for (std::size_t i = nExpected; i-- > 0;)
        {
            for (std::size_t j = nActual; j-- > 0;)
            {
                common[i][j] = expected[i] == actual[j]
                                   ? common[i + 1][j + 1] + 1
                                   : std::max(common[i + 1][j], common[i][j + 1]);
            }
        }
        QString diff;
        std::size_t i = 0;
        std::size_t j = 0;
        while (i < nExpected || j < nActual)
        {
            if (i < nExpected && j < nActual && expected[i] == actual[j])
            {
                diff += "  " + expected[i++] + '\n';
                ++j;
            }
            else if (i < nExpected && (j == nActual || common[i + 1][j] >= common[i][j + 1]))
                diff += "- " + expected[i++] + '\n';
            else
                diff += "+ " + actual[j++] + '\n';
        }
        return diff;
    }
};
