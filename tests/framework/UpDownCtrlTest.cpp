#include "framework/UpDownCtrl.h"

#include <gtest/gtest.h>

#include "tests/framework/WindowTestSupport.h"

namespace {

const int kBuddyId = 302;
const int kSpinId = 303;

// The main window's shape: an up-down beside a number field, made with a
// range and a start. The buddy shows the position, the range keeps its
// order (a swapped lower and upper would clamp to the wrong end), and the
// acceleration steps come back as set.
TEST(UpDownCtrlTest, CreateSetsBuddyRangeAndPosition)
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&icc);
    ParentWindow parent(50, 50, 300, 200);
    HWND buddy = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_NUMBER, 5, 5, 80, 20,
                                 parent.GetHandle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kBuddyId)),
                                 TestModule(), nullptr);
    UpDownCtrl spin;
    spin.AttachParent(parent.GetHandle(), TestModule());
    const RECT rect = {85, 5, 100, 25};
    ASSERT_NE(nullptr, spin.Create(WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_NOTHOUSANDS,
                                   rect, kSpinId, buddy, 1, 18, 6));
    EXPECT_EQ(buddy, spin.GetBuddy());
    EXPECT_EQ("6", WindowText(buddy));
    BOOL error = TRUE;
    EXPECT_EQ(6, spin.GetPos(&error));
    EXPECT_FALSE(error);

    int lower = 0;
    int upper = 0;
    spin.GetRange(lower, upper);
    EXPECT_EQ(1, lower);
    EXPECT_EQ(18, upper);
    spin.SetRange(100, 65535);
    spin.SetPos(200);
    EXPECT_EQ(200, spin.SetPos(70000));
    EXPECT_EQ(65535, spin.GetPos());
    EXPECT_EQ("65535", WindowText(buddy));

    const UDACCEL steps[] = {{0, 1}, {2, 48}};
    ASSERT_TRUE(spin.SetAccel(2, steps));
    UDACCEL read[2] = {};
    EXPECT_EQ(2, spin.GetAccel(2, read));
    EXPECT_EQ(48u, read[1].nInc);
}

} // namespace
