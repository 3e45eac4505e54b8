#pragma once

#include "CancelFlag.h"
#include "MessageBox.h"

#include <functional>
#include <string>

// How the logic reaches the person at the keyboard. The window implements it
// with real dialogs; tests implement it with scripted answers.
class CPrompts
{
public:
    virtual ~CPrompts() = default;

    // Shows a modal message box and returns the answer (Ok for boxes
    // without a choice).
    virtual EAnswer ShowMessage(const CMessageBox& box) = 0;

    // Runs blocking work (one tool run about `subject`, a file path) while
    // the user interface stays alive. The work polls the flag; the
    // implementation sets it when the person asks to cancel. Returns when
    // the work has finished.
    virtual void RunCancellable(const std::string& subject,
                                const std::function<void(const CCancelFlag&)>& work) = 0;
};
