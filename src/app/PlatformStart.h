// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

class QApplication;

// Brings up the window system for the program. When that cannot be done
// (no display to connect to, no usable platform plugin) the program cannot
// run: it says so on standard error, with message 100 and the platform's
// own reason, and ends with a failure status instead of aborting.
class CPlatformStart
{
public:
    static constexpr int kFailureStatus = 1;

    // The application object; does not return when the platform fails.
    static std::unique_ptr<QApplication> Start(int& argc, char** argv);
};
