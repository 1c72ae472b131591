#include "tests/support/ToolRun.h"

#include <set>
#include <sstream>

#include "cli/CliApp.h"

namespace fs = std::filesystem;

ToolRun::ToolRun(const std::string& folderName) : m_folder(folderName)
{
}

ToolRun::~ToolRun()
{
}

const fs::path& ToolRun::GetFolder() const
{
    return m_folder.GetPath();
}

std::string ToolRun::Write(const std::string& name, const std::vector<uint8_t>& bytes)
{
    return m_folder.Put(name.c_str(), std::string(bytes.begin(), bytes.end()));
}

std::string ToolRun::Read(const std::string& path) const
{
    return TempFolder::Read(path);
}

std::vector<std::string> ToolRun::Names() const
{
    const std::set<std::string> names = m_folder.Names(); // sorted
    return std::vector<std::string>(names.begin(), names.end());
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
    m_tool.reset(new ToolRun(TempFolder::NameForTest("cli")));
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
