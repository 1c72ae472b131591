// The web build compiles the string table from a copy whose texts are
// escaped code page 932 bytes (resources/tools/cp932_literals.py): that
// copy must hold exactly the bytes the compiler makes of the original.
#include <gtest/gtest.h>

#include <string>

#include "text/Texts.h"

namespace {

struct Escaped {
    int id;
    const char* text;
    int length;
};

const Escaped kEscaped[] = {
#define MORVEK_STRING(id, name, text) { id, text, static_cast<int>(sizeof(text)) - 1 },
#include "escaped/Strings.def"
#undef MORVEK_STRING
};

} // namespace

TEST(EscapedStringsTest, EveryTextHasTheCompilersBytes)
{
    for (const Escaped& entry : kEscaped) {
        SCOPED_TRACE(entry.id);
        ASSERT_EQ(GetStringLength(entry.id), entry.length);
        EXPECT_EQ(std::string(GetString(entry.id), static_cast<size_t>(entry.length)),
                  std::string(entry.text, static_cast<size_t>(entry.length)));
    }
}
