#include "ui/MainWindowCommands.h"

#include "resources/ResourceIds.h"
#include "settings/ConvertSettings.h"
#include "ui/MainWindow.h"

namespace {

typedef MainWindowCommand Command;

// An item of List > Voices.
constexpr Command VoicesItem(WORD id)
{
    return {id, &MainWindow::OnVoices, 0, Command::kRadioMark, &MainWindow::IsVoicesChosen, IDM_VOICES_1,
            IDM_VOICES_18};
}

// An item of List > Line Length.
constexpr Command LinesItem(WORD id)
{
    return {id, &MainWindow::OnLineLength, 0, Command::kRadioMark, &MainWindow::IsLineLengthChosen, IDM_LINES_OFF,
            IDM_LINES_120};
}

const Command kCommands[] = {
    {IDM_OPEN, &MainWindow::OnOpen, MainWindow::kCanOpen, Command::kNoMark, nullptr, 0, 0},
    {IDM_OPEN_LENIENTLY, &MainWindow::OnOpenLeniently, 0, Command::kCheckMark, &MainWindow::IsOpenLeniently, 0, 0},
    {IDM_CONVERT, &MainWindow::OnConvert, MainWindow::kCanConvert, Command::kNoMark, nullptr, 0, 0},
    {IDM_ADD, &MainWindow::OnAdd, MainWindow::kCanConvert, Command::kNoMark, nullptr, 0, 0},
    {IDM_REMOVE, &MainWindow::OnRemove, MainWindow::kCanConvert, Command::kNoMark, nullptr, 0, 0},
    {IDM_SAVE, &MainWindow::OnSave, MainWindow::kCanSave, Command::kNoMark, nullptr, 0, 0},
    {IDM_REPORT, &MainWindow::OnReport, MainWindow::kCanSave, Command::kNoMark, nullptr, 0, 0}, // a menu item only
    {IDM_PLAY, &MainWindow::OnPlay, MainWindow::kCanSave, Command::kNoMark, nullptr, 0, 0},
    {IDM_STOP, &MainWindow::OnStop, MainWindow::kCanStop, Command::kNoMark, nullptr, 0, 0},
    {IDM_SAVE_WAV, &MainWindow::OnSavePreview, MainWindow::kCanSave, Command::kNoMark, nullptr, 0, 0},
    VoicesItem(IDM_VOICES_1), VoicesItem(IDM_VOICES_2), VoicesItem(IDM_VOICES_3), VoicesItem(IDM_VOICES_4),
    VoicesItem(IDM_VOICES_6), VoicesItem(IDM_VOICES_8), VoicesItem(IDM_VOICES_12), VoicesItem(IDM_VOICES_18),
    LinesItem(IDM_LINES_OFF), LinesItem(IDM_LINES_255), LinesItem(IDM_LINES_250), LinesItem(IDM_LINES_240),
    LinesItem(IDM_LINES_200), LinesItem(IDM_LINES_160), LinesItem(IDM_LINES_120),
};

// The value each item of a choice submenu stands for.
struct Choice {
    WORD id;
    int value;
};

const Choice kVoiceChoices[] = {
    {IDM_VOICES_1, 1}, {IDM_VOICES_2, 2}, {IDM_VOICES_3, 3}, {IDM_VOICES_4, 4},
    {IDM_VOICES_6, 6}, {IDM_VOICES_8, 8}, {IDM_VOICES_12, 12}, {IDM_VOICES_18, 18},
};

const Choice kLineChoices[] = {
    {IDM_LINES_OFF, ConvertSettings::kLineLimitOff}, {IDM_LINES_255, 255}, {IDM_LINES_250, 250},
    {IDM_LINES_240, 240}, {IDM_LINES_200, 200}, {IDM_LINES_160, 160}, {IDM_LINES_120, 120},
};

template <size_t N>
int ValueOf(const Choice (&choices)[N], int id, int none)
{
    for (const Choice& choice : choices) {
        if (choice.id == id)
            return choice.value;
    }
    return none;
}

} // namespace

MainWindowCommand::Range MainWindowCommand::All()
{
    return {kCommands, kCommands + sizeof kCommands / sizeof kCommands[0]};
}

const MainWindowCommand* MainWindowCommand::Find(int id)
{
    for (const Command& command : kCommands) {
        if (command.id == id)
            return &command;
    }
    return nullptr;
}

int MainWindowCommand::VoicesOf(int id)
{
    return ValueOf(kVoiceChoices, id, 0);
}

int MainWindowCommand::LineLimitOf(int id)
{
    return ValueOf(kLineChoices, id, -1);
}
