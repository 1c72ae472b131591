// The main window with the system's own file dialogs and message boxes,
// answered by the test the way a person would: typing into the dialog's
// name box and pressing buttons.
#include "ui/MainWindow.h"

#include <gtest/gtest.h>

#include <string>

#include "text/Texts.h"
#include "resources/ResourceIds.h"
#include "tests/framework/WindowTestSupport.h"
#include "tests/ui/UiTestSupport.h"

namespace {

class RealDialogsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, m_app.GetWindow());
        m_app.GetProbe().realFileDialogs = true;
        m_app.GetProbe().realMessageBoxes = true;
    }

    // Opens the three-list song through the recorded dialog (the real ones
    // stay off) and converts it, after Add when add is true; returns the
    // command state that follows.
    UINT OpenAndConvert(bool add)
    {
        m_app.GetProbe().realFileDialogs = false;
        m_app.GetProbe().openAnswers.push_back(m_folder.Write("song.mid", ThreeListSong(96)));
        m_app.Command(IDM_OPEN);
        if (add)
            m_app.Command(IDM_ADD);
        m_app.Command(IDM_CONVERT);
        return m_app.GetWindow()->GetCommandState();
    }

    TempFolder m_folder;
    AppWindow m_app;
};

TEST_F(RealDialogsTest, OpenThenARefusalInTheSystemsMessageBox)
{
    std::string song = m_folder.Write("song.mid", ThreeListSong(96));
    {
        ModalScript script({ChooseFile(song)});
        m_app.Command(IDM_OPEN);
        EXPECT_EQ(1, script.GetStepsRun());
    }
    EXPECT_EQ("song.mid", ControlText(m_app.GetHandle(), IDC_FILE_NAME));
    EXPECT_EQ(3u, m_app.GetWindow()->GetCommandState());

    std::string text = m_folder.Write("notes.mid", std::string("not a MIDI file"));
    ModalScript script({ChooseFile(text), PressButton(IDOK)});
    m_app.Command(IDM_OPEN);
    ASSERT_EQ(2, script.GetStepsRun());
    EXPECT_EQ(std::string(GetString(kStrNotMidi)), script.GetBoxTexts()[1]);
    EXPECT_EQ("MIDI to MORVEK", script.GetBoxCaptions()[1]);
    EXPECT_EQ(1u, m_app.GetWindow()->GetCommandState());
    EXPECT_EQ("MIDI to MORVEK - " + text, WindowText(m_app.GetHandle()));
}

TEST_F(RealDialogsTest, OpenDialogRefusesAFileThatDoesNotExist)
{
    std::string missing = m_folder.PathOf("missing.mid");
    // The name, the dialog's own complaint, then Cancel.
    ModalScript script({ChooseFile(missing), PressButton(IDOK), PressButton(IDCANCEL)});
    m_app.Command(IDM_OPEN);
    EXPECT_EQ(3, script.GetStepsRun());
    EXPECT_EQ(1u, m_app.GetWindow()->GetCommandState());
    EXPECT_EQ("MIDI to MORVEK", WindowText(m_app.GetHandle()));
}

TEST_F(RealDialogsTest, SaveAsksBeforeReplacingAndAddsTheDefaultExtension)
{
    ASSERT_EQ(7u, OpenAndConvert(true));
    const std::string source = m_app.GetWindow()->GetSourceText();
    m_app.GetProbe().realFileDialogs = true;

    // A name typed without extension becomes a .txt file.
    {
        ModalScript script({ChooseFile(m_folder.PathOf("typed"))});
        m_app.Command(IDM_SAVE);
        EXPECT_EQ(1, script.GetStepsRun());
    }
    EXPECT_EQ(source, ReadWholeFile(m_folder.PathOf("typed.txt")));

    // An existing file: No shows the dialog again, Yes replaces it.
    std::string existing = m_folder.Write("old.txt", std::string("old"));
    ModalScript script({ChooseFile(existing), PressButton(IDNO), ChooseFile(existing), PressButton(IDYES)});
    m_app.Command(IDM_SAVE);
    ASSERT_EQ(4, script.GetStepsRun());
    EXPECT_EQ(existing + "\n\n" + GetString(kStrOverwrite), script.GetBoxTexts()[1]);
    EXPECT_EQ("MIDI to MORVEK", script.GetBoxCaptions()[1]);
    EXPECT_EQ(source, ReadWholeFile(existing));
}

TEST_F(RealDialogsTest, EmptySourceBoxIsToldInTheSystemsMessageBox)
{
    // Save is enabled by a conversion; the user then empties the box.
    ASSERT_EQ(7u, OpenAndConvert(false));
    SetDlgItemTextA(m_app.GetHandle(), IDC_SOURCE, "");
    ModalScript script({PressButton(IDOK)});
    m_app.Command(IDM_SAVE);
    ASSERT_EQ(1, script.GetStepsRun());
    EXPECT_EQ(std::string(GetString(kStrEmptySource)), script.GetBoxTexts()[0]);
    EXPECT_TRUE(m_app.GetProbe().saveCalls.empty());
}

} // namespace
