// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PdfLock.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What passes between the program and an extraction worker over the
// worker's standard input and output, as frames: one kind byte, the
// payload's length in four bytes (least significant first), the payload.
//
// The worker greets with Hello once it is ready. Then, for each file, the
// program sends one Request, after the passwords for a locked PDF when it
// has any, and the worker answers with Text and Report frames, in any
// number and order, one Lock frame when the PDF is locked and one Fonts
// frame when fonts without a map to Unicode drew pages, closed by one End; or with Unsupported
// alone, when the request asks for something it does not do. Passwords travel only here, never on a
// command line, where every user of the machine could read them.
enum class EWorkerFrame : char
{
    Hello = 'H',       // payload: the worker's version of this protocol
    Passwords = 'P',   // payload: passwords for the next request alone, each ended by a zero byte
    Request = 'R',     // payload: the tool's arguments, each ended by a zero byte
    Text = 'T',        // payload: text, as the tool writes it on its output
    Report = 'E',      // payload: lines of the tool's error stream
    Lock = 'L',        // payload: one byte, what the passwords made of a locked PDF
    Fonts = 'F',       // payload: the pages drawn in fonts without a map, four bytes each
    End = 'X',         // payload: the exit status, in four bytes
    Unsupported = 'U', // no payload
};

class CWorkerProtocol
{
public:
    static constexpr std::size_t kHeaderSize = 5;
    // Longer frames are taken as a broken stream.
    static constexpr std::uint32_t kLongestPayload = 64u << 20;
    static constexpr std::string_view kVersion = "zelto-worker 3";

    static std::string Frame(EWorkerFrame kind, std::string_view payload = {});
    static std::string RequestFrame(const std::vector<std::string>& arguments);
    static std::vector<std::string> RequestArguments(std::string_view payload);
    // Passwords are sent as the arguments are: none may hold a zero byte.
    static std::string PasswordsFrame(const std::vector<std::string>& passwords);
    static std::string LockPayload(EPdfLock lock);
    // The lock a Lock frame's payload tells; nothing for a malformed one.
    static std::optional<EPdfLock> Lock(std::string_view payload);
    // Page numbers, rising, as a Fonts frame carries them.
    static std::string PagesPayload(const std::vector<int>& pages);
    // The pages of a Fonts frame's payload; nothing for a malformed one.
    static std::optional<std::vector<int>> Pages(std::string_view payload);
    static std::string EndFrame(int exitStatus);
    // The exit status of an End frame's payload; -1 when it is malformed.
    static int ExitStatus(std::string_view payload);
};

// Gathers bytes as they arrive and hands out the whole frames among them.
class CFrameReader
{
public:
    void Add(const char* bytes, std::size_t count);
    // The next whole frame, if one has arrived; false otherwise, or when
    // the stream is broken.
    bool Next(EWorkerFrame& kind, std::string& payload);
    // A header announced a frame longer than any frame can be.
    bool IsBroken() const { return m_bBroken; }

private:
    std::string m_strBuffer;
    std::size_t m_nRead = 0;
    bool m_bBroken = false;
};
