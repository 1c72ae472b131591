#ifndef MORVEK_ENGINE_CONVERSIONRESULT_H
#define MORVEK_ENGINE_CONVERSIONRESULT_H

#include "engine/ConvertStatus.h"
#include "settings/ConvertSettings.h"

#include <memory>
#include <string>
#include <vector>

class NoteListSet;

// Everything one conversion gave: the program text, the note lists it was
// written from, the status with its detail, the settings and assignment it
// used, and what it counted on the way. The report, the preview and the
// page read it; nothing converts twice. Only Converter fills it.
class ConversionResult {
public:
    // Notes of one list, as the builder made it and after quantizing.
    struct ListCounts {
        long long built;
        long long quantized;
    };

// Construction
    ConversionResult();
    virtual ~ConversionResult();
    // It owns its lists: moved, never copied.
    ConversionResult(ConversionResult&& other) noexcept;
    ConversionResult& operator=(ConversionResult&& other) noexcept;
    ConversionResult(const ConversionResult&) = delete;
    ConversionResult& operator=(const ConversionResult&) = delete;

// Operations
    // Back to an empty result (kConvertOk without text or lists).
    virtual void Clear();
    // Hands the lists over: the caller frees them (Converter::FreeNoteListSet);
    // the result keeps none. Null when there are none.
    virtual NoteListSet* ReleaseLists();
    // Exchanges the program text with text; returns the length of the text
    // the caller now holds.
    virtual size_t SwapText(std::string& text);

// Attributes
    // A Converter::ConvertResult; kConvertOk = 0.
    virtual int GetResult() const;
    virtual bool IsOk() const;
    virtual const ConvertStatus& GetStatus() const;
    // The whole program; empty on a refusal.
    virtual const std::string& GetText() const;
    // The lists, owned by the result: the parts' lists split and decomposed,
    // the others quantized. Null on a refusal or once released.
    virtual NoteListSet* GetLists() const;
    virtual const ConvertSettings& GetSettings() const;
    // The entries the conversion used: as given, or part r playing list r
    // (Converter::ConvertInOrder).
    virtual const std::vector<int>& GetAssignment() const;
    // Per list ordinal; empty on a refusal.
    virtual const std::vector<ListCounts>& GetListCounts() const;
    // Ticks of one PLAY line's music; 0 on a refusal.
    virtual int GetSegmentTicks() const;

private:
    friend class Converter;

    ConvertStatus m_status;
    std::string m_text;
    std::unique_ptr<NoteListSet> m_lists;
    ConvertSettings m_settings;
    std::vector<int> m_assignment;
    std::vector<ListCounts> m_listCounts;
    int m_segmentTicks;
};

#endif
