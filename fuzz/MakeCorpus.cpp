// make_fuzz_corpus DIR: writes the seed corpus, made from the project's own
// songs and broken files (SeedImages):
//   DIR/files/      every image as a plain .mid file (the sanitized run of midi2morvek)
//   DIR/convert/    settings prefix + image, see ConversionInput.h (convert_fuzzer)
//   DIR/settings/   texts of the three number fields (settings_fuzzer)
//   DIR/program/    time-base byte + program text (program_fuzzer)
// The same bytes every time; fuzz/corpus/ holds its output.
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "settings/ConvertSettings.h"
#include "engine/ConversionResult.h"
#include "engine/Converter.h"
#include "fuzz/ConversionInput.h"
#include "gen/SeedImages.h"
#include "midi/MidiFile.h"
#include "score/NoteListSet.h"

namespace {

typedef std::vector<uint8_t> Bytes;

// Images larger than this are left out of the fuzz seeds: they would make
// every mutation slow. They stay among the plain files.
const size_t kLargestSeed = 16 * 1024;

bool WriteFile(const std::string& path, const Bytes& bytes)
{
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) {
        std::perror(path.c_str());
        return false;
    }
    bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    if (std::fclose(out) != 0 || !written) {
        std::perror(path.c_str());
        return false;
    }
    return true;
}

// Settings: parts, resolution, split step count, first line, kind, assignment.
struct Prefix {
    const char* name;
    int parts, resolution, split, line, kind, pattern;
};

Bytes Seed(const Prefix& p, const Bytes& image, bool lenient = false)
{
    Bytes bytes = ConversionInput().MakePrefix(p.parts, p.resolution, p.split, p.line, p.kind,
                                               p.pattern, lenient);
    bytes.insert(bytes.end(), image.begin(), image.end());
    return bytes;
}

Bytes Text(const char* text)
{
    return Bytes(text, text + std::string(text).size());
}

// The program of image converted with the settings and every list on a
// part in order, behind the byte that picks its time base; empty when the
// image does not convert.
Bytes ProgramSeed(const Bytes& image, int parts, int kind)
{
    Converter converter;
    MidiFile* file = converter.LoadMidiFile(image.data(), image.size());
    ConvertSettings settings;
    NoteListSet* set = file ? converter.BuildNoteListSet(file, settings) : nullptr;
    Bytes bytes;
    if (file && set) {
        settings.SetSplitStepCountForTimeBase(file->GetTimeBase());
        settings.SetPartCount(parts);
        settings.SetPlayKind(kind);
    }
    std::vector<int> assignment;
    for (int p = 0; set && p < parts && p < set->GetCount(); ++p)
        assignment.push_back(p);
    const ConversionResult result = file && set ? converter.Convert(*file, settings, assignment)
                                                : ConversionResult();
    if (result.IsOk()) {
        const std::string& text = result.GetText();
        const int timeBase = file->GetTimeBase();
        bytes.push_back(timeBase == 96 ? 1 : timeBase == 240 ? 2 : timeBase == 480 ? 3 : 0);
        bytes.insert(bytes.end(), text.begin(), text.end());
    }
    converter.FreeNoteListSet(set);
    converter.FreeMidiFile(file);
    return bytes;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_corpus DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    for (const char* sub : {"", "/files", "/convert", "/settings", "/program"})
        mkdir((dir + sub).c_str(), 0777);

    const Prefix kDefaults = {"", 6, 13, 1920, 1000, 0, 0x7F};
    const std::vector<Prefix> variants = {
        {"-3-parts-play-hg", 3, 10, 960, 10, 1, 0x07},
        {"-18-parts-play-at", 18, 17, 7, 32000, 2, 0x7F},
        {"-split-1", 2, 16, 1, 1, 0, 0x03},
        {"-bad-settings", 0, 18, 0, 0, 3, 0xFF},
        {"-bad-assignment", 2, 13, 384, 1000, 0, 0x83},
    };
    SeedImages images;
    bool ok = true;
    for (const SeedImages::Image& image : images.MakeAll()) {
        ok = WriteFile(dir + "/files/" + image.name + ".mid", image.bytes) && ok;
        if (image.bytes.size() > kLargestSeed)
            continue;
        ok = WriteFile(dir + "/convert/" + image.name + ".bin", Seed(kDefaults, image.bytes)) && ok;
        // What strict reading refuses, lenient reading may take.
        if (image.outcome != SeedImages::kConverts)
            ok = WriteFile(dir + "/convert/" + image.name + "-lenient.bin",
                           Seed(kDefaults, image.bytes, true)) && ok;
        // The long notes get settings of their own below.
        if (image.outcome != SeedImages::kConverts || image.name.compare(0, 9, "long-note") == 0)
            continue;
        for (const Prefix& p : variants)
            ok = WriteFile(dir + "/convert/" + image.name + p.name + ".bin", Seed(p, image.bytes)) && ok;
    }
    for (int timeBase : {48, 480}) {
        const std::string name = "long-note-tb" + std::to_string(timeBase);
        const Bytes note = images.MakeLongNote(timeBase);
        ok = WriteFile(dir + "/convert/" + name + "-split-1.bin",
                       Seed({"", 1, 13, 1, 1000, 0, 0x01}, note)) && ok;
        ok = WriteFile(dir + "/convert/" + name + "-split-1920.bin",
                       Seed({"", 1, 13, 1920, 1000, 0, 0x01}, note)) && ok;
    }

    const struct {
        const char* name;
        const char* text;
    } texts[] = {
        {"defaults", "1,920\n6\n1,000"},
        {"largest", "1920\n18\n32000"},
        {"smallest", "1\n1\n1"},
        {"too-large", "2,000\n19\n32,001"},
        {"empty", "\n\n"},
        {"signs-and-points", "-5\n1.5\n+3e2"},
        {"many-digits", "99999999999999999999\n2147483647\n2147483648"},
        {"full-width-digits", "\x82\x50\x82\x58\x82\x51\x82\x4f\n\x82\x55\n\x81\x7c"},
    };
    for (const auto& t : texts)
        ok = WriteFile(dir + "/settings/" + t.name + ".txt", Text(t.text)) && ok;

    // Programs of the songs as written, then edited ones, good and bad.
    for (const SeedImages::Image& image : images.MakeSongs()) {
        if (image.bytes.size() > kLargestSeed / 4)
            continue;
        for (int kind = 0; kind < 3; kind += 2) {
            const Bytes program = ProgramSeed(image.bytes, 3 + 3 * kind, kind);
            if (!program.empty() && program.size() <= kLargestSeed)
                ok = WriteFile(dir + "/program/" + image.name + "-kind-" + std::to_string(kind) +
                                   ".txt", program) && ok;
        }
    }
    const struct {
        const char* name;
        const char* text;
    } programs[] = {
        {"edited-lf", "\x01 100 PLAY HG \"o4l8cde&\",\"r2\"\n110 play hg \"e4.<b+\",\"o2c\"\n"},
        {"header-only", "\x04 1000 CLEAR 300,&H5600\r\n1050 PLAY \"?3/\",,,\"?3/\": ' HG\r\n"},
        {"bad-mml", "\x03 10 PLAY \"o4c7\"\r\n"},
        {"parts-differ", "\x04 10 PLAY \"c\",\"d\"\r\n20 PLAY \"c\"\r\n"},
        {"open-quote", "\x02 10 PLAY@ \"c&\r\n"},
    };
    for (const auto& t : programs)
        ok = WriteFile(dir + "/program/" + t.name + ".txt", Text(t.text)) && ok;
    return ok ? 0 : 1;
}
