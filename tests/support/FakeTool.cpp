#include "FakeTool.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace
{
const char* const kScript = R"SCRIPT(#!/bin/sh
# Fake pdftotext: behaviour comes from files beside the source.
src="$2"
out="$3"
printf '%s\n' "$*" >> "$(dirname "$0")/calls.log"
: > "$src.started"
[ -f "$src.partial" ] && cat "$src.partial" > "$out"
if [ -f "$src.await" ]; then
  other=$(cat "$src.await")
  i=0
  while [ ! -e "$other" ] && [ $i -lt 200 ]; do sleep 0.05; i=$((i+1)); done
  [ -e "$other" ] || echo "Error: ran alone" >&2
fi
[ -f "$src.sleep" ] && sleep "$(cat "$src.sleep")"
[ -f "$src.stderr" ] && cat "$src.stderr" >&2
[ -f "$src.text" ] && cat "$src.text" > "$out"
[ -f "$src.exit" ] && exit "$(cat "$src.exit")"
exit 0
)SCRIPT";

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string CurrentPath()
{
    const char* path = std::getenv("PATH");
    return path ? path : "";
}
} // namespace

CFakeTool::CFakeTool() : m_strOldPath(CurrentPath())
{
    std::string tool = m_bin.Write("pdftotext", kScript);
    ::chmod(tool.c_str(), 0755);
    ::setenv("PATH", (m_bin.Path() + ":" + m_strOldPath).c_str(), 1);
}

CFakeTool::~CFakeTool()
{
    ::setenv("PATH", m_strOldPath.c_str(), 1);
}

void CFakeTool::Script(const std::string& source, const std::string& errorOutput,
                       const std::string* text)
{
    std::filesystem::remove(source + ".stderr");
    std::filesystem::remove(source + ".text");
    if (!errorOutput.empty())
        WriteBytes(source + ".stderr", errorOutput);
    if (text)
        WriteBytes(source + ".text", *text);
}

std::vector<std::string> CFakeTool::Calls() const
{
    std::istringstream log(CTempDir::ReadFile(m_bin / "calls.log"));
    std::vector<std::string> calls;
    for (std::string line; std::getline(log, line);)
        calls.push_back(line);
    return calls;
}

CScopedPath::CScopedPath(const std::string& path) : m_strOldPath(CurrentPath())
{
    ::setenv("PATH", path.c_str(), 1);
}

CScopedPath::~CScopedPath()
{
    ::setenv("PATH", m_strOldPath.c_str(), 1);
}
