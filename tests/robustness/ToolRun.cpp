#include "tests/robustness/ToolRun.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/CliApp.h"

namespace fs = std::filesystem;

ToolRun::ToolRun(const std::string& folderName)
    : m_folder((fs::temp_directory_path() / folderName).string())
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

std::string ToolRun::Write(const std::string& name, const std::vector<uint8_t>& bytes)
{
    std::string path = (fs::path(m_folder) / name).string();
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

ToolRun::Outcome ToolRun::Run(const std::vector<std::string>& args)
{
    std::vector<const char*> argv = {"midi2morvek"};
    for (const std::string& a : args)
        argv.push_back(a.c_str());
    std::ostringstream out;
    std::ostringstream err;
    CliApp app;
    app.AddStandardCommands();
    int code = app.Run(static_cast<int>(argv.size()), argv.data(), out, err);
    return Outcome{code, out.str(), err.str()};
}
