#ifndef MORVEK_UI_PREVIEWPLAYER_H
#define MORVEK_UI_PREVIEWPLAYER_H

#include <windows.h>

#include <string>

// Plays a preview's WAV image in the background with PlaySoundA
// (SND_ASYNC | SND_MEMORY). The sound reads the image while it plays, so the
// player owns it from Play until Stop, the next Play or its own end, and
// stops the sound before it lets the image go.
//
// How to use:
//   1. player.Play(image) takes the image over (image is left empty);
//      kPlayNoDevice when the system has no wave output at all.
//   2. player.Stop() silences it and frees the image.
class PreviewPlayer {
public:
    enum {
        kPlayOk = 0,
        kPlayNoDevice = 1,                           // no wave output device
        kPlayFailed = 2                              // PlaySoundA refused the image
    };

// Construction
    PreviewPlayer();
    // Stops the sound, then frees the image.
    virtual ~PreviewPlayer();
    PreviewPlayer(const PreviewPlayer&) = delete;
    PreviewPlayer& operator=(const PreviewPlayer&) = delete;

// Operations
    // Stops what plays, takes image over and starts it. On failure nothing
    // plays and the image is freed.
    virtual int Play(std::string& image);
    // Stops the sound and frees the image; nothing when nothing plays.
    virtual void Stop();

// Attributes
    // True from a successful Play until Stop: the image is held.
    virtual bool IsPlaying() const;
    virtual const std::string& GetImage() const;

// Platform calls, one operation each
    // waveOutGetNumDevs.
    virtual UINT GetDeviceCount();
    // PlaySoundA(sound, nullptr, flags).
    virtual BOOL PlaySoundImage(const char* sound, DWORD flags);

private:
    std::string m_image;                             // owned while the sound may read it
};

#endif
