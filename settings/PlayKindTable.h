#ifndef MORVEK_SETTINGS_PLAYKINDTABLE_H
#define MORVEK_SETTINGS_PLAYKINDTABLE_H

// The three PLAY statements the program can write. The chosen text is the
// keyword of every PLAY line; nothing else of the output depends on it.
class PlayKindTable {
public:
    enum { kKindCount = 3 };

// Construction
    PlayKindTable();
    virtual ~PlayKindTable();

// Attributes
    virtual int GetCount() const;
    // String-table id of kind index ("PLAY", "PLAY HG", "PLAY@"), or 0
    // outside 0..2.
    virtual int GetNameId(int index) const;
    // The keyword text, or null outside 0..2.
    virtual const char* GetKeyword(int index) const;
};

#endif
