#ifndef MORVEK_UI_LISTPANEL_H
#define MORVEK_UI_LISTPANEL_H

#include <windows.h>

#include <vector>

#include "framework/ListViewCtrl.h"

class Converter;
class NoteListSet;

// The MIDI channel list and the part list of the main window, with Add and
// Remove between them. A channel row stands for one note list; a part row's
// item data is the ordinal of the list assigned to it, or kUnassigned. With
// two or more voices the channel column shows each list's channel and
// voice ("2.1").
class ListPanel {
public:
    enum {
        kPartRowCount = 18,
        kUnassigned = -1    // item data of a part row without a list
    };

// Construction
    ListPanel();
    virtual ~ListPanel();
    ListPanel(const ListPanel&) = delete;
    ListPanel& operator=(const ListPanel&) = delete;

    // Adopts both lists of the window's template and loads their columns.
    virtual void Create(HWND hwnd, HINSTANCE instance);

// Attributes
    virtual ListViewCtrl& GetMidiChannelList();
    virtual ListViewCtrl& GetPartList();
    // The list ordinal of each of the first partCount part rows.
    virtual std::vector<int> GetAssignment(int partCount) const;

// Operations
    virtual void Clear();
    // One channel row per list of lists (none without), then kPartRowCount
    // unassigned part rows; the first row of each selected. Returns the
    // number of channel rows.
    virtual int Fill(const NoteListSet* lists, int voiceCount);
    // Add: the focused channel row's list on the focused part row, both
    // focuses one row on. false when a list has no focused row.
    virtual bool Add(const NoteListSet* lists, int voiceCount);
    // Remove: the focused part row unassigned, the focus one row on.
    virtual bool Remove();

private:
    // Row texts of one note list: No., Tr., Ch., Step from column first on;
    // Ch. names the voice when the lists were made with voices.
    virtual void ShowListColumns(ListViewCtrl& list, int row, int firstColumn, int ordinal,
                                 const NoteListSet& lists, int voiceCount);

    ListViewCtrl m_midiChannelList;
    ListViewCtrl m_partList;
};

#endif
