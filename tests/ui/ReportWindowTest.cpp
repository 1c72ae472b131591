// The conversion report in the window: the command needs a conversion, the
// dialog shows the engine's report and copies it, and the caption tells of
// warnings only once the report has been used.
#include "ui/MainWindow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/ConversionReport.h"
#include "text/Texts.h"
#include "ui/WindowTextTable.h"
#include "midi/MidiFile.h"
#include "resources/ResourceIds.h"
#include "tests/framework/WindowTestSupport.h"
#include "tests/ui/UiTestSupport.h"

namespace {

bool ReportEnabled(HWND hwnd)
{
    HMENU menu = GetMenu(hwnd);
    SendMessageA(hwnd, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    const UINT state = GetMenuState(menu, IDM_REPORT, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED)) == 0;
}

std::string WithCrLf(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

std::string ClipboardText()
{
    std::string text;
    if (!OpenClipboard(nullptr))
        return text;
    HANDLE data = GetClipboardData(CF_TEXT);
    if (const char* bytes = data ? static_cast<const char*>(GlobalLock(data)) : nullptr) {
        text = bytes;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

// What the dialog showed, read while it was open.
struct Seen {
    std::string caption, box, copy, ok, clipboard;
};

class ReportWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, m_app.GetHandle());
        m_path = m_folder.Write("song.mid", ThreeListSong(96));
        m_app.GetProbe().openAnswers.push_back(m_path);
        m_app.Command(IDM_OPEN);
    }

    void Assign(int channelRow, int partRow)
    {
        m_app.GetWindow()->GetMidiChannelList().SelectItem(channelRow);
        m_app.GetWindow()->GetPartList().SelectItem(partRow);
        m_app.Command(IDM_ADD);
    }

    // The engine's report of what the window converted last.
    ConversionReport* EngineReport(const std::vector<int>& assignment)
    {
        ConvertSettings settings;
        settings.SetSplitStepCount(4 * 96);
        const MidiFile& file = *m_app.GetWindow()->GetMidiFile();
        const ConversionResult result = Converter().Convert(file, settings, assignment);
        EXPECT_EQ(ConversionReport::kReportOk,
                  m_report.Compute(file, result, m_app.GetWindow()->GetSourceText()));
        return &m_report;
    }

    // F7 with a script that reads the dialog, presses Copy, then OK.
    Seen RunReport()
    {
        Seen seen;
        ModalScript script({[&seen](HWND dialog) {
            char text[256] = "";
            GetWindowTextA(dialog, text, sizeof text);
            seen.caption = text;
            HWND box = GetDlgItem(dialog, IDC_REPORT_TEXT);
            std::vector<char> all(static_cast<size_t>(GetWindowTextLengthA(box)) + 1);
            GetWindowTextA(box, all.data(), static_cast<int>(all.size()));
            seen.box = all.data();
            GetDlgItemTextA(dialog, IDC_REPORT_COPY, text, sizeof text);
            seen.copy = text;
            GetDlgItemTextA(dialog, IDOK, text, sizeof text);
            seen.ok = text;
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_REPORT_COPY, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_REPORT_COPY)));
            seen.clipboard = ClipboardText();
            PressButton(IDOK)(dialog);
        }});
        m_app.Command(IDM_REPORT);
        EXPECT_EQ(1, script.GetStepsRun());
        return seen;
    }

    TempFolder m_folder;
    AppWindow m_app;
    std::string m_path;
    ConversionReport m_report;
};

TEST_F(ReportWindowTest, NeedsAConversionAndChangesNothingUntilUsed)
{
    EXPECT_FALSE(ReportEnabled(m_app.GetHandle()));
    {
        ModalScript script({});
        m_app.Command(IDM_REPORT);
        EXPECT_EQ(0u, script.GetBoxTexts().size());
    }
    Assign(0, 0);
    m_app.Command(IDM_CONVERT);
    EXPECT_TRUE(ReportEnabled(m_app.GetHandle()));
    // Two lists are left out, but the report was never asked for.
    EXPECT_GT(EngineReport({0})->GetWarningCount(), 0);
    EXPECT_EQ("MIDI to MORVEK - " + m_path, WindowText(m_app.GetHandle()));
    EXPECT_FALSE(m_app.GetWindow()->IsReportOn());
}

TEST_F(ReportWindowTest, DialogShowsTheEnginesReportAndCopiesIt)
{
    Assign(0, 0);
    m_app.Command(IDM_CONVERT);
    const Seen seen = RunReport();
    const WindowTextTable texts(GetModuleHandleA(nullptr));
    const std::string expected = WithCrLf(EngineReport({0})->Format(texts));
    EXPECT_EQ(expected, seen.box);
    EXPECT_EQ(expected, seen.clipboard);
    EXPECT_EQ(std::string(GetString(kStrReportCaption)), seen.caption);
    EXPECT_EQ(std::string(GetString(kStrReportCopy)), seen.copy);
    EXPECT_EQ(std::string(GetString(kStrReportOk)), seen.ok);
    EXPECT_NE(std::string::npos,
              seen.box.find(texts.Get(kStrWarnKeyLeftOut) + "\t" +
                            EngineReport({0})->GetWarningText(ConversionReport::kWarnLeftOut, texts)));
    EXPECT_EQ("MIDI to MORVEK - " + m_path + GetString(kStrReportWarnings),
              WindowText(m_app.GetHandle()));

    // From now on every Convert updates the notice: all three lists on parts.
    Assign(1, 1);
    Assign(2, 2);
    m_app.Command(IDM_CONVERT);
    const bool warned = EngineReport({0, 1, 2})->GetWarningCount() > 0;
    EXPECT_EQ("MIDI to MORVEK - " + m_path + (warned ? GetString(kStrReportWarnings) : ""),
              WindowText(m_app.GetHandle()));
    EXPECT_EQ(WithCrLf(m_report.Format(texts)), RunReport().box);
}

} // namespace
