#ifndef MORVEK_TESTS_SUPPORT_PATHNAMECASE_H
#define MORVEK_TESTS_SUPPORT_PATHNAMECASE_H

#include <string>
#include <vector>

// A path and the file name and base name cut from it.
struct PathNameCase {
    std::string path;
    std::string name;
    std::string base;
};

// Windows paths in code page 932 as every splitter of them must cut them:
// PathName itself and the window's system code page wrappers.
inline std::vector<PathNameCase> WindowsPathCases()
{
    const std::string table = "\x95\x5C"; // 表
    const std::string so = "\x83\x5C";    // ソ
    return {
        {"C:\\music\\song.mid", "song.mid", "song"},
        {"C:/music/song.mid", "song.mid", "song"},
        {"C:song.mid", "song.mid", "song"},
        {"song", "song", "song"},
        {"C:\\music\\my.song.mid", "my.song.mid", "my.song"},
        {"C:\\music.d\\song", "song", "song"},
        // The trail byte 0x5C of these characters is no separator.
        {"C:\\" + table + "\\" + so + ".mid", so + ".mid", so},
        {"C:\\dir\\" + table + so + ".mid", table + so + ".mid", table + so},
        {"", "", ""},
    };
}

#endif
