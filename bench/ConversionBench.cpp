// conversion_bench: generates songs of growing size and a chord-dense one
// (played by hand: rolled chords, legato lines, a melody above the chords)
// of a million events, and measures, side by side in one run, the whole
// conversion by midi2morvek (default settings, all lists assigned to parts),
// the same on all 18 parts, with six voices (-V 6 -p 18), the report alone
// of that (--report-only), with the lines fitted to 255 characters
// (--fit-lines 255), the -V 6 conversion with its preview (--wav, on songs
// up to 1M events: the WAV of a larger one is gigabytes), midi2morvek --list
// and --events, and midicsv parsing and printing the same file. Prints one
// table and the goals.
//
//   conversion_bench [--runs N] [--sizes 10000,100000,...] [--dense EVENTS] [--dir DIR]
//                    [--tool PATH] [--midicsv PATH] [--make-song PATH] [--verbose]
//
// Each program runs once to warm the page cache, then N times (default 11), in
// rounds that run every program on every song; the table shows the median
// wall time and the largest peak resident memory (wait4's ru_maxrss) of those
// runs. A goal that compares two programs on one song takes the median of
// their ratios within each round (PairedRatio). What the programs write
// (the CSV, the listings, the BASIC program) goes to files in DIR, deleted
// after each timed run so that no run pays for writing back another's.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "bench/ChildProcess.h"

#ifndef MORVEK_TOOL
#define MORVEK_TOOL "midi2morvek"
#endif
#ifndef MORVEK_MAKE_SONG
#define MORVEK_MAKE_SONG "make_song"
#endif

namespace {

const int kMaxParts = 18;

struct Options {
    int runs = 11;
    std::vector<long> sizes = {10000, 100000, 1000000, 4000000};
    long dense = 1000000;                            // events of the dense song; 0: none
    std::string dir = "bench-files";
    std::string tool = MORVEK_TOOL;
    std::string midicsv = "/usr/bin/midicsv";
    std::string makeSong = MORVEK_MAKE_SONG;
    bool verbose = false;                            // every timed run on standard error
};

struct Song {
    long requested = 0;
    bool dense = false;                              // played by hand
    long events = 0;
    int lists = 0;
    long bytes = 0;
    std::string path;
};

// One program measured on one song.
struct Measure {
    bool ok = false;
    double seconds = 0;                              // median
    long peakKilobytes = 0;                          // largest
    std::vector<double> rounds;                      // the seconds of every timed round, in order
};

// The median over the rounds of a's time against b's in the same round, for
// two programs on one song: a round runs them one shortly after the other,
// so a slow spell of the machine slows both, where a ratio of the two
// medians would take each from another round.
double PairedRatio(const Measure& a, const Measure& b)
{
    std::vector<double> ratios;
    for (size_t r = 0; r < a.rounds.size() && r < b.rounds.size(); ++r) {
        if (b.rounds[r] > 0)
            ratios.push_back(a.rounds[r] / b.rounds[r]);
    }
    if (ratios.empty())
        return NAN;
    std::sort(ratios.begin(), ratios.end());
    const size_t n = ratios.size();
    return n % 2 ? ratios[n / 2] : (ratios[n / 2 - 1] + ratios[n / 2]) / 2;
}

// The programs of a row, in the order the table shows them.
enum Program {
    kMidicsv, kConvert, kConvertAllParts, kConvertVoices, kReportVoices, kConvertFitted, kWav, kList,
    kEvents, kProgramCount
};
const char* const kProgramNames[kProgramCount] = {"midicsv", "convert", "-p 18", "-V 6", "report",
                                                  "fit 255", "-V6 --wav", "--list", "--events"};
const long kLargestWavSong = 1000000;
const char kVoices[] = "6";
const char kLineLimit[] = "255";

std::vector<long> ParseSizes(const char* text)
{
    std::vector<long> sizes;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ','))
        if (!item.empty())
            sizes.push_back(std::atol(item.c_str()));
    return sizes;
}

bool ParseOptions(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        std::string a = argv[i];
        if (a == "--runs" && hasValue)
            o.runs = std::max(1, std::atoi(argv[++i]));
        else if (a == "--sizes" && hasValue)
            o.sizes = ParseSizes(argv[++i]);
        else if (a == "--dense" && hasValue)
            o.dense = std::atol(argv[++i]);
        else if (a == "--dir" && hasValue)
            o.dir = argv[++i];
        else if (a == "--tool" && hasValue)
            o.tool = argv[++i];
        else if (a == "--midicsv" && hasValue)
            o.midicsv = argv[++i];
        else if (a == "--make-song" && hasValue)
            o.makeSong = argv[++i];
        else if (a == "--verbose")
            o.verbose = true;
        else
            return false;
    }
    return !o.sizes.empty();
}

std::string ReadFirstLine(const std::string& path)
{
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

std::string CpuModel()
{
    std::ifstream in("/proc/cpuinfo");
    std::string line;
    while (std::getline(in, line)) {
        if (line.compare(0, 10, "model name") == 0) {
            size_t colon = line.find(':');
            return colon == std::string::npos ? line : line.substr(colon + 2);
        }
    }
    return "unknown CPU";
}

// Generated in a program of its own, so that this process stays small: a
// child inherits the peak memory of the process it was forked from.
std::string StemOf(const Options& o, const Song& song)
{
    return o.dir + (song.dense ? "/dense-" : "/song-") + std::to_string(song.requested);
}

bool MakeSong(const Options& o, long events, bool dense, Song& song)
{
    song.requested = events;
    song.dense = dense;
    song.path = StemOf(o, song) + ".mid";
    const std::string info = StemOf(o, song) + ".info";
    std::vector<std::string> command = {o.makeSong, std::to_string(events), song.path};
    if (dense)
        command.insert(command.begin() + 1, "--human");
    ChildProcess run;
    run.SetOutput(info);
    if (run.Run(command) != 0)
        return false;
    return std::sscanf(ReadFirstLine(info).c_str(), "events %ld lists %d bytes %ld", &song.events,
                       &song.lists, &song.bytes) == 3;
}

// The command line of a program; output receives its standard output, and
// written names the file that holds what it wrote.
std::vector<std::string> CommandOf(const Options& o, Program program, const Song& song,
                                   std::string& output, std::string& written)
{
    const std::string stem = StemOf(o, song);
    const std::string lists = std::to_string(std::min(std::max(song.lists, 1), kMaxParts));
    switch (program) {
    case kMidicsv:
        output = "/dev/null";
        written = stem + ".csv";
        return {o.midicsv, song.path, written};
    case kConvert:
        output = "/dev/null";
        written = stem + ".txt";
        return {o.tool, "-p", lists, "-o", written, song.path};
    case kConvertAllParts:
        output = "/dev/null";
        written = stem + ".txt";
        return {o.tool, "-p", std::to_string(kMaxParts), "-o", written, song.path};
    case kConvertFitted:
        output = "/dev/null";
        written = stem + ".txt";
        return {o.tool, "--fit-lines", kLineLimit, "-p", lists, "-o", written, song.path};
    case kConvertVoices:
        output = "/dev/null";
        written = stem + ".txt";
        return {o.tool, "-V", kVoices, "-p", std::to_string(kMaxParts), "-o", written, song.path};
    case kReportVoices:
        output = written = stem + ".report";
        return {o.tool, "--report-only", "-V", kVoices, "-p", std::to_string(kMaxParts), song.path};
    case kWav:
        output = "/dev/null";
        written = stem + ".wav";
        return {o.tool, "-V", kVoices, "-p", std::to_string(kMaxParts), "-o", stem + ".wav.txt",
                "--wav", written, song.path};
    case kList:
        output = written = stem + ".list";
        return {o.tool, "--list", song.path};
    default:
        output = written = stem + ".events";
        return {o.tool, "--events", song.path};
    }
}

// Runs one program on one song; true when it ran and exited with 0.
bool RunOnce(const Options& o, Program program, const Song& song, bool timed, ChildProcess& run)
{
    std::string output;
    std::string written;
    std::vector<std::string> command = CommandOf(o, program, song, output, written);
    run.SetOutput(output);
    const bool ok = run.Run(command) == 0;
    // Gone before the system writes it back to disk, which would slow down
    // whichever program runs next.
    if (timed) {
        ::unlink(written.c_str());
        ::unlink((written + ".txt").c_str());
    }
    return ok;
}

// Runs every program on every song once as a check and a warm-up, then runs
// times in rounds: every song and program in each round, so that the sizes
// and programs compared with each other meet the same load on the machine,
// each round starting with another program.
std::vector<std::vector<Measure>> MeasureSongs(const Options& o, const std::vector<Song>& songs)
{
    std::vector<std::vector<Measure>> result(songs.size(), std::vector<Measure>(kProgramCount));
    std::vector<std::vector<std::vector<double>>> seconds(
        songs.size(), std::vector<std::vector<double>>(kProgramCount));
    for (int round = 0; round <= o.runs; ++round) {
        for (size_t s = 0; s < songs.size(); ++s) {
            for (int turn = 0; turn < kProgramCount; ++turn) {
                const int p = (turn + round) % kProgramCount;
                Measure& m = result[s][p];
                if ((round > 0 && !m.ok) || (p == kWav && songs[s].requested > kLargestWavSong))
                    continue;
                ChildProcess run;
                const bool ok = RunOnce(o, static_cast<Program>(p), songs[s], round > 0, run);
                if (round == 0) {
                    m.ok = ok;
                    if (!ok)
                        std::fprintf(stderr, "note: %s failed on %s (exit %d); shown as n/a\n",
                                     kProgramNames[p], songs[s].path.c_str(), run.GetExitCode());
                    continue;
                }
                seconds[s][p].push_back(run.GetSeconds());
                m.peakKilobytes = std::max(m.peakKilobytes, run.GetPeakKilobytes());
                if (o.verbose)
                    std::fprintf(stderr, "%-9s %11ld events  run %d: %8.1f ms %8.1f MB\n",
                                 kProgramNames[p], songs[s].events, round, run.GetSeconds() * 1e3,
                                 run.GetPeakKilobytes() / 1024.0);
            }
        }
    }
    for (size_t s = 0; s < songs.size(); ++s) {
        for (int p = 0; p < kProgramCount; ++p) {
            std::vector<double>& times = seconds[s][p];
            if (times.empty())
                continue;
            result[s][p].rounds = times;
            std::sort(times.begin(), times.end());
            result[s][p].seconds = times[times.size() / 2];
        }
    }
    return result;
}

std::string Thousands(long v)
{
    std::string digits = std::to_string(v);
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out;
}

double Exponent(double a, double b, double sizeA, double sizeB)
{
    if (a <= 0 || b <= 0 || sizeA <= 0 || sizeB <= sizeA)
        return NAN;
    return std::log(b / a) / std::log(sizeB / sizeA);
}

void PrintTable(const std::vector<Song>& songs, const std::vector<std::vector<Measure>>& m)
{
    std::printf("%-9s %-5s %11s %9s %9s %9s %7s %9s %8s %9s %6s %6s\n", "program", "song", "events", "file KB",
                "time ms", "midicsv", "ratio", "ns/event", "peak MB", "peak/file", "t exp",
                "m exp");
    for (size_t s = 0; s < songs.size(); ++s) {
        const Song& song = songs[s];
        const Measure& reference = m[s][kMidicsv];
        for (int p = 0; p < kProgramCount; ++p) {
            const Measure& x = m[s][p];
            std::printf("%-9s %-5s %11s %9.0f ", kProgramNames[p], song.dense ? "dense" : "plain",
                        Thousands(song.events).c_str(), song.bytes / 1024.0);
            if (!x.ok) {
                std::printf("%9s\n", "n/a");
                continue;
            }
            std::printf("%9.1f ", x.seconds * 1e3);
            if (p == kMidicsv || !reference.ok)
                std::printf("%9s %7s ", "", "");
            else
                std::printf("%9.1f %7.3f ", reference.seconds * 1e3, x.seconds / reference.seconds);
            std::printf("%9.1f %8.1f %9.1f ", x.seconds * 1e9 / song.events,
                        x.peakKilobytes / 1024.0, x.peakKilobytes * 1024.0 / song.bytes);
            if (s > 0 && m[s - 1][p].ok && !song.dense && !songs[s - 1].dense) {
                const Measure& before = m[s - 1][p];
                std::printf("%6.2f %6.2f", Exponent(before.seconds, x.seconds, songs[s - 1].events,
                                                    song.events),
                            Exponent(before.peakKilobytes, x.peakKilobytes, songs[s - 1].events,
                                     song.events));
            }
            std::printf("\n");
        }
    }
}

int FindSong(const std::vector<Song>& songs, long events, bool dense)
{
    for (size_t s = 0; s < songs.size(); ++s)
        if (songs[s].requested == events && songs[s].dense == dense)
            return static_cast<int>(s);
    return -1;
}

const char* Verdict(bool ok)
{
    return ok ? "PASS" : "FAIL";
}

// One program against another: time and peak memory, each within its limit.
struct RatioGoal {
    const char* what;
    int song;                                        // index into the songs; -1: not measured
    Program program;
    Program reference;
    double timeLimit;
    double memoryLimit;
};

// Prints one goal; returns 1 when it failed, 0 when met or not measured.
int PrintRatio(const RatioGoal& g, const std::vector<std::vector<Measure>>& m)
{
    if (g.song < 0 || !m[g.song][g.program].ok || !m[g.song][g.reference].ok) {
        std::printf("  %s: not measured\n", g.what);
        return 0;
    }
    const Measure& x = m[g.song][g.program];
    const Measure& r = m[g.song][g.reference];
    const double time = PairedRatio(x, r);
    const double memory = static_cast<double>(x.peakKilobytes) / r.peakKilobytes;
    const bool ok = time <= g.timeLimit && memory <= g.memoryLimit;
    std::printf("  %s: time %.2fx (medians %.1f / %.1f ms) (goal <= %.2f), memory %.1f / %.1f MB"
                " = %.2fx (goal <= %.2f)   %s\n",
                g.what, time, x.seconds * 1e3, r.seconds * 1e3, g.timeLimit,
                x.peakKilobytes / 1024.0, r.peakKilobytes / 1024.0, memory, g.memoryLimit,
                Verdict(ok));
    return ok ? 0 : 1;
}

// The goals need the 1 and 4 million event songs and the dense one;
// returns the failures.
int PrintGoals(const std::vector<Song>& songs, const std::vector<std::vector<Measure>>& m)
{
    const int one = FindSong(songs, 1000000, false);
    const int four = FindSong(songs, 4000000, false);
    const int dense = FindSong(songs, 1000000, true);
    std::printf("\nGoals:\n");
    int failures = 0;
    if (one >= 0 && m[one][kConvert].ok && m[one][kMidicsv].ok) {
        const Measure& c1 = m[one][kConvert];
        const double ratio = PairedRatio(c1, m[one][kMidicsv]);
        std::printf("  1M events: %.3f of midicsv's time (medians %.1f / %.1f ms) (goal <= 0.25)   %s\n",
                    ratio, c1.seconds * 1e3, m[one][kMidicsv].seconds * 1e3, Verdict(ratio <= 0.25));
        failures += ratio <= 0.25 ? 0 : 1;
    } else {
        std::printf("  1M events against midicsv: not measured\n");
    }
    for (int s : {one, four}) {
        if (s < 0 || !m[s][kConvert].ok)
            continue;
        const double perByte = m[s][kConvert].peakKilobytes * 1024.0 / songs[s].bytes;
        std::printf("  peak memory at %s events: %.1f MB, %.1f x the file (goal <= 16)   %s\n",
                    Thousands(songs[s].events).c_str(), m[s][kConvert].peakKilobytes / 1024.0,
                    perByte, Verdict(perByte <= 16));
        failures += perByte <= 16 ? 0 : 1;
    }
    if (one >= 0 && four >= 0 && m[one][kConvert].ok && m[four][kConvert].ok) {
        const Measure& c1 = m[one][kConvert];
        const Measure& c4 = m[four][kConvert];
        const double events = static_cast<double>(songs[four].events) / songs[one].events;
        // Medians: the two songs run far apart in a round, so a pair from one
        // round cancels nothing.
        const double time = c4.seconds / c1.seconds;
        const double memory = static_cast<double>(c4.peakKilobytes) / c1.peakKilobytes;
        std::printf("  1M -> 4M (%.2fx the events): time %.2fx, memory %.2fx (goal <= 4)   %s\n",
                    events, time, memory, Verdict(time <= 4 && memory <= 4));
        failures += time <= 4 && memory <= 4 ? 0 : 1;
    }
    const RatioGoal ratios[] = {
        {"dense, report alone (--report-only -V 6 -p 18) against the -V 6 conversion", dense,
         kReportVoices, kConvertVoices, 1.3, 1.3},
        {"dense, -V 6 -p 18 against -p 18", dense, kConvertVoices, kConvertAllParts, 1.3, 1.3},
        {"1M events, lines fitted to 255 against unfitted", one, kConvertFitted, kConvert, 1.5, 1.2},
    };
    for (const RatioGoal& g : ratios)
        failures += PrintRatio(g, m);
    for (int s : {one, dense}) {
        if (s < 0 || !m[s][kConvertVoices].ok || !m[s][kWav].ok)
            continue;
        const Measure& v = m[s][kConvertVoices];
        const Measure& w = m[s][kWav];
        const double above = (w.peakKilobytes - v.peakKilobytes) / 1024.0;
        std::printf("  %s -V %s with --wav: %.1f ms, peak %.1f MB, %.1f MB above the"
                    " conversion's (goal <= 64)   %s\n",
                    songs[s].dense ? "dense" : "1M events", kVoices, w.seconds * 1e3,
                    w.peakKilobytes / 1024.0, above, Verdict(above <= 64));
        failures += above <= 64 ? 0 : 1;
    }
    return failures;
}

}  // namespace

int main(int argc, char** argv)
{
    Options o;
    if (!ParseOptions(argc, argv, o)) {
        std::fprintf(stderr, "usage: conversion_bench [--runs N] [--sizes A,B,...] [--dense EVENTS] [--dir DIR]"
                             " [--tool PATH] [--midicsv PATH] [--make-song PATH] [--verbose]\n");
        return 2;
    }
    ::mkdir(o.dir.c_str(), 0755);

    std::printf("machine: %u cores, %s\n", std::thread::hardware_concurrency(),
                CpuModel().c_str());
    std::printf("median of %d runs; peak = largest ru_maxrss; convert = %s -p LISTS -o FILE.txt\n\n",
                o.runs, o.tool.c_str());
    std::fflush(stdout);

    std::vector<Song> songs;
    std::vector<std::pair<long, bool>> wanted;
    for (long size : o.sizes)
        wanted.push_back({size, false});
    if (o.dense > 0)
        wanted.push_back({o.dense, true});
    for (const auto& w : wanted) {
        Song song;
        if (!MakeSong(o, w.first, w.second, song)) {
            std::fprintf(stderr, "conversion_bench: cannot generate the %ld-event song\n", w.first);
            return 1;
        }
        songs.push_back(song);
    }
    std::vector<std::vector<Measure>> measures = MeasureSongs(o, songs);
    PrintTable(songs, measures);
    int failures = PrintGoals(songs, measures);
    return failures == 0 ? 0 : 1;
}
