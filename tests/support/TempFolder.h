#ifndef MORVEK_TESTS_SUPPORT_TEMPFOLDER_H
#define MORVEK_TESTS_SUPPORT_TEMPFOLDER_H

#include <filesystem>
#include <set>
#include <string>

// A folder of the running test's own under the system's temporary folder,
// made empty when created and removed with everything in it when it goes.
class TempFolder {
public:
// Construction
    // name is the folder's under the system's temporary folder.
    explicit TempFolder(const std::string& name);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

// Operations
    // "prefix-Suite-Test" for the running test: a folder name no other test
    // uses.
    static std::string NameForTest(const char* prefix);
    // The path of name in the folder.
    std::string PathOf(const char* name) const;
    // Writes bytes as the whole file name; returns its path.
    std::string Put(const char* name, const std::string& bytes) const;
    // Writes bytes as the whole file at path.
    static void Write(const std::string& path, const std::string& bytes);
    // The whole file at path; "" when it cannot be read.
    static std::string Read(const std::string& path);
    // The names of the files in the folder.
    std::set<std::string> Names() const;

// Attributes
    const std::filesystem::path& GetPath() const { return m_path; }

private:
    std::filesystem::path m_path;
};

#endif
