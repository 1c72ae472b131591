#ifndef MORVEK_FRAMEWORK_UILANGUAGE_H
#define MORVEK_FRAMEWORK_UILANGUAGE_H

#include <windows.h>

// The language of the program's resources: Japanese where the ANSI code page
// is 932 and the Japanese texts can be shown, English everywhere else. The
// resource script holds both; the loader picks the thread's language for
// every dialog, menu and string the program loads without naming one.
//
// How to use (WinMain does this, before anything is loaded):
//   UiLanguage language;
//   language.SetThreadLanguage(language.ChooseLanguage(GetACP()));
class UiLanguage {
public:
// Construction
    UiLanguage();
    virtual ~UiLanguage();

// Operations
    // Japanese (0x0411) for code page 932, US English (0x0409) otherwise.
    virtual LANGID ChooseLanguage(UINT codePage) const;
    // Makes language the one this thread's resource lookups take first: the
    // UI language for Windows Vista and later, the thread locale for older
    // Windows and for Wine, whose loader reads only that. Returns the
    // language the lookups took before (from the thread locale).
    virtual LANGID SetThreadLanguage(LANGID language);
    virtual LANGID GetThreadLanguage() const;
};

#endif
