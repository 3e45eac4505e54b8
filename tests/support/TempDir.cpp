#include "TempDir.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#ifdef _WIN32
namespace
{
std::string MakeTempFolder()
{
    std::filesystem::path base = std::filesystem::temp_directory_path();
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        std::filesystem::path folder = base / ("zelto-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(folder))
        {
            std::u8string name = folder.generic_u8string();
            return std::string(name.begin(), name.end());
        }
    }
    throw std::runtime_error("cannot make a temporary folder");
}
} // namespace
#else
namespace
{
std::string MakeTempFolder()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/zelto-test-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    return pattern;
}
} // namespace
#endif

CTempDir::CTempDir() : m_strPath(MakeTempFolder()) {}

CTempDir::~CTempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(FsPath(m_strPath), ignored);
}

std::string CTempDir::Write(const std::string& name, const std::string& bytes) const
{
    std::filesystem::path path = FsPath(*this / name);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + (*this / name));
    return *this / name;
}

std::string CTempDir::MakeFolder(const std::string& name) const
{
    std::string path = *this / name;
    std::filesystem::create_directories(FsPath(path));
    return path;
}

std::string CTempDir::ReadFile(const std::string& path)
{
    std::ifstream in(FsPath(path), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::filesystem::path CTempDir::FsPath(const std::string& path)
{
    return std::filesystem::path(std::u8string(path.begin(), path.end()));
}
