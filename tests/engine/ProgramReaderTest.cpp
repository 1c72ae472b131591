// The program reader takes the converter's text and edited programs: it must
// give back exactly the notes, lines and positions written, and refuse
// anything else at the right line and column.
#include "engine/ProgramReader.h"

#include "engine/Converter.h"
#include "score/ProgramNoteSink.h"
#include "tests/support/NoteListText.h"
#include "text/TextTable.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// Every PLAY line: "number/text line/length:" and each part's end after it.
std::string DescribeLines(const ProgramReader& reader)
{
    std::string text;
    for (int k = 0; k < reader.GetPlayLineCount(); ++k) {
        const ProgramReader::PlayLine& line = reader.GetPlayLines()[static_cast<size_t>(k)];
        text += std::to_string(line.number) + '/' + std::to_string(line.textLine) + '/' +
                std::to_string(line.length) + ':';
        for (int p = 0; p < reader.GetPartCount(); ++p)
            text += ' ' + std::to_string(reader.GetPartEndAt(k, p));
        text += '\n';
    }
    return text;
}

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// The converter's header, then three parts of music, the last one short.
std::string Program(const char* keyword, const char* lineEnd)
{
    Converter converter;
    std::string text = converter.BuildHeader(1000, 10);
    text += std::string("1100 ") + keyword + " \"o4l4cd&\",\"o3l8ab>c<b\",\"o5l2c\"\r\n";
    text += std::string("1110 ") + keyword + " \"d4.r8\",\"r2\",\"\"\r\n";
    return Replace(text, "\r\n", lineEnd);
}

struct ShapeCase {
    const char* keyword;
    const char* lineEnd;
};

class ProgramReaderTest : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(ProgramReaderTest, ReadsPartsLinesAndPositions)
{
    const std::string text = Program(GetParam().keyword, GetParam().lineEnd);
    ProgramReader reader;
    ASSERT_EQ(ProgramReader::kReadOk, reader.Read(text.data(), text.size(), 96))
        << reader.GetStatus().GetLine() << ':' << reader.GetStatus().GetColumn();
    ASSERT_EQ(3, reader.GetPartCount());
    EXPECT_EQ("60@0+96 62@96+240 r@336+48", DescribeProgramNotes(reader.GetPart(0)));
    EXPECT_EQ("57@0+48 59@48+48 60@96+48 59@144+48 r@192+192", DescribeProgramNotes(reader.GetPart(1)));
    EXPECT_EQ("72@0+192", DescribeProgramNotes(reader.GetPart(2)));
    EXPECT_EQ("", DescribeProgramNotes(reader.GetPart(3)));
    const size_t keyword = std::string(GetParam().keyword).size();
    EXPECT_EQ("1100/11/" + std::to_string(36 + keyword) + ": 192 192 192\n" +
                  "1110/12/" + std::to_string(21 + keyword) + ": 384 384 192\n",
              DescribeLines(reader));
    EXPECT_EQ(384, reader.GetPartEnd(1));
    EXPECT_EQ(12, reader.GetLineCount());
    EXPECT_TRUE(reader.GetStatus().IsOk());
}

INSTANTIATE_TEST_SUITE_P(Program, ProgramReaderTest, ::testing::Values(
    ShapeCase{ "PLAY", "\r\n" }, ShapeCase{ "PLAY", "\n" }, ShapeCase{ "PLAY HG", "\r\n" },
    ShapeCase{ "PLAY@", "\n" }, ShapeCase{ "play hg", "\n" }));

struct BadCase {
    const char* text;
    int line;
    int column;
    const char* why;
};

class ProgramReaderBadTest : public ::testing::TestWithParam<BadCase> {};

// Parts are read one after another or on threads: the fault found is the
// first in the text either way, and on its line the first part's.
TEST_P(ProgramReaderBadTest, RefusesAtLineAndColumn)
{
    const std::string text = GetParam().text;
    for (int threads : { 1, 3 }) {
        ProgramReader reader;
        reader.SetThreadCount(threads);
        EXPECT_EQ(ProgramReader::kReadRefused, reader.Read(text.data(), text.size(), 48));
        EXPECT_EQ(GetParam().line, reader.GetStatus().GetLine()) << threads;
        EXPECT_EQ(GetParam().column, reader.GetStatus().GetColumn()) << threads;
        EXPECT_EQ(GetParam().why, reader.GetStatus().DescribeReason(TextTable()));
        EXPECT_EQ(0, reader.GetPartCount());
        EXPECT_EQ(0, reader.GetPlayLineCount());
    }
}

INSTANTIATE_TEST_SUITE_P(Program, ProgramReaderBadTest, ::testing::Values(
    BadCase{ "10 PLAY \"c\"\r\nxyz\r\n", 2, 1, "a line without a line number" },
    BadCase{ "10 PLAY \"c\",\"d\"\n20 PLAY \"c\"\n", 2, 12, "1 string where the first PLAY line has 2" },
    BadCase{ "10 PLAY \"c\"\n20 PLAY \"c\",\"d\"\n", 2, 13, "2 strings where the first PLAY line has 1" },
    BadCase{ "10 PLAY \"c\"\n 20 PLAY \"cdq\"\n", 2, 13, "not an MML command" },
    BadCase{ "10 PLAY \"c\",\"o4c7\"\n", 1, 16, "bad length" },
    BadCase{ "10 PLAY \"c\"\n20 PLAY \"c\":END\n", 2, 12, "text after the strings of a PLAY line" },
    BadCase{ "10 PLAY \"c\"\n20 PLAY \"c\",,\"d\"\n", 2, 13, "a comma not followed by a string" },
    BadCase{ "10 PLAY \"c\"\n20 PLAY \"c", 2, 9, "a string without its closing quote" },
    BadCase{ "10 PLAY \"c&&\"\n", 1, 12, "tie without a note before it" },
    BadCase{ "1234567890123456789 PLAY \"c\"\n", 1, 1, "a line number of more than 18 digits" },
    BadCase{ "10 PLAY \"c\",\"cq\",\"c\"\n20 PLAY \"q\",\"c\",\"c\"\n", 1, 15, "not an MML command" },
    BadCase{ "10 PLAY \"c\",\"c\",\"c\"\n20 PLAY \"c\",\"q\",\"q\"\n", 2, 14, "not an MML command" },
    BadCase{ "10 PLAY \"c\",\"c\"\n20 PLAY \"c\",\"c7\"\n30 PLAY \"c\"\n", 2, 14, "bad length" },
    BadCase{ "10 PLAY \"c\",\"c\"\n20 PLAY \"c\"\n30 PLAY \"q\",\"c\"\n", 2, 12,
             "1 string where the first PLAY line has 2" }));

// Lines that are not PLAY lines of music are passed over, the driver's
// set-up PLAY line of the header among them; blank lines too.
TEST(ProgramReaderShapeTest, PassesOverOtherLines)
{
    const std::string text =
        "1050 PLAY \"?3/\",,,\"?3/\": ' HG\n\n  \n1100 PLAY \"c\"\n1110 PLAY OFF\n1120 ' x\n";
    ProgramReader reader;
    ASSERT_EQ(ProgramReader::kReadOk, reader.Read(text.data(), text.size(), 48));
    EXPECT_EQ("1100/4/13: 48\n", DescribeLines(reader));
    EXPECT_EQ(29u, reader.GetLongestLine());
    EXPECT_EQ(1120, reader.GetLastLineNumber());
}

// Every cut of a good program either reads or refuses at a place inside
// the text; a read never goes beyond the bytes it is given.
TEST(ProgramReaderShapeTest, EveryPrefixReadsOrRefusesInside)
{
    const std::string text = Program("PLAY", "\r\n");
    for (size_t size = 0; size <= text.size(); ++size) {
        std::vector<char> copy(text.begin(), text.begin() + static_cast<long>(size));
        ProgramReader reader;
        if (reader.Read(copy.data(), copy.size(), 48) == ProgramReader::kReadOk)
            continue;
        EXPECT_GE(reader.GetStatus().GetLine(), 1) << size;
        EXPECT_LE(reader.GetStatus().GetLine(), 12) << size;
        EXPECT_GE(reader.GetStatus().GetColumn(), 1) << size;
        EXPECT_NE(0, reader.GetStatus().GetReasonTextId()) << size;
    }
}

// Handed to a sink, the notes of every part are the ones the reader keeps
// without one, in order, ties and rests joined, the last one included;
// every cut of the program reads with both or refuses with both. A sink
// that takes parts at once gets them from threads of their own.
TEST(ProgramReaderShapeTest, ASinkGetsTheNotesTheReaderWouldKeep)
{
    struct Collect : ProgramNoteSink {
        explicit Collect(bool atOnce) : atOnce(atOnce), parts(atOnce ? 3 : 0) {}
        void TakeNote(int part, const ProgramNote& note) override
        {
            if (part >= static_cast<int>(parts.size()))
                parts.resize(static_cast<size_t>(part) + 1);
            parts[static_cast<size_t>(part)].push_back(note);
        }
        bool TakesPartsAtOnce() const override { return atOnce; }
        bool atOnce;
        std::vector<std::vector<ProgramNote>> parts;
    };
    const std::string text = Program("PLAY", "\r\n") + "1120 PLAY \"r4r4&c\",\"a&a\",\"c&d\"\r\n";
    for (bool atOnce : { false, true }) {
        for (size_t size = text.size() - 6; size <= text.size(); ++size) {
            ProgramReader keeping;
            ProgramReader handing;
            Collect sink(atOnce);
            handing.SetNoteSink(&sink);
            handing.SetThreadCount(4);
            const int kept = keeping.Read(text.data(), size, 48);
            ASSERT_EQ(kept, handing.Read(text.data(), size, 48)) << size;
            ASSERT_TRUE(size < text.size() || kept == ProgramReader::kReadOk);
            if (kept != ProgramReader::kReadOk)
                continue;
            EXPECT_EQ(DescribeLines(keeping), DescribeLines(handing));
            sink.parts.resize(static_cast<size_t>(keeping.GetPartCount()));
            for (int p = 0; p < keeping.GetPartCount(); ++p) {
                EXPECT_TRUE(handing.GetPart(p).empty()) << p;
                EXPECT_EQ(DescribeProgramNotes(keeping.GetPart(p)),
                          DescribeProgramNotes(sink.parts[static_cast<size_t>(p)]))
                    << size << " part " << p;
                EXPECT_EQ(keeping.GetPartEnd(p), handing.GetPartEnd(p)) << p;
            }
        }
    }
}

// Random programs of several parts, some with a byte spoiled: read one part
// after another or the parts at once, the reader gives the same lines,
// notes and ends, or stops at the same line, column and reason.
TEST(ProgramReaderShapeTest, PartsAtOnceReadAsOneAfterAnother)
{
    const char* const pieces[] = { "c", "d+8", "e4.", "r", "r16", ">", "<", "a&a", "o3", "l8", "b-2" };
    const char bad[] = { 'q', '&', '7', '"', ',', '\n', '9' };
    std::mt19937 random(24);
    for (int round = 0; round < 200; ++round) {
        const int parts = 1 + static_cast<int>(random() % 6);
        std::string text = "10 PLAY \"?3/\",,,\"?3/\"\n";
        for (int line = 0; line < 2 + static_cast<int>(random() % 8); ++line) {
            text += std::to_string(100 + line * 10) + " PLAY ";
            for (int p = 0; p < parts; ++p) {
                text += p > 0 ? ",\"" : "\"";
                for (int n = static_cast<int>(random() % 6); n > 0; --n)
                    text += pieces[random() % (sizeof pieces / sizeof pieces[0])];
                text += '"';
            }
            text += "\n";
        }
        if (round % 2 == 1)
            text[20 + random() % (text.size() - 20)] = bad[random() % sizeof bad];
        ProgramReader one;
        ProgramReader many;
        one.SetThreadCount(1);
        many.SetThreadCount(4);
        const int read = one.Read(text.data(), text.size(), 96);
        ASSERT_EQ(read, many.Read(text.data(), text.size(), 96)) << text;
        EXPECT_EQ(one.GetStatus().GetLine(), many.GetStatus().GetLine()) << text;
        EXPECT_EQ(one.GetStatus().GetColumn(), many.GetStatus().GetColumn()) << text;
        EXPECT_EQ(one.GetStatus().GetReason(), many.GetStatus().GetReason()) << text;
        EXPECT_EQ(DescribeLines(one), DescribeLines(many)) << text;
        for (int p = 0; p < one.GetPartCount(); ++p)
            EXPECT_EQ(DescribeProgramNotes(one.GetPart(p)), DescribeProgramNotes(many.GetPart(p)));
    }
}

} // namespace
