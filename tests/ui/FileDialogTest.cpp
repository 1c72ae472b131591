// The record of the common file dialogs, without running a dialog; the
// window's use of it is in MainWindowTest.
#include "ui/FileDialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "resources/StringIds.h"

namespace {

HINSTANCE Module()
{
    return GetModuleHandleA(nullptr); // the test carries the program's resources
}

TEST(FileDialogTest, RecordCarriesTheTablesFilterAndExtensionAndTheFlags)
{
    FileDialog dialog(Module(), kStrSaveFilter, kStrSaveExt, OFN_HIDEREADONLY);
    HWND owner = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
    OPENFILENAMEA record = dialog.BuildRecord(owner);
    EXPECT_EQ(static_cast<DWORD>(OPENFILENAME_SIZE_VERSION_400A), record.lStructSize);
    EXPECT_EQ(owner, record.hwndOwner);
    const char filter[] = "Text file (*.txt)\0*.txt\0All file (*.*)\0*.*\0";
    EXPECT_EQ(0, std::memcmp(filter, record.lpstrFilter, sizeof filter)) << "ends in two NULs";
    EXPECT_EQ(1u, record.nFilterIndex);
    EXPECT_STREQ("txt", record.lpstrDefExt);
    EXPECT_EQ(static_cast<DWORD>(OFN_HIDEREADONLY), record.Flags);
    EXPECT_EQ(256u, record.nMaxFile);
    EXPECT_STREQ("", record.lpstrFile);
}

// The dialog writes its choice into the record's buffer: GetName and the
// next record (Save asks again after "No") see it.
TEST(FileDialogTest, TheChoiceIsTheNameAndTheNextProposal)
{
    FileDialog dialog(Module(), kStrOpenFilter, kStrOpenExt, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY);
    EXPECT_EQ(8, dialog.SetName("song.mid"));
    OPENFILENAMEA record = dialog.BuildRecord(nullptr);
    EXPECT_STREQ("song.mid", record.lpstrFile);
    lstrcpynA(record.lpstrFile, "C:\\music\\other.mid", static_cast<int>(record.nMaxFile));
    EXPECT_STREQ("C:\\music\\other.mid", dialog.GetName());
    EXPECT_STREQ("C:\\music\\other.mid", dialog.BuildRecord(nullptr).lpstrFile);
    EXPECT_EQ(0, dialog.SetName(nullptr));
    EXPECT_STREQ("", dialog.GetName());
}

TEST(FileDialogTest, LongNameIsCutBeforeADoubleByteCharacter)
{
    FileDialog dialog(Module(), kStrOpenFilter, kStrOpenExt, 0);
    // 254 bytes, then a double-byte character whose second byte would be
    // the 256th: it does not fit whole, so it goes.
    std::string name = std::string(254, 'n') + "\x95\x5C" + "tail";
    EXPECT_EQ(254, dialog.SetName(name.c_str()));
    EXPECT_EQ(std::string(254, 'n'), dialog.GetName());
    name = std::string(253, 'n') + "\x95\x5C" + "tail";
    EXPECT_EQ(255, dialog.SetName(name.c_str()));
    EXPECT_EQ(name.substr(0, 255), dialog.GetName());
}

} // namespace
