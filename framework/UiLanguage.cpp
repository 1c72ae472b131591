#include "framework/UiLanguage.h"

#include <cstring>

namespace {

const UINT kJapaneseCodePage = 932;

// SetThreadUILanguage exists from Windows Vista on; looked up at run time so
// that the program still starts where it is missing.
typedef LANGID(WINAPI* SetThreadUILanguageProc)(LANGID);

void SetUiLanguageWherePresent(LANGID language)
{
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    FARPROC address = kernel != nullptr ? GetProcAddress(kernel, "SetThreadUILanguage") : nullptr;
    if (address == nullptr)
        return;
    SetThreadUILanguageProc setLanguage;
    static_assert(sizeof setLanguage == sizeof address, "function pointers of one size");
    std::memcpy(&setLanguage, &address, sizeof setLanguage);
    setLanguage(language);
}

} // namespace

UiLanguage::UiLanguage()
{
}

UiLanguage::~UiLanguage()
{
}

LANGID UiLanguage::ChooseLanguage(UINT codePage) const
{
    if (codePage == kJapaneseCodePage)
        return MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
    return MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
}

LANGID UiLanguage::SetThreadLanguage(LANGID language)
{
    LANGID old = GetThreadLanguage();
    // Both, and both explicitly: a Windows whose own language is English but
    // whose code page is 932 must still get the Japanese texts.
    SetUiLanguageWherePresent(language);
    SetThreadLocale(MAKELCID(language, SORT_DEFAULT));
    return old;
}

LANGID UiLanguage::GetThreadLanguage() const
{
    return LANGIDFROMLCID(GetThreadLocale());
}
