// make_song: writes one generated song for the benchmark, and prints what it
// holds on one line: "events N lists N bytes N".
//
//   make_song [--tracks N] [--time-base T] [--seed S] [--human] EVENTS FILE
//
// --human plays it by hand: rolled chords, legato lines, a melody above the
// chords; the benchmark's chord-dense song.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "gen/SongGenerator.h"

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: make_song [--tracks N] [--time-base T] [--seed S] [--human]"
                         " EVENTS FILE\n");
    return 2;
}

bool WriteFile(const char* path, const std::vector<uint8_t>& bytes)
{
    std::FILE* f = std::fopen(path, "wb");
    if (f == nullptr)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv)
{
    SongGenerator generator;
    const char* positional[2] = {nullptr, nullptr};
    int count = 0;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--tracks") == 0 && hasValue)
            generator.SetTrackCount(std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--time-base") == 0 && hasValue)
            generator.SetTimeBase(std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--seed") == 0 && hasValue)
            generator.SetSeed(static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10)));
        else if (std::strcmp(argv[i], "--human") == 0)
            generator.SetHumanTiming(true);
        else if (argv[i][0] != '-' && count < 2)
            positional[count++] = argv[i];
        else
            return Usage();
    }
    if (count != 2)
        return Usage();

    std::vector<uint8_t> image = generator.Build(std::atol(positional[0]));
    if (!WriteFile(positional[1], image)) {
        std::fprintf(stderr, "make_song: %s: cannot write the file\n", positional[1]);
        return 1;
    }
    std::printf("events %ld lists %d bytes %lu\n", generator.GetEventCount(),
                generator.GetListCount(), static_cast<unsigned long>(image.size()));
    return 0;
}
