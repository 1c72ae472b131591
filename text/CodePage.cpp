#include "text/CodePage.h"

#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

CodePage::CodePage()
{
    std::memset(m_lead, 0, sizeof m_lead);
}

CodePage::~CodePage()
{
}

CodePage CodePage::Japanese()
{
    CodePage page;
    page.AddLeadBytes(0x81, 0x9F);
    page.AddLeadBytes(0xE0, 0xFC);
    return page;
}

CodePage CodePage::FromSystem()
{
    CodePage page;
#ifdef _WIN32
    // The lead-byte ranges come in pairs, ended by a pair of zeros.
    CPINFO info;
    if (GetCPInfo(CP_ACP, &info)) {
        for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2)
            page.AddLeadBytes(info.LeadByte[i], info.LeadByte[i + 1]);
    }
#endif
    return page;
}

bool CodePage::IsLeadByte(unsigned char byte) const
{
    return m_lead[byte];
}

void CodePage::AddLeadBytes(unsigned char first, unsigned char last)
{
    for (int b = first; b <= last; ++b)
        m_lead[b] = true;
}

const char* CodePage::Next(const char* p) const
{
    if (*p == '\0')
        return p;
    if (IsLeadByte(static_cast<unsigned char>(*p)) && p[1] != '\0')
        return p + 2;
    return p + 1;
}

int CodePage::Fit(const char* text, int size) const
{
    if (text == nullptr || size < 1)
        return 0;
    const int limit = size - 1;
    const char* p = text;
    while (*p != '\0') {
        const char* next = Next(p);
        if (next - text > limit)
            break;
        p = next;
    }
    return static_cast<int>(p - text);
}

int CodePage::Copy(char* buffer, int size, const char* text) const
{
    if (buffer == nullptr || size < 1)
        return 0;
    int length = Fit(text, size);
    if (length > 0)
        std::memcpy(buffer, text, static_cast<size_t>(length));
    buffer[length] = '\0';
    return length;
}
