// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

struct CFileOutcome;

// Whoever shows the person what became of each file of an add operation:
// the window in message boxes or its report, a command in report rows.
// The operation hands every outcome over on its own thread, in the order
// the person is to learn of them: a file dropped before its conversion when
// it is dropped, a converted file after every file queued before it.
class COutcomePresenter
{
public:
    virtual ~COutcomePresenter() = default;

    // `manyFiles`: whether the operation is sure to meet more than one file.
    virtual void Present(const CFileOutcome& outcome, bool manyFiles) = 0;
    // Whether a file's problems would be told to the person now, rather
    // than only go on record: only then may a question about the file be
    // put to them (the password of a locked file).
    virtual bool TellsNow(bool manyFiles) const = 0;
};
