#include "tests/support/NoteListText.h"

#include "score/MmlPartReader.h"
#include "score/NoteList.h"

#include <cstdlib>
#include <sstream>

namespace {

const int kTestVelocity = 100;

// A whole token of decimal digits (with an optional sign), or false.
bool ParseInt(const std::string& text, int& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    long parsed = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0')
        return false;
    value = static_cast<int>(parsed);
    return true;
}

int ReadRecord(const std::string& token, NoteRecord& record)
{
    if (token == "|") {
        record = NoteRecord(kSegmentEnd, 0);
        return 0;
    }
    std::string body = token;
    int tie = 0;
    if (!body.empty() && body.back() == '&') {
        tie = kTieToNext;
        body.pop_back();
    }
    int valueIndex = -1;
    size_t slash = body.find('/');
    if (slash != std::string::npos) {
        if (!ParseInt(body.substr(slash + 1), valueIndex))
            return -1;
        body.erase(slash);
    }
    size_t colon = body.find(':');
    if (colon == std::string::npos)
        return -1;
    std::string key = body.substr(0, colon);
    int length = 0;
    if (!ParseInt(body.substr(colon + 1), length))
        return -1;
    if (key == "r") {
        record = NoteRecord(kRestNote, length, 0, tie, valueIndex);
        return 0;
    }
    int note = 0;
    if (!ParseInt(key, note))
        return -1;
    record = NoteRecord(note, length, kTestVelocity, tie, valueIndex);
    return 0;
}

} // namespace

int FillNoteList(NoteList& list, const std::string& text)
{
    std::istringstream in(text);
    std::string token;
    while (in >> token) {
        NoteRecord record;
        if (ReadRecord(token, record) != 0)
            return -1;
        list.Append(record);
    }
    return 0;
}

std::string DescribeNoteList(NoteList& list)
{
    std::string text;
    for (NoteList::Position p = list.Begin(); p != list.End(); ++p) {
        if (!text.empty())
            text += ' ';
        if (p->IsSegmentEnd()) {
            text += '|';
            continue;
        }
        text += p->IsRest() ? std::string("r") : std::to_string(p->GetNote());
        text += ':' + std::to_string(p->GetLength());
        if (p->GetValueIndex() != -1)
            text += '/' + std::to_string(p->GetValueIndex());
        if (p->IsTied())
            text += '&';
    }
    return text;
}

std::string DescribeProgramNotes(const std::vector<ProgramNote>& notes)
{
    std::string text;
    for (const ProgramNote& note : notes) {
        if (!text.empty())
            text += ' ';
        text += note.key == MmlPartReader::kRest ? std::string("r") : std::to_string(note.key);
        text += '@' + std::to_string(note.start) + '+' + std::to_string(note.length);
    }
    return text;
}
