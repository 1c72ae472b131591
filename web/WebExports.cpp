// The functions the page calls (web/page/app.js), each a thin wrapper of
// one WebSession operation on the page's one session. Numbers cross as int
// or double; texts as a pointer and a size into the module's memory.
#include <emscripten/emscripten.h>

#include <new>
#include <string>

#include "web/WebSession.h"

namespace {

WebSession& Session()
{
    static WebSession session;
    return session;
}

std::string Bytes(const char* data, int size)
{
    return data != nullptr && size > 0 ? std::string(data, static_cast<size_t>(size)) : std::string();
}

// What the core never says itself: memory ran out while copying the
// page's text in.
const int kCopyNoMemory = -2;

} // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE int morvek_open(const unsigned char* image, int size)
{
    return Session().Open(image, static_cast<unsigned long>(size > 0 ? size : 0));
}

EMSCRIPTEN_KEEPALIVE double morvek_file_fact(int fact)
{
    return static_cast<double>(Session().GetFileFact(fact));
}

EMSCRIPTEN_KEEPALIVE double morvek_list_fact(int ordinal, int fact)
{
    return static_cast<double>(Session().GetListFact(ordinal, fact));
}

EMSCRIPTEN_KEEPALIVE int morvek_set(int setting, int value)
{
    return Session().SetSetting(setting, value);
}

EMSCRIPTEN_KEEPALIVE int morvek_get(int setting)
{
    return Session().GetSetting(setting);
}

EMSCRIPTEN_KEEPALIVE int morvek_assign(int row, int ordinal)
{
    return Session().SetAssignment(row, ordinal);
}

EMSCRIPTEN_KEEPALIVE int morvek_assignment(int row)
{
    return Session().GetAssignment(row);
}

EMSCRIPTEN_KEEPALIVE int morvek_convert()
{
    return Session().Convert();
}

// 0 result, 1 setting, 2 value, 3 list count, 4 segment count.
EMSCRIPTEN_KEEPALIVE double morvek_status(int field)
{
    const ConvertStatus& status = Session().GetStatus();
    switch (field) {
    case 0: return status.GetResult();
    case 1: return status.GetSetting();
    case 2: return static_cast<double>(status.GetValue());
    case 3: return status.GetListCount();
    default: return static_cast<double>(status.GetSegmentCount());
    }
}

EMSCRIPTEN_KEEPALIVE int morvek_report(const char* text, int size)
{
    try {
        return Session().MakeReport(Bytes(text, size));
    } catch (const std::bad_alloc&) {
        return kCopyNoMemory;
    }
}

EMSCRIPTEN_KEEPALIVE int morvek_preview(const char* text, int size, const char* tempo)
{
    try {
        return Session().MakePreview(Bytes(text, size), tempo != nullptr ? tempo : "");
    } catch (const std::bad_alloc&) {
        return kCopyNoMemory;
    }
}

// 0 line, 1 column of the last unreadable preview.
EMSCRIPTEN_KEEPALIVE int morvek_preview_error(int field)
{
    return field == 0 ? Session().GetPreviewErrorLine() : Session().GetPreviewErrorColumn();
}

EMSCRIPTEN_KEEPALIVE const char* morvek_text(int text)
{
    return Session().GetText(text).data();
}

EMSCRIPTEN_KEEPALIVE int morvek_text_size(int text)
{
    return static_cast<int>(Session().GetText(text).size());
}

} // extern "C"
