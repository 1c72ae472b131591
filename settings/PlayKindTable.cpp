#include "settings/PlayKindTable.h"

#include "text/Texts.h"

namespace {

const int kKindIds[PlayKindTable::kKindCount] = { kStrKindPlay, kStrKindPlayHg, kStrKindPlayAt };

} // namespace

PlayKindTable::PlayKindTable()
{
}

PlayKindTable::~PlayKindTable()
{
}

int PlayKindTable::GetCount() const
{
    return kKindCount;
}

int PlayKindTable::GetNameId(int index) const
{
    return index >= 0 && index < kKindCount ? kKindIds[index] : 0;
}

const char* PlayKindTable::GetKeyword(int index) const
{
    int id = GetNameId(index);
    return id ? GetString(id) : nullptr;
}
