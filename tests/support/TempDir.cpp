#include "TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

CTempDir::CTempDir()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/zelto-test-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    m_strPath = pattern;
}

CTempDir::~CTempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_strPath, ignored);
}

std::string CTempDir::Write(const std::string& name, const std::string& bytes) const
{
    std::string path = *this / name;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
    return path;
}

std::string CTempDir::MakeFolder(const std::string& name) const
{
    std::string path = *this / name;
    std::filesystem::create_directories(path);
    return path;
}

std::string CTempDir::ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}
