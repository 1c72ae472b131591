#ifndef MORVEK_TESTS_CLI_TOOLTEST_H
#define MORVEK_TESTS_CLI_TOOLTEST_H

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// What one run of the command-line tool gave.
struct Outcome {
    int code;
    std::string out;
    std::string err;
};

// Runs midi2morvek as main() does, with the given arguments after its name.
Outcome RunTool(const std::vector<std::string>& args);

// A test with a folder of its own under the system's temporary folder,
// removed again when the test ends.
class FolderTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes bytes into the folder; returns the file's path.
    std::string Write(const char* name, const std::vector<uint8_t>& bytes);
    std::string Read(const std::string& path) const;
    // Every name in the folder, sorted: shows what a run left behind.
    std::vector<std::string> Names() const;

    std::filesystem::path m_folder;
};

#endif
