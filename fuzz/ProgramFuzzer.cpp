// Fuzz target: a program text through the ProgramReader, as the report and
// the preview read an edited program. Byte 0 chooses the time base (48, 96,
// 240 or 480); the rest is the text, copied into a buffer of exactly its
// size so that a read past it is caught. The reader either refuses with a
// place inside the text or gives parts whose notes run on without gaps.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "engine/ProgramReader.h"

namespace {

const int kTimeBases[] = { 48, 96, 240, 480 };

void Require(bool condition, const char* what)
{
    if (condition)
        return;
    std::fprintf(stderr, "program_fuzzer: %s\n", what);
    std::abort();
}

int CountLines(const char* text, size_t size)
{
    int lines = 0;
    for (size_t i = 0; i < size; ++i)
        lines += text[i] == '\n';
    return lines + (size > 0 && text[size - 1] != '\n');
}

void CheckRead(const ProgramReader& reader)
{
    Require(reader.GetStatus().IsOk() && reader.GetStatus().GetLine() == 0, "an error after a read");
    const int lines = reader.GetPlayLineCount();
    Require((lines == 0) == (reader.GetPartCount() == 0), "parts without PLAY lines");
    for (int p = 0; p < reader.GetPartCount(); ++p) {
        long long end = 0;
        int previousKey = -1;
        for (const ProgramNote& note : reader.GetPart(p)) {
            Require(note.key >= 0 && note.key <= 128, "a key outside 0..128");
            Require(note.start == end, "a gap or an overlap in a part");
            Require(note.length > 0, "a note without length");
            Require(!(note.key == 128 && previousKey == 128), "two rests side by side");
            end = note.start + note.length;
            previousKey = note.key;
        }
        Require(end == reader.GetPartEnd(p), "the part's end is not its last note's");
        long long before = 0;
        for (int k = 0; k < lines; ++k) {
            const long long at = reader.GetPartEndAt(k, p);
            Require(at >= before, "a part going back from line to line");
            before = at;
        }
        Require(before == end, "the last line's end is not the part's");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const int timeBase = kTimeBases[data[0] % 4];
    const size_t length = size - 1;
    std::unique_ptr<char[]> text(new char[length > 0 ? length : 1]);
    for (size_t i = 0; i < length; ++i)
        text[i] = static_cast<char>(data[i + 1]);
    ProgramReader reader;
    if (reader.Read(text.get(), length, timeBase) == ProgramReader::kReadOk) {
        CheckRead(reader);
        return 0;
    }
    const ReadStatus& status = reader.GetStatus();
    Require(status.GetLine() >= 1 && status.GetLine() <= CountLines(text.get(), length),
            "refused on a line the text does not have");
    Require(status.GetColumn() >= 1, "refused without a column");
    Require(status.GetReasonTextId() != 0, "refused without a reason");
    Require(reader.GetPartCount() == 0 && reader.GetPlayLineCount() == 0,
            "parts left after a refusal");
    return 0;
}
