#ifndef MORVEK_TESTS_ROBUSTNESS_TOOLRUN_H
#define MORVEK_TESTS_ROBUSTNESS_TOOLRUN_H

#include <cstdint>
#include <string>
#include <vector>

// Runs midi2morvek in the test program, as main() does, on files it writes
// into a folder of its own (removed with the object).
class ToolRun {
public:
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

// Operations
    // Writes bytes to the folder under name; returns the path.
    virtual std::string Write(const std::string& name, const std::vector<uint8_t>& bytes);
    virtual Outcome Run(const std::vector<std::string>& args);

private:
    std::string m_folder;
};

#endif
