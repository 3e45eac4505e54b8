// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <exception>
#include <functional>
#include <string>

class CPrompts;

// The one place where a command of the person (an add operation, a window
// command) catches what nothing else handles, so that nothing escapes to the
// window's event handlers. Such a failure (memory running out, the system
// refusing a thread) ends the command and is told in a plain message naming
// the path the command was at; what was done before it stays. A cancel ends
// the command without a word.
class CCommandGuard
{
public:
    // `activePath` is where the command is; it is read only on failure.
    CCommandGuard(CPrompts& prompts, const std::string& activePath);

    // Runs `work`, then `always`, which runs after a failure of `work` too.
    // A failure is told once, when it happens. Returns false when either
    // failed.
    bool Run(const std::function<void()>& work, const std::function<void()>& always = {});

private:
    void ReportStop(const std::exception_ptr& failure);

    CPrompts& m_prompts;
    const std::string& m_strActivePath;
};
