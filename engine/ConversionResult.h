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
    // Back to an empty result: no conversion, no text, no lists.
    virtual void Clear();
    // Hands the program text over; the result keeps an empty text.
    virtual std::string TakeText();

// Attributes
    // A Converter::ConvertResult; kConvertOk = 0, also before any conversion.
    virtual int GetResult() const;
    // A conversion that succeeded: kConvertOk, with text and lists.
    virtual bool IsOk() const;
    virtual const ConvertStatus& GetStatus() const;
    // The whole program; empty on a refusal or once taken.
    virtual const std::string& GetText() const;
    // The lists, owned by the result: the parts' lists split and decomposed,
    // the others quantized. Null on a refusal.
    virtual NoteListSet* GetLists() const;
    virtual const ConvertSettings& GetSettings() const;
    // The entries the conversion used: as given, or part r playing list r
    // (Converter::ConvertInOrder).
    virtual const std::vector<int>& GetAssignment() const;
    // Per list ordinal; empty on a refusal.
    virtual const std::vector<ListCounts>& GetListCounts() const;
    // false when the lists no part plays were left uncounted
    // (Converter::SetCountUnplayedLists): their counts are 0.
    virtual bool IsEveryListCounted() const;
    // Ticks of one PLAY line's music; 0 on a refusal.
    virtual int GetSegmentTicks() const;
    // With the settings' line limit on: where each PLAY line's music ends
    // (see LineFitter), and the lines (0 for the first) wider than the limit
    // because one grid step does not fit it. Empty without a limit.
    virtual const std::vector<int>& GetLineEnds() const;
    virtual const std::vector<long long>& GetWideLines() const;

private:
    friend class Converter;

    ConvertStatus m_status;
    std::string m_text;
    std::unique_ptr<NoteListSet> m_lists;
    ConvertSettings m_settings;
    std::vector<int> m_assignment;
    std::vector<ListCounts> m_listCounts;
    int m_segmentTicks;
    bool m_everyListCounted;
    std::vector<int> m_lineEnds;
    std::vector<long long> m_wideLines;
};

#endif
