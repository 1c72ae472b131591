#include "ui/ListPanel.h"

#include "engine/Converter.h"
#include "resources/ResourceIds.h"
#include "score/NoteList.h"
#include "score/NoteListSet.h"
#include "text/NumberText.h"
#include "text/TextFormat.h"

namespace {

// Columns of a note list's row texts, in the order both lists show them.
enum { kColumnNo, kColumnTrack, kColumnChannel, kColumnStep, kListColumnCount };

std::string DecimalText(int value)
{
    return FormatText("%d", value);
}

} // namespace

ListPanel::ListPanel()
{
}

ListPanel::~ListPanel()
{
}

void ListPanel::Create(HWND hwnd, HINSTANCE instance)
{
    m_midiChannelList.AttachItem(hwnd, instance, IDC_CHANNEL_LIST);
    m_midiChannelList.LoadColumns(IDR_CHANNEL_COLUMNS);
    m_partList.AttachItem(hwnd, instance, IDC_PART_LIST);
    m_partList.LoadColumns(IDR_PART_COLUMNS);
}

ListViewCtrl& ListPanel::GetMidiChannelList()
{
    return m_midiChannelList;
}

ListViewCtrl& ListPanel::GetPartList()
{
    return m_partList;
}

std::vector<int> ListPanel::GetAssignment(int partCount) const
{
    std::vector<int> assignment;
    const int rows = m_partList.GetItemCount();
    for (int r = 0; r < partCount; ++r)
        assignment.push_back(r < rows ? static_cast<int>(m_partList.GetItemData(r)) : kUnassigned);
    return assignment;
}

void ListPanel::Clear()
{
    m_midiChannelList.DeleteAllItems();
    m_partList.DeleteAllItems();
}

int ListPanel::Fill(const NoteListSet* lists, int voiceCount)
{
    const int count = lists != nullptr ? lists->GetCount() : 0;
    int rows = 0;
    for (int i = 0; i < count; ++i) {
        // The row's item data stays 0: Add goes by the row's position.
        int row = m_midiChannelList.InsertItem(i, DecimalText(i).c_str(), 0);
        if (row < 0)
            continue;
        ShowListColumns(m_midiChannelList, row, 0, i, *lists, voiceCount);
        ++rows;
    }
    if (rows > 0)
        m_midiChannelList.SelectItem(0);
    for (int i = 0; i < kPartRowCount; ++i)
        m_partList.InsertItem(i, DecimalText(i).c_str(), kUnassigned);
    m_partList.SelectItem(0);
    return rows;
}

bool ListPanel::Add(const NoteListSet* lists, int voiceCount)
{
    // A list without a focused row (a file without channel messages has an
    // empty channel list) leaves everything as it is.
    const int m = m_midiChannelList.GetFocusedItem();
    const int p = m_partList.GetFocusedItem();
    if (lists == nullptr || m < 0 || p < 0 || lists->GetList(m) == nullptr)
        return false;
    m_partList.SetItemData(p, m);
    ShowListColumns(m_partList, p, 1, m, *lists, voiceCount);
    if (m + 1 < m_midiChannelList.GetItemCount())
        m_midiChannelList.SelectItem(m + 1);
    if (p + 1 < m_partList.GetItemCount())
        m_partList.SelectItem(p + 1);
    return true;
}

bool ListPanel::Remove()
{
    const int p = m_partList.GetFocusedItem();
    if (p < 0)
        return false;
    m_partList.SetItemData(p, kUnassigned);
    for (int column = 1; column <= kListColumnCount; ++column)
        m_partList.ClearItemText(p, column);
    if (p + 1 < m_partList.GetItemCount())
        m_partList.SelectItem(p + 1);
    return true;
}

void ListPanel::ShowListColumns(ListViewCtrl& list, int row, int firstColumn, int ordinal,
                                const NoteListSet& lists, int voiceCount)
{
    const NoteList* noteList = lists.GetList(ordinal);
    if (noteList == nullptr)
        return;
    list.SetItemText(row, firstColumn + kColumnNo, DecimalText(ordinal).c_str());
    list.SetItemText(row, firstColumn + kColumnTrack, DecimalText(noteList->GetTrackIndex()).c_str());
    list.SetItemText(row, firstColumn + kColumnChannel,
                     (voiceCount > 1
                          ? FormatText("%d.%d", noteList->GetChannel(), noteList->GetVoice() + 1)
                          : DecimalText(noteList->GetChannel()))
                         .c_str());
    list.SetItemText(row, firstColumn + kColumnStep, FormatThousands(noteList->GetTotalTicks()).c_str());
}
