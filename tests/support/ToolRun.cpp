#include "tests/support/ToolRun.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

#include "cli/CliApp.h"

namespace fs = std::filesystem;

ToolRun::ToolRun(const std::string& folderName)
    : m_folder(fs::temp_directory_path() / folderName)
{
    std::error_code ignored;
    fs::remove_all(m_folder, ignored);
    fs::create_directories(m_folder);
}

ToolRun::~ToolRun()
{
    std::error_code ignored;
    fs::remove_all(m_folder, ignored);
}

const fs::path& ToolRun::GetFolder() const
{
    return m_folder;
}

std::string ToolRun::Write(const std::string& name, const std::vector<uint8_t>& bytes)
{
    std::string path = (m_folder / name).string();
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string ToolRun::Read(const std::string& path) const
{
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

std::vector<std::string> ToolRun::Names() const
{
    std::vector<std::string> names;
    for (const fs::directory_entry& e : fs::directory_iterator(m_folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

ToolRun::Outcome ToolRun::Run(const std::vector<std::string>& args) const
{
    return RunTool(args);
}

ToolRun::Outcome RunTool(const std::vector<std::string>& args)
{
    std::vector<const char*> argv = {"midi2morvek"};
    for (const std::string& a : args)
        argv.push_back(a.c_str());
    std::ostringstream out;
    std::ostringstream err;
    CliApp app;
    app.AddStandardCommands();
    int code = app.Run(static_cast<int>(argv.size()), argv.data(), out, err);
    return ToolRun::Outcome{code, out.str(), err.str()};
}

void FolderTest::SetUp()
{
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("cli-") + test->test_suite_name() + "-" + test->name();
    std::replace(name.begin(), name.end(), '/', '-');
    m_tool.reset(new ToolRun(name));
    m_folder = m_tool->GetFolder();
}

void FolderTest::TearDown()
{
    m_tool.reset();
}

std::string FolderTest::Write(const char* name, const std::vector<uint8_t>& bytes)
{
    return m_tool->Write(name, bytes);
}

std::string FolderTest::Read(const std::string& path) const
{
    return m_tool->Read(path);
}

std::vector<std::string> FolderTest::Names() const
{
    return m_tool->Names();
}
