#include "framework/WndObject.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(WndObjectTest, SetTextKeepsItsOwnCopyAndReturnsTheLength)
{
    WndObject object;
    char text[] = "MIDI to MORVEK";
    EXPECT_EQ(14, object.SetText(text));
    text[0] = 'X';
    EXPECT_STREQ("MIDI to MORVEK", object.GetText());
    EXPECT_EQ(0, object.SetText(""));
    EXPECT_STREQ("", object.GetText());
    EXPECT_EQ(0, object.SetText(nullptr));
    EXPECT_EQ(nullptr, object.GetText());
}

TEST(WndObjectTest, StringsMaySetFromTheirOwnValue)
{
    WndObject object;
    object.SetClassName("MIDItoMORVEKClass");
    object.SetText("KALTON");
    EXPECT_EQ(17, object.SetClassName(object.GetClassName()));
    EXPECT_EQ(6, object.SetText(object.GetText()));
    EXPECT_STREQ("MIDItoMORVEKClass", object.GetClassName());
    EXPECT_STREQ("KALTON", object.GetText());
    object.FreeClassName();
    object.FreeText();
    EXPECT_EQ(nullptr, object.GetClassName());
    EXPECT_EQ(nullptr, object.GetText());
}

TEST(WndObjectTest, HandleSettersReturnThePreviousValue)
{
    WndObject object;
    HWND first = reinterpret_cast<HWND>(0x10);
    HWND second = reinterpret_cast<HWND>(0x20);
    EXPECT_EQ(nullptr, object.SetHandle(first));
    EXPECT_EQ(first, object.SetHandle(second));
    EXPECT_EQ(nullptr, object.SetParentHandle(first));
    EXPECT_EQ(first, object.GetParentHandle());
    EXPECT_EQ(second, object.GetHandle());
}

} // namespace
