#ifndef MORVEK_UI_PREVIEWCOMMANDS_H
#define MORVEK_UI_PREVIEWCOMMANDS_H

#include <windows.h>

#include <memory>
#include <string>

#include "ui/PreviewPlayer.h"

class MidiFile;
class ProgramPreview;
class WindowServices;

// The Preview menu of the main window: the source box's text as it is now,
// edits included, at the loaded file's time base and first tempo (480 ticks
// and the default tempo without a file), played in the background, stopped,
// or saved as a WAV file. While a preview plays the command state has
// kCanStop, and the window's timer kPreviewTimer ends it when its sound
// has run out.
class PreviewCommands {
public:
    enum { kPreviewTimer = 1 };

// Construction
    explicit PreviewCommands(WindowServices& window);
    // Silent before anything else goes.
    virtual ~PreviewCommands();
    PreviewCommands(const PreviewCommands&) = delete;
    PreviewCommands& operator=(const PreviewCommands&) = delete;

// Attributes
    // The player of the previews, owned. Returns the one it replaces (after
    // stopping it).
    virtual std::unique_ptr<PreviewPlayer> SetPlayer(std::unique_ptr<PreviewPlayer> player);
    virtual PreviewPlayer& GetPlayer();

// Commands; each returns WindowServices::kCompleted or kStopped.
    virtual LRESULT Play(HWND hwnd, const std::string& text, const MidiFile* file);
    virtual LRESULT SaveAsWav(HWND hwnd, const std::string& text, const MidiFile* file,
                              const char* midiPath);
    // Stops the preview, if one plays, and takes kCanStop away.
    virtual void Stop(HWND hwnd);

private:
    // text read back into preview, and with image its WAV image; false
    // after telling the user why there is none.
    virtual bool MakePreview(HWND hwnd, const std::string& text, const MidiFile* file, ProgramPreview& preview,
                             std::string* image);

    WindowServices& m_window;
    std::unique_ptr<PreviewPlayer> m_player;
};

#endif
