// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The command's ties to the outside, so that tests can run it whole: its
// streams, whether they are terminals, and the requests to stop that came.
struct CCommandStreams
{
    std::function<void(std::string_view)> writeOutput;
    std::function<void(std::string_view)> writeError;
    // As CPathFeed::FRead, on the standard input.
    std::function<long(char*, std::size_t)> readInput;
    bool bInputIsTerminal = false;
    bool bErrorIsTerminal = false;
    int nColumns = 80;
    // The signal of the first request to stop, or 0 when none came. Any
    // thread.
    std::function<int()> stopRequest;
    // Whether a request to read the settings again came since the last
    // call (SIGHUP). Any thread; absent: none ever comes.
    std::function<bool()> rereadRequest;
    // The value of an environment variable; nothing when it is not set.
    std::function<std::optional<std::string>(const std::string&)> environment;
    // With --watch: called once the folders are watched and what was there
    // is queued, with what wakes the watch from any thread (after a request
    // to stop came). Absent: signals wake it.
    std::function<void(std::function<void()> wake)> watching;
    // The extraction worker's program; empty when there is none, and every
    // file is converted by running pdftotext.
    std::string strWorkerProgram;
};
