#include "ui/ReportCommands.h"

#include "engine/ConversionReport.h"

#include <utility>

#include "resources/ResourceIds.h"
#include "text/Texts.h"
#include "ui/AnsiText.h"
#include "ui/ReportDialogHost.h"
#include "ui/WindowServices.h"
#include "ui/WindowTextTable.h"

ReportCommands::ReportCommands(WindowServices& window)
    : m_window(window), m_reportOn(false)
{
}

ReportCommands::~ReportCommands()
{
}

bool ReportCommands::IsReportOn() const
{
    return m_reportOn;
}

const ConversionResult& ReportCommands::GetLastConversion() const
{
    return m_last;
}

void ReportCommands::Forget()
{
    m_last.Clear();
}

void ReportCommands::Converted(const MidiFile* file, ConversionResult&& result, const std::string& program,
                               const char* midiPath)
{
    m_last = std::move(result);
    if (m_reportOn) {
        ConversionReport report;
        ShowNotice(MakeReport(file, program, report) == 0 ? report.GetWarningCount() : 0, midiPath);
    }
}

LRESULT ReportCommands::Show(HWND hwnd, const MidiFile* file, const std::string& program, const char* midiPath)
{
    if (file == nullptr)
        return WindowServices::kStopped;
    ConversionReport report;
    if (MakeReport(file, program, report) != 0) {
        m_window.ShowWarning(hwnd, m_window.LoadText(kStrReportNoMemory));
        return WindowServices::kStopped;
    }
    m_reportOn = true;
    ShowNotice(report.GetWarningCount(), midiPath);
    ReportDialogHost host;
    host.Show(m_window.GetInstance(), hwnd, report.Format(WindowTextTable(m_window.GetInstance())));
    return WindowServices::kCompleted;
}

int ReportCommands::MakeReport(const MidiFile* file, const std::string& program, ConversionReport& report)
{
    if (file == nullptr)
        return 1;
    return report.Compute(*file, m_last, program) == ConversionReport::kReportOk ? 0 : 1;
}

void ReportCommands::ShowNotice(int warnings, const char* midiPath)
{
    const std::string notice = warnings > 0 ? m_window.LoadText(kStrReportWarnings) : std::string();
    std::string caption = ComposeCaption(m_window.GetText(), midiPath,
                                         WindowServices::kTextSize - static_cast<int>(notice.size()));
    SetWindowTextA(m_window.GetHandle(), (caption + notice).c_str());
}
