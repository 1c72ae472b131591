#ifndef MORVEK_TESTS_SUPPORT_NOTELISTTEXT_H
#define MORVEK_TESTS_SUPPORT_NOTELISTTEXT_H

#include <string>
#include <vector>

#include "score/ProgramNote.h"

class NoteList;

// A short text form of a note list, so that tests can state a whole list in
// one line and compare whole lists: records separated by spaces,
//   "r:48"       a rest of 48 ticks
//   "60:96"      key 60 for 96 ticks
//   "60:72/3&"   ... with value index 3, tied to the next piece
//   "|"          a segment marker
// Velocities are not shown; FillNoteList gives notes velocity 100.

// Appends the records of text to list. Returns 0, or -1 at the first token it
// cannot read (the records before it stay).
int FillNoteList(NoteList& list, const std::string& text);

// The text form of list.
std::string DescribeNoteList(NoteList& list);

// Notes read back from a program: "key@start+length" each, "r" for a
// rest's key, separated by spaces.
std::string DescribeProgramNotes(const std::vector<ProgramNote>& notes);

#endif
