#include "settings/NoteValueTable.h"

#include "text/Texts.h"

namespace {

struct NoteValue {
    int nameId;
    int ticks;
    const char* lengthText;
    int undotted;
};

const NoteValue kValues[NoteValueTable::kValueCount] = {
    { kStrValue0, 192, "1", -1 },
    { kStrValue1, 144, "2.", 2 },
    { kStrValue2, 96, "2", -1 },
    { kStrValue3, 72, "4.", 4 },
    { kStrValue4, 48, "4", -1 },
    { kStrValue5, 36, "8.", 7 },
    { kStrValue6, 32, "6", -1 },
    { kStrValue7, 24, "8", -1 },
    { kStrValue8, 18, "16.", 10 },
    { kStrValue9, 16, "12", -1 },
    { kStrValue10, 12, "16", -1 },
    { kStrValue11, 9, "32.", 13 },
    { kStrValue12, 8, "24", -1 },
    { kStrValue13, 6, "32", -1 },
    { kStrValue14, 4, "48", -1 },
    { kStrValue15, 3, "64", -1 },
    { kStrValue16, 2, "96", -1 },
    { kStrValue17, 1, "192", -1 },
};

bool IsValueIndex(int index)
{
    return index >= 0 && index < NoteValueTable::kValueCount;
}

} // namespace

NoteValueTable::NoteValueTable()
{
}

NoteValueTable::~NoteValueTable()
{
}

int NoteValueTable::GetCount() const
{
    return kValueCount;
}

int NoteValueTable::GetNameId(int index) const
{
    return IsValueIndex(index) ? kValues[index].nameId : 0;
}

int NoteValueTable::GetTicks(int index) const
{
    return IsValueIndex(index) ? kValues[index].ticks : 0;
}

int NoteValueTable::GetTicksAt(int index, int timeBase) const
{
    return GetTicks(index) * (timeBase / kBaseTimeBase);
}

const char* NoteValueTable::GetLengthText(int index) const
{
    return IsValueIndex(index) ? kValues[index].lengthText : "";
}

int NoteValueTable::GetUndottedValue(int index) const
{
    return IsValueIndex(index) ? kValues[index].undotted : kNoValue;
}

int NoteValueTable::GetBaseValue(int index) const
{
    if (!IsValueIndex(index))
        return kNoValue;
    return kValues[index].undotted != -1 ? kValues[index].undotted : index;
}

int NoteValueTable::FindTicks(int ticks) const
{
    for (int i = 0; i < kValueCount; ++i) {
        if (kValues[i].ticks == ticks)
            return i;
    }
    return kNoValue;
}
