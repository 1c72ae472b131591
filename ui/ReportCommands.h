#ifndef MORVEK_UI_REPORTCOMMANDS_H
#define MORVEK_UI_REPORTCOMMANDS_H

#include <windows.h>

#include <string>
#include <vector>

#include "engine/ConversionResult.h"

class ConversionReport;
class MidiFile;
class WindowServices;

// The conversion report of the main window (F7): the report of the last
// conversion (its file, result and program) in the report dialog. From
// its first use on, every conversion also puts a short notice in the
// caption when the report of the new program has warnings; until then
// nothing else changes.
class ReportCommands {
public:
// Construction
    explicit ReportCommands(WindowServices& window);
    virtual ~ReportCommands();
    ReportCommands(const ReportCommands&) = delete;
    ReportCommands& operator=(const ReportCommands&) = delete;

// Attributes
    virtual bool IsReportOn() const;
    // The last conversion; its lists are the ones the window shows until
    // the lists are made again.
    virtual const ConversionResult& GetLastConversion() const;

// Operations
    // A conversion succeeded: its result is kept for its report, and once
    // the report is on the caption's notice follows it.
    virtual void Converted(const MidiFile* file, ConversionResult&& result, const std::string& program,
                           const char* midiPath);
    // The file is gone or loaded again: no conversion to report.
    virtual void Forget();
    // The report command. kCompleted, or kStopped after telling the user.
    virtual LRESULT Show(HWND hwnd, const MidiFile* file, const std::string& program, const char* midiPath);

private:
    // Computes the report of the last conversion. 0, or 1 when memory ran out.
    virtual int MakeReport(const MidiFile* file, const std::string& program, ConversionReport& report);
    // The caption of the loaded file, with the notice when warnings > 0.
    virtual void ShowNotice(int warnings, const char* midiPath);

    WindowServices& m_window;
    ConversionResult m_last;    // the last conversion, for its report
    bool m_reportOn;            // the report command was used
};

#endif
