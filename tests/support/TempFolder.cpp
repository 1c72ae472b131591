#include "tests/support/TempFolder.h"

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <system_error>

namespace fs = std::filesystem;

namespace {

long ProcessId()
{
#ifdef _WIN32
    return static_cast<long>(_getpid());
#else
    return static_cast<long>(getpid());
#endif
}

} // namespace

// The process's number in the name: two test runs at once (two checkouts,
// or a build beside a developer's) must not share a folder.
TempFolder::TempFolder(const std::string& name)
    : m_path(fs::temp_directory_path() / (name + "-" + std::to_string(ProcessId())))
{
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
    fs::create_directories(m_path);
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
}

std::string TempFolder::NameForTest(const char* prefix)
{
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(prefix) + "-" + info->test_suite_name() + "-" + info->name();
    for (char& c : name) {
        if (c == '/')
            c = '-';
    }
    return name;
}

std::string TempFolder::PathOf(const char* name) const
{
    return (m_path / name).string();
}

std::string TempFolder::Put(const char* name, const std::string& bytes) const
{
    const std::string path = PathOf(name);
    Write(path, bytes);
    return path;
}

void TempFolder::Write(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string TempFolder::Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::set<std::string> TempFolder::Names() const
{
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(m_path))
        names.insert(entry.path().filename().string());
    return names;
}
