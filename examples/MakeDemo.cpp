// make_demo FILE: writes the bundled demo song (examples/demo.mid).
#include <cstdio>
#include <vector>

#include "gen/DemoSong.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_demo FILE\n");
        return 2;
    }
    DemoSong song;
    std::vector<uint8_t> image = song.Build();
    std::FILE* out = std::fopen(argv[1], "wb");
    if (out == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    bool written = std::fwrite(image.data(), 1, image.size(), out) == image.size();
    if (std::fclose(out) != 0 || !written) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
