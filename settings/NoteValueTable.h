#ifndef MORVEK_SETTINGS_NOTEVALUETABLE_H
#define MORVEK_SETTINGS_NOTEVALUETABLE_H

// The 18 note values the program knows, from the whole note (index 0) down to
// the 192nd note (index 17). A value index everywhere in the program is an
// index into this table. Lengths are given at time base 48 (192 ticks to the
// whole note) and scale by time base / 48. Final: the MML writer asks it
// about every note it writes.
class NoteValueTable final {
public:
    enum {
        kValueCount = 18,
        kBaseTimeBase = 48, // the time base of the tick column
        kNoValue = -1
    };

// Construction
    NoteValueTable();
    virtual ~NoteValueTable();

// Attributes
    virtual int GetCount() const;
    // String-table id of the value's name ("4分音符"), or 0 outside 0..17.
    virtual int GetNameId(int index) const;
    // Ticks at time base 48, or 0 outside 0..17.
    virtual int GetTicks(int index) const;
    // Ticks at timeBase: GetTicks × (timeBase / 48).
    virtual int GetTicksAt(int index, int timeBase) const;
    // MML length text ("4", "8.", "192"), or "" outside 0..17.
    virtual const char* GetLengthText(int index) const;
    // For a dotted value the index of the value the dot lengthens; kNoValue
    // for any other index.
    virtual int GetUndottedValue(int index) const;
    // The undotted value of a dotted index, the index itself otherwise;
    // kNoValue outside 0..17.
    virtual int GetBaseValue(int index) const;
    // The value index whose ticks at 48 equal ticks, or kNoValue.
    virtual int FindTicks(int ticks) const;
};

#endif
