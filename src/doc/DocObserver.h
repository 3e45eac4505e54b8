// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a view of the file list is told when the list changes, so that it can
// follow each change cheaply instead of rebuilding every row. Row numbers are
// those of the list at the moment of the call. Each change comes as a pair:
// the "about to" call while the list is still unchanged, then the call after
// the change; a view that caches nothing may ignore the first.
class CDocObserver
{
public:
    virtual ~CDocObserver() = default;

    // One converter enters the list at `row`; the rows from `row` on move
    // down by one.
    virtual void OnRowAboutToBeInserted(int /*row*/) {}
    virtual void OnRowInserted(int row) = 0;

    // Rows `first` to `last` (inclusive) leave the list. One removal of
    // several rows is told range by range from the bottom of the list up, so
    // that the numbers of every range are still valid when it is told.
    virtual void OnRowsAboutToBeRemoved(int /*first*/, int /*last*/) {}
    virtual void OnRowsRemoved(int first, int last) = 0;

    // The whole list changed (emptied, or a full rebuild is asked for); no
    // converter a view holds from before the reset may be used after it.
    virtual void OnAboutToReset() {}
    virtual void OnReset() = 0;

    // The recorded file count changed to `count`.
    virtual void OnFileCountChanged(int count) = 0;
};
