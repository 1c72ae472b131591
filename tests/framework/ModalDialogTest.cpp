#include "framework/ModalDialog.h"
#include "framework/ModalDialogHost.h"

#include <gtest/gtest.h>

#include "tests/framework/TestResourceIds.h"
#include "tests/framework/WindowTestSupport.h"

namespace {

struct DialogProbe {
    int initialised = 0;
    HINSTANCE instance = nullptr;
    int deleted = 0;
};

class ProbeDialog : public ModalDialog {
public:
    explicit ProbeDialog(DialogProbe* probe) : m_probe(probe) {}
    ~ProbeDialog() override { ++m_probe->deleted; }

    LRESULT OnInitDialog(HWND hwnd, WPARAM wParam, LPARAM lParam) override
    {
        ++m_probe->initialised;
        m_probe->instance = GetInstance();
        return ModalDialog::OnInitDialog(hwnd, wParam, lParam);
    }

private:
    DialogProbe* m_probe;
};

class ProbeHost : public ModalDialogHost {
public:
    explicit ProbeHost(DialogProbe* probe) : m_probe(probe) {}
    ModalDialog* CreateDialogHandler() override { return new ProbeDialog(m_probe); }

private:
    DialogProbe* m_probe;
};

struct EndCase {
    DialogEnd how;
    INT_PTR result;
};

class ModalDialogEndTest : public ::testing::TestWithParam<EndCase> {};

TEST_P(ModalDialogEndTest, EndsWithTheResultOfItsButton)
{
    ParentWindow parent(100, 100, 500, 300);
    DialogProbe probe;
    ProbeHost host(&probe);
    const DialogEnd how = GetParam().how;
    DialogWatcher watcher([how](HWND dialog) { EndDialogBy(dialog, how); });
    INT_PTR result = host.RunModal(TestModule(), IDD_TEST_MODAL, parent.GetHandle(), 0, 0);
    EXPECT_TRUE(watcher.Acted());
    EXPECT_EQ(GetParam().result, result);
    EXPECT_EQ(1, probe.initialised);
    EXPECT_EQ(TestModule(), probe.instance);
    EXPECT_EQ(1, probe.deleted);
    EXPECT_EQ(0, host.GetCount());
}

INSTANTIATE_TEST_SUITE_P(Ends, ModalDialogEndTest, ::testing::Values(
    EndCase{DialogEnd::kOkCommand, 1},
    EndCase{DialogEnd::kCancelCommand, 0},
    EndCase{DialogEnd::kEnterKey, 1},
    EndCase{DialogEnd::kEscapeKey, 0},
    EndCase{DialogEnd::kCloseMessage, 0}),
    [](const ::testing::TestParamInfo<EndCase>& info) { return std::string(DialogEndName(info.param.how)); });

class ModalDialogCentreTest : public ::testing::TestWithParam<RECT> {};

TEST_P(ModalDialogCentreTest, IsCentredOverItsParentWithoutClamping)
{
    const RECT& at = GetParam();
    ParentWindow parent(at.left, at.top, at.right - at.left, at.bottom - at.top);
    RECT p;
    GetWindowRect(parent.GetHandle(), &p);
    RECT r = {};
    ModalDialogHost host;
    DialogWatcher watcher([&r](HWND dialog) {
        GetWindowRect(dialog, &r);
        EndDialogBy(dialog, DialogEnd::kOkCommand);
    });
    EXPECT_EQ(1, host.RunModal(TestModule(), IDD_TEST_MODAL, parent.GetHandle(), 0, 0));
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    EXPECT_GT(w, 0);
    EXPECT_EQ(p.left + ((p.right - p.left) - w) / 2, r.left);
    EXPECT_EQ(p.top + ((p.bottom - p.top) - h) / 2, r.top);
}

// Odd sizes check the rounding; the last parent hangs off the top left
// corner of the screen, and so does its dialog.
INSTANTIATE_TEST_SUITE_P(Parents, ModalDialogCentreTest, ::testing::Values(
    RECT{100, 120, 740, 530},
    RECT{33, 47, 334, 258},
    RECT{-300, -250, 100, 50}));

TEST(ModalDialogTest, DialogWithoutParentIsCentredOnTheScreen)
{
    RECT screen;
    GetWindowRect(GetDesktopWindow(), &screen);
    RECT r = {};
    ModalDialogHost host;
    DialogWatcher watcher([&r](HWND dialog) {
        GetWindowRect(dialog, &r);
        EndDialogBy(dialog, DialogEnd::kCancelCommand);
    });
    EXPECT_EQ(0, host.RunModal(TestModule(), IDD_TEST_MODAL, nullptr, 0, 0));
    EXPECT_EQ(screen.left + ((screen.right - screen.left) - (r.right - r.left)) / 2, r.left);
    EXPECT_EQ(screen.top + ((screen.bottom - screen.top) - (r.bottom - r.top)) / 2, r.top);
}

TEST(ModalDialogTest, OtherCommandsLeaveTheDialogOpen)
{
    ParentWindow parent(100, 100, 500, 300);
    ModalDialogHost host;
    bool stillOpen = false;
    DialogWatcher watcher([&stillOpen](HWND dialog) {
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(5000, BN_CLICKED), 0);
        stillOpen = IsWindowVisible(dialog) != FALSE;
        EndDialogBy(dialog, DialogEnd::kOkCommand);
    });
    EXPECT_EQ(1, host.RunModal(TestModule(), IDD_TEST_MODAL, parent.GetHandle(), 0, 0));
    EXPECT_TRUE(stillOpen);
}

TEST(ModalDialogTest, MissingTemplateStillDeletesTheHandler)
{
    DialogProbe probe;
    ProbeHost host(&probe);
    EXPECT_EQ(-1, host.RunModal(TestModule(), 9999, nullptr, 0, 0));
    EXPECT_EQ(0, probe.initialised);
    EXPECT_EQ(1, probe.deleted);
}

} // namespace
