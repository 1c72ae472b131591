#include "text/TextFormat.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(TextFormatTest, ShortTextIsWrittenWhole)
{
    EXPECT_EQ("FILE NAME = song.mid\nFORMAT = 2\n\nrefused",
              FormatText("FILE NAME = %s\nFORMAT = %d\n\n%s", "song.mid", 2, "refused"));
    EXPECT_EQ("", FormatText("%s", ""));
}

// Texts at and past the first buffer's size take the second road; every
// byte, embedded double-byte characters included, must survive it.
TEST(TextFormatTest, LongTextsKeepEveryByteAroundTheFirstBuffersSize)
{
    for (size_t size : {1022u, 1023u, 1024u, 1025u, 5000u}) {
        std::string path(size, 'p');
        path[size / 2] = '\x95';
        path[size / 2 + 1] = '\x5C'; // a second byte that looks like a backslash
        EXPECT_EQ(path + "\n\nend", FormatText("%s\n\n%s", path.c_str(), "end")) << size;
    }
}

} // namespace
