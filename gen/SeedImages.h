#ifndef MORVEK_GEN_SEEDIMAGES_H
#define MORVEK_GEN_SEEDIMAGES_H

#include <cstdint>
#include <string>
#include <vector>

// The project's own file images for fuzz seeds, the robustness tests and the
// sanitized command-line run: songs that convert, odd files that are still
// well-formed, and broken ones, each with the outcome it must have. The same
// bytes every time.
class SeedImages {
public:
    // What loading and converting the image must give.
    enum Outcome {
        kConverts = 0,                                // read and converted
        kNotMidi = 1,                                 // refused: not a well-formed SMF
        kBadFormat = 2,                               // read, then refused for its format
        kBadTimeBase = 3                              // read, then refused for its time base
    };

    struct Image {
        std::string name;                             // a file name without extension
        std::vector<uint8_t> bytes;
        int outcome;
    };

// Construction
    SeedImages();
    virtual ~SeedImages();

// Operations
    // Every image, the converting ones first.
    virtual std::vector<Image> MakeAll() const;
    // Well-formed songs of every accepted time base, with every kind of event.
    virtual std::vector<Image> MakeSongs() const;
    // Files that are odd inside their tracks but well-formed as a whole:
    // over-long quantities, messages that run past their chunk or the image.
    virtual std::vector<Image> MakeOddTracks() const;
    // Files that must be refused, and why.
    virtual std::vector<Image> MakeBroken() const;
    // The 34-byte one-track file: note 60 for 96 ticks at time base 96.
    virtual std::vector<uint8_t> MakeSmallImage() const;
    // Format 1 at time base 480: a tempo track, then one note on channel 1.
    virtual std::vector<uint8_t> MakeTwoTracks() const;
    // One note on channel 0 lasting the longest delta a file can hold.
    virtual std::vector<uint8_t> MakeLongNote(int timeBase) const;
};

#endif
