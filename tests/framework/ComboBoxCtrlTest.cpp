#include "framework/ComboBoxCtrl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/framework/WindowTestSupport.h"

namespace {

const int kComboId = 300;

// A sorted drop-down list: AddItem must put the data on the item where the
// box placed its text, not at the end; and no selection reads as -1.
TEST(ComboBoxCtrlTest, ItemDataFollowsTheSortedItemAndNoSelectionIsMinusOne)
{
    ParentWindow parent(50, 50, 300, 200);
    CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_SORT, 5, 5, 200, 100,
                    parent.GetHandle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kComboId)), TestModule(),
                    nullptr);
    ComboBoxCtrl combo;
    ASSERT_NE(nullptr, combo.AttachItem(parent.GetHandle(), TestModule(), kComboId));

    const std::vector<std::string> texts = {"delta", "alpha", "charlie", "bravo"};
    for (size_t i = 0; i < texts.size(); ++i)
        ASSERT_GE(combo.AddItem(texts[i].c_str(), static_cast<LPARAM>(i)), 0);
    EXPECT_EQ(4, combo.GetCount());
    EXPECT_EQ(CB_ERR, combo.GetCurSel());
    EXPECT_EQ(-1, combo.GetSelectedItemData());

    // Sorted: alpha (1), bravo (3), charlie (2), delta (0).
    const LPARAM expected[] = {1, 3, 2, 0};
    for (int index = 0; index < 4; ++index) {
        ASSERT_EQ(index, combo.SetCurSel(index));
        EXPECT_EQ(expected[index], combo.GetSelectedItemData()) << index;
    }
    combo.SetCurSel(-1);
    EXPECT_EQ(-1, combo.GetSelectedItemData());
    combo.ResetContent();
    EXPECT_EQ(0, combo.GetCount());
}

} // namespace
