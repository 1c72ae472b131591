#include "ui/PreviewPlayer.h"

#include <mmsystem.h>

PreviewPlayer::PreviewPlayer()
{
}

PreviewPlayer::~PreviewPlayer()
{
    Stop();
}

int PreviewPlayer::Play(std::string& image)
{
    Stop();
    std::string taken;
    taken.swap(image);
    if (GetDeviceCount() == 0)
        return kPlayNoDevice;
    m_image.swap(taken);
    if (!PlaySoundImage(m_image.data(), SND_ASYNC | SND_MEMORY | SND_NODEFAULT)) {
        std::string().swap(m_image);
        return kPlayFailed;
    }
    return kPlayOk;
}

void PreviewPlayer::Stop()
{
    if (m_image.empty())
        return;
    // Returns once the sound has stopped: only then may the image go.
    PlaySoundImage(nullptr, 0);
    std::string().swap(m_image);
}

bool PreviewPlayer::IsPlaying() const
{
    return !m_image.empty();
}

const std::string& PreviewPlayer::GetImage() const
{
    return m_image;
}

UINT PreviewPlayer::GetDeviceCount()
{
    return ::waveOutGetNumDevs();
}

BOOL PreviewPlayer::PlaySoundImage(const char* sound, DWORD flags)
{
    return ::PlaySoundA(sound, nullptr, flags);
}
