// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

// The passwords one add operation knows for its locked PDF files, in the
// order they are to be tried: those it was given when it started, then
// those the person typed for every locked file of the add. It only grows,
// so a run that tried the first N has tried them for good. Lives in memory
// with the operation alone; any thread.
class CPdfPasswords
{
public:
    CPdfPasswords() = default;
    explicit CPdfPasswords(const std::vector<std::string>& passwords);
    CPdfPasswords(const CPdfPasswords&) = delete;
    CPdfPasswords& operator=(const CPdfPasswords&) = delete;

    // Adds a password after the others; false for one known already and for
    // one no PDF can have: the empty one, always tried first, and one with a
    // zero byte, which cannot reach a worker.
    bool Add(std::string password);
    std::vector<std::string> List() const;
    std::size_t Count() const;

    // Whether `password` could be one of a PDF's: not empty, and without a
    // zero byte.
    static bool IsUsable(const std::string& password);

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_passwords;
};
