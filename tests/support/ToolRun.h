#ifndef MORVEK_TESTS_SUPPORT_TOOLRUN_H
#define MORVEK_TESTS_SUPPORT_TOOLRUN_H

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/TempFolder.h"

// Runs midi2morvek in the test program, as main() does, on files it writes
// into a folder of its own under the system's temporary folder (removed
// with the object).
class ToolRun {
public:
    // What one run gave.
    struct Outcome {
        int code;
        std::string out;
        std::string err;
    };

// Construction
    explicit ToolRun(const std::string& folderName);
    virtual ~ToolRun();
    ToolRun(const ToolRun&) = delete;
    ToolRun& operator=(const ToolRun&) = delete;

// Attributes
    virtual const std::filesystem::path& GetFolder() const;

// Operations
    // Writes bytes to the folder under name; returns the path.
    virtual std::string Write(const std::string& name, const std::vector<uint8_t>& bytes);
    // The whole content of the file at path ("" when there is none).
    virtual std::string Read(const std::string& path) const;
    // Every name in the folder, sorted: shows what a run left behind.
    virtual std::vector<std::string> Names() const;
    // midi2morvek with args after its name.
    virtual Outcome Run(const std::vector<std::string>& args) const;

private:
    TempFolder m_folder;
};

// ToolRun::Run without a folder.
ToolRun::Outcome RunTool(const std::vector<std::string>& args);

// A test with a ToolRun of its own, named after the test.
class FolderTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string Write(const char* name, const std::vector<uint8_t>& bytes);
    std::string Read(const std::string& path) const;
    std::vector<std::string> Names() const;

    std::unique_ptr<ToolRun> m_tool;
    std::filesystem::path m_folder; // m_tool's
};

#endif
