#include "framework/EditCtrl.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/framework/WindowTestSupport.h"

namespace {

const int kEditId = 301;

class EditCtrlTest : public ::testing::Test {
protected:
    EditCtrlTest() : m_parent(50, 50, 300, 200)
    {
        CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, 5, 5, 200, 100,
                        m_parent.GetHandle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)),
                        TestModule(), nullptr);
        m_edit.AttachItem(m_parent.GetHandle(), TestModule(), kEditId);
    }

    ParentWindow m_parent;
    EditCtrl m_edit;
};

// A generated program far past the 32K default, with double-byte text,
// comes back whole once the limit is lifted; an unbound control reads empty.
TEST_F(EditCtrlTest, ReadTextGivesBackLongTextWhole)
{
    m_edit.SetLimitText(0);
    EXPECT_GT(m_edit.GetLimitText(), 100000u);
    std::string text;
    for (int line = 1000; text.size() < 100000; line += 10)
        text += std::to_string(line) + " PLAY \"\x83\x65\x83\x58\x83\x67O4CDE\"\r\n";
    ASSERT_TRUE(m_edit.WriteText(text.c_str()));
    EXPECT_EQ(text, m_edit.ReadText());

    EditCtrl unbound;
    EXPECT_EQ("", unbound.ReadText());
}

// Selection and replacement take their arguments in the control's order.
TEST_F(EditCtrlTest, ReplaceSelReplacesTheSelectedBytes)
{
    m_edit.WriteText("1000 PLAY \"C\"");
    m_edit.SetSel(5, 9);
    m_edit.ReplaceSel("SOUND");
    EXPECT_EQ("1000 SOUND \"C\"", m_edit.ReadText());
    m_edit.SetLimitText(4);
    EXPECT_EQ(4u, m_edit.GetLimitText());
}

} // namespace
