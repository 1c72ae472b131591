#include "tests/ui/UiTestSupport.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "framework/ClassResources.h"
#include "gen/SmfBuilder.h"

// ---- Files --------------------------------------------------------------------

TempFolder::TempFolder()
{
    char base[MAX_PATH] = "";
    GetTempPathA(sizeof base, base);
    static int serial = 0;
    char name[64];
    std::snprintf(name, sizeof name, "morvek-ui-%lu-%d\\", GetCurrentProcessId(), ++serial);
    m_path = std::string(base) + name;
    CreateDirectoryA(m_path.c_str(), nullptr);
}

TempFolder::~TempFolder()
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((m_path + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                std::string file = m_path + found.cFileName;
                SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(file.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(m_path.c_str());
}

std::string TempFolder::PathOf(const std::string& name) const
{
    return m_path + name;
}

std::string TempFolder::Write(const std::string& name, const std::string& bytes) const
{
    std::string path = PathOf(name);
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string TempFolder::Write(const std::string& name, const std::vector<unsigned char>& bytes) const
{
    return Write(name, std::string(bytes.begin(), bytes.end()));
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    if (!in)
        return "<missing>";
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool FileIsThere(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<unsigned char> ThreeListSong(int timeBase, int format)
{
    const uint32_t quarter = static_cast<uint32_t>(timeBase);
    SmfBuilder smf(format, timeBase);
    int tempo = smf.AddTrack();
    smf.Tempo(tempo, 0, 500000);
    smf.EndOfTrack(tempo);

    // Track 1, channel 0: C, E quarter notes, G half note.
    int melody = smf.AddTrack();
    smf.NoteOn(melody, 0, 0, 60, 100);
    smf.NoteOff(melody, quarter, 0, 60);
    smf.NoteOn(melody, 0, 0, 64, 100);
    smf.NoteOff(melody, quarter, 0, 64);
    smf.NoteOn(melody, 0, 0, 67, 100);
    smf.NoteOff(melody, 2 * quarter, 0, 67);
    smf.EndOfTrack(melody);

    // Track 2: a bass line on channel 1 (eight quarter notes' worth, after
    // a quarter rest) and a drum on channel 9.
    int second = smf.AddTrack();
    smf.NoteOn(second, quarter, 1, 36, 90);
    smf.NoteOn(second, 0, 9, 38, 90);
    smf.NoteOff(second, quarter / 2, 9, 38);
    smf.NoteOff(second, 3 * quarter / 2, 1, 36);
    smf.NoteOn(second, 0, 1, 43, 90);
    smf.NoteOff(second, 5 * quarter, 1, 43);
    smf.EndOfTrack(second);
    std::vector<uint8_t> bytes = smf.Build();
    return std::vector<unsigned char>(bytes.begin(), bytes.end());
}

std::vector<unsigned char> SongWithoutNotes(int timeBase)
{
    SmfBuilder smf(0, timeBase);
    int track = smf.AddTrack();
    smf.Tempo(track, 0, 500000);
    smf.TrackName(track, 0, "silence");
    smf.EndOfTrack(track, static_cast<uint32_t>(4 * timeBase));
    std::vector<uint8_t> bytes = smf.Build();
    return std::vector<unsigned char>(bytes.begin(), bytes.end());
}

std::string ProgramString(int id)
{
    char text[256] = "";
    int length = LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(id), text, sizeof text);
    return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
}

std::string ControlText(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    int length = GetWindowTextLengthA(control);
    std::vector<char> text(static_cast<size_t>(length > 0 ? length : 0) + 1);
    GetWindowTextA(control, text.data(), static_cast<int>(text.size()));
    return std::string(text.data());
}

// ---- TestMainWindow -----------------------------------------------------------

namespace {

// The filter list up to and including its double NUL.
std::string FilterBytes(const char* filter)
{
    if (filter == nullptr)
        return std::string();
    const char* p = filter;
    while (p[0] != '\0' || p[1] != '\0')
        ++p;
    return std::string(filter, static_cast<size_t>(p - filter) + 2);
}

DialogCall Record(const OPENFILENAMEA& dialog)
{
    DialogCall call;
    call.structSize = dialog.lStructSize;
    call.owner = dialog.hwndOwner;
    call.filter = FilterBytes(dialog.lpstrFilter);
    call.filterIndex = dialog.nFilterIndex;
    call.proposal = dialog.lpstrFile != nullptr ? dialog.lpstrFile : "";
    call.bufferSize = dialog.nMaxFile;
    call.flags = dialog.Flags;
    call.defaultExtension = dialog.lpstrDefExt != nullptr ? dialog.lpstrDefExt : "";
    return call;
}

BOOL Answer(std::deque<std::string>& answers, OPENFILENAMEA& dialog)
{
    if (answers.empty())
        return FALSE;
    std::string path = answers.front();
    answers.pop_front();
    if (path.empty() || path.size() >= dialog.nMaxFile)
        return FALSE;
    std::memcpy(dialog.lpstrFile, path.c_str(), path.size() + 1);
    return TRUE;
}

} // namespace

TestMainWindow::TestMainWindow(UiProbe* probe)
    : m_probe(probe)
{
}

TestMainWindow::~TestMainWindow()
{
    ++m_probe->deleted;
}

int TestMainWindow::ShowMessage(HWND owner, const char* text, const char* caption, UINT flags)
{
    m_probe->messages.push_back(ShownMessage{owner, text != nullptr ? text : "", caption != nullptr ? caption : "", flags});
    if (m_probe->realMessageBoxes)
        return MainWindow::ShowMessage(owner, text, caption, flags);
    if (m_probe->messageAnswers.empty())
        return IDOK;
    int answer = m_probe->messageAnswers.front();
    m_probe->messageAnswers.pop_front();
    return answer;
}

BOOL TestMainWindow::RunOpenDialog(OPENFILENAMEA& dialog)
{
    m_probe->openCalls.push_back(Record(dialog));
    if (m_probe->realFileDialogs)
        return MainWindow::RunOpenDialog(dialog);
    return Answer(m_probe->openAnswers, dialog);
}

BOOL TestMainWindow::RunSaveDialog(OPENFILENAMEA& dialog)
{
    m_probe->saveCalls.push_back(Record(dialog));
    if (m_probe->realFileDialogs)
        return MainWindow::RunSaveDialog(dialog);
    return Answer(m_probe->saveAnswers, dialog);
}

BOOL TestMainWindow::OpenHelp(HWND hwnd)
{
    ++m_probe->helpCalls;
    m_probe->helpPath = GetHelpPath() != nullptr ? GetHelpPath() : "(null)";
    return m_probe->helpChoice ? MainWindow::OpenHelp(hwnd) : TRUE;
}

BOOL TestMainWindow::RunWinHelp(HWND, const char* path)
{
    m_probe->helpShown.push_back(std::string("WinHelp ") + path);
    return m_probe->winHelpResult;
}

BOOL TestMainWindow::OpenDocument(HWND, const char* path)
{
    m_probe->helpShown.push_back(std::string("open ") + path);
    return m_probe->documentResult;
}

int TestMainWindow::ShowAbout(HWND)
{
    ++m_probe->aboutCalls;
    return 0;
}

DiskFile* TestMainWindow::CreateDiskFile()
{
    if (m_probe->diskFileFactory)
        return m_probe->diskFileFactory();
    return MainWindow::CreateDiskFile();
}

int TestMainWindow::RunConversion(const ConvertSettings& settings, const std::vector<int>& assignment,
                                  ConversionResult& conversion)
{
    if (m_probe->conversionResults.empty())
        return MainWindow::RunConversion(settings, assignment, conversion);
    int result = m_probe->conversionResults.front();
    m_probe->conversionResults.pop_front();
    return result;
}

LRESULT TestMainWindow::OnCommand(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    // Commands of menus, keys and buttons; not the notifications of fields.
    if (lParam == 0 || HIWORD(wParam) == BN_CLICKED)
        m_probe->commands.push_back(LOWORD(wParam));
    return MainWindow::OnCommand(hwnd, wParam, lParam);
}

// ---- TestApp and AppWindow ----------------------------------------------------

TestApp::TestApp(UiProbe* probe)
    : m_probe(probe)
{
}

TestApp::~TestApp()
{
}

MsgHandler* TestApp::CreateHandler(ClassResources* resources, ActiveTarget* target)
{
    TestMainWindow* handler = new TestMainWindow(m_probe);
    handler->AttachApp(resources, target);
    return handler;
}

AppWindow::AppWindow(int showCommand, int quitOnDestroy)
    : m_app(new TestApp(&m_probe)), m_hwnd(nullptr)
{
    if (m_app->Init(GetModuleHandleA(nullptr), &m_target) == WinApp::kInitReady)
        m_hwnd = m_app->CreateWindowAndHandler(showCommand, 0, 0, quitOnDestroy, nullptr);
}

AppWindow::~AppWindow()
{
    std::string className = m_app->GetClassName() != nullptr ? m_app->GetClassName() : "";
    m_app.reset();
    // A quit message of a window that quit on its way out stays behind.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    if (!className.empty())
        UnregisterClassA(className.c_str(), GetModuleHandleA(nullptr));
}

HWND AppWindow::GetHandle() const
{
    return m_hwnd;
}

TestMainWindow* AppWindow::GetWindow() const
{
    if (m_hwnd == nullptr || !IsWindow(m_hwnd))
        return nullptr;
    int index = m_app->FindByWindow(m_hwnd);
    return index >= 0 ? dynamic_cast<TestMainWindow*>(m_app->GetObjectAt(index)) : nullptr;
}

TestApp& AppWindow::GetApp()
{
    return *m_app;
}

UiProbe& AppWindow::GetProbe()
{
    return m_probe;
}

ActiveTarget& AppWindow::GetTarget()
{
    return m_target;
}

void AppWindow::Command(WORD id)
{
    SendMessageA(m_hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

// ---- ModalScript --------------------------------------------------------------

namespace {

ModalScript* g_script = nullptr;

BOOL CALLBACK FindNewDialog(HWND hwnd, LPARAM lParam)
{
    HWND* found = reinterpret_cast<HWND*>(lParam);
    char className[16] = "";
    GetClassNameA(hwnd, className, sizeof className);
    if (lstrcmpA(className, "#32770") == 0 && IsWindowVisible(hwnd) && hwnd != found[1]) {
        found[0] = hwnd;
        return FALSE;
    }
    return TRUE;
}

struct StaticTexts {
    std::string text;
};

BOOL CALLBACK CollectStaticText(HWND hwnd, LPARAM lParam)
{
    char className[16] = "";
    GetClassNameA(hwnd, className, sizeof className);
    if (lstrcmpiA(className, "Static") != 0)
        return TRUE;
    int length = GetWindowTextLengthA(hwnd);
    if (length <= 0)
        return TRUE;
    std::vector<char> text(static_cast<size_t>(length) + 1);
    GetWindowTextA(hwnd, text.data(), length + 1);
    StaticTexts* texts = reinterpret_cast<StaticTexts*>(lParam);
    if (!texts->text.empty())
        texts->text += "|";
    texts->text += text.data();
    return TRUE;
}

void PressCommand(HWND dialog, int id)
{
    HWND button = GetDlgItem(dialog, id);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

} // namespace

ModalScript::ModalScript(std::vector<Step> steps, DWORD forceAfterMs)
    : m_steps(std::move(steps)), m_next(0), m_timer(0), m_current(nullptr), m_seenAt(0),
      m_forceAfterMs(forceAfterMs)
{
    g_script = this;
    m_timer = SetTimer(nullptr, 0, 50, OnTimer);
}

ModalScript::~ModalScript()
{
    if (m_timer != 0)
        KillTimer(nullptr, m_timer);
    g_script = nullptr;
}

int ModalScript::GetStepsRun() const
{
    return static_cast<int>(m_next);
}

const std::vector<std::string>& ModalScript::GetBoxTexts() const
{
    return m_boxTexts;
}

const std::vector<std::string>& ModalScript::GetBoxCaptions() const
{
    return m_boxCaptions;
}

void CALLBACK ModalScript::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_script != nullptr)
        g_script->Tick();
}

void ModalScript::Tick()
{
    // A box may open over another (a file dialog's own error message), and
    // the one below comes back into turn when it closes.
    HWND found[2] = {nullptr, m_current};
    EnumThreadWindows(GetCurrentThreadId(), FindNewDialog, reinterpret_cast<LPARAM>(found));
    if (found[0] == nullptr) {
        if (m_current != nullptr && IsWindow(m_current) && IsWindowVisible(m_current) &&
            GetTickCount() - m_seenAt > m_forceAfterMs) {
            PressCommand(m_current, IDCANCEL);
            m_seenAt = GetTickCount();
        }
        return;
    }
    m_current = found[0];
    m_seenAt = GetTickCount();
    StaticTexts texts;
    EnumChildWindows(m_current, CollectStaticText, reinterpret_cast<LPARAM>(&texts));
    m_boxTexts.push_back(texts.text);
    char caption[256] = "";
    GetWindowTextA(m_current, caption, sizeof caption);
    m_boxCaptions.push_back(caption);
    if (m_next < m_steps.size())
        m_steps[m_next++](m_current);
    else
        PressCommand(m_current, IDCANCEL);
}

ModalScript::Step ChooseFile(const std::string& path)
{
    return [path](HWND dialog) {
        // The name box: a combo box (cmb13) on Windows, an edit (edt1) elsewhere.
        HWND box = GetDlgItem(dialog, 0x47C);
        if (box == nullptr)
            box = GetDlgItem(dialog, 0x480);
        SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        PressCommand(dialog, IDOK);
    };
}

ModalScript::Step PressButton(int id)
{
    return [id](HWND dialog) { PressCommand(dialog, id); };
}
