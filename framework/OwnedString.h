#ifndef MORVEK_FRAMEWORK_OWNEDSTRING_H
#define MORVEK_FRAMEWORK_OWNEDSTRING_H

// Replaces slot with an owned heap copy of text (null clears it) and frees
// the old one; returns the copy's length. The copy is made first, so a
// string may be set from its own old value.
int ReplaceOwnedString(char*& slot, const char* text);

#endif
