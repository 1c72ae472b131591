// The player of the window's previews: what it hands PlaySoundA and when,
// with the platform calls recorded, and once with the real ones.
#include "ui/PreviewPlayer.h"

#include <gtest/gtest.h>

#include <mmsystem.h>

#include <string>
#include <vector>

#include "preview/ProgramPreview.h"

namespace {

// One call of PlaySoundA: the image it was given ("" to stop) and the flags.
struct SoundCall {
    std::string image;
    DWORD flags;
    bool operator==(const SoundCall& other) const { return image == other.image && flags == other.flags; }
};

void PrintTo(const SoundCall& call, std::ostream* os)
{
    *os << (call.image.empty() ? "stop" : "play " + std::to_string(call.image.size()) + " bytes")
        << " flags " << call.flags;
}

const DWORD kPlayFlags = SND_ASYNC | SND_MEMORY | SND_NODEFAULT;

class RecordingPlayer : public PreviewPlayer {
public:
    RecordingPlayer(UINT devices, BOOL accepts, std::vector<SoundCall>* calls)
        : m_devices(devices), m_accepts(accepts), m_calls(calls)
    {
    }
    ~RecordingPlayer() override { Stop(); }

    UINT GetDeviceCount() override { return m_devices; }
    BOOL PlaySoundImage(const char* sound, DWORD flags) override
    {
        // The sound must be the image the player holds, which outlives the call.
        if (sound != nullptr) {
            EXPECT_EQ(GetImage().data(), sound);
        }
        m_calls->push_back({ sound != nullptr ? GetImage() : std::string(), flags });
        return sound != nullptr ? m_accepts : TRUE;
    }

private:
    UINT m_devices;
    BOOL m_accepts;
    std::vector<SoundCall>* m_calls;
};

std::string Wav(const char* mml)
{
    const std::string text = std::string("1100 PLAY \"") + mml + "\"\r\n";
    ProgramPreview preview;
    std::string image;
    EXPECT_EQ(ProgramPreview::kPreviewOk, preview.Make(text.data(), text.size(), 480, image));
    return image;
}

TEST(PreviewPlayerTest, HoldsTheImageFromPlayUntilStop)
{
    std::vector<SoundCall> calls;
    RecordingPlayer player(1, TRUE, &calls);
    const std::string a = Wav("a8");
    std::string given = a;
    EXPECT_EQ(PreviewPlayer::kPlayOk, player.Play(given));
    EXPECT_EQ("", given);
    EXPECT_TRUE(player.IsPlaying());
    EXPECT_EQ(a, player.GetImage());
    player.Stop();
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_EQ("", player.GetImage());
    player.Stop();                                   // nothing plays: no call
    EXPECT_EQ(std::vector<SoundCall>({ { a, kPlayFlags }, { "", 0 } }), calls);
}

TEST(PreviewPlayerTest, NewPlayStopsTheSoundBeforeItsImageGoes)
{
    std::vector<SoundCall> calls;
    {
        RecordingPlayer player(2, TRUE, &calls);
        const std::string a = Wav("a8"), b = Wav("b8");
        std::string given = a;
        ASSERT_EQ(PreviewPlayer::kPlayOk, player.Play(given));
        given = b;
        ASSERT_EQ(PreviewPlayer::kPlayOk, player.Play(given));
        EXPECT_EQ(b, player.GetImage());
        EXPECT_EQ(std::vector<SoundCall>({ { a, kPlayFlags }, { "", 0 }, { b, kPlayFlags } }), calls);
    }
    // Going, the player silences what it holds.
    ASSERT_EQ(4u, calls.size());
    EXPECT_EQ((SoundCall{ "", 0 }), calls.back());
}

TEST(PreviewPlayerTest, WithoutADeviceOrWhenRefusedNothingIsHeld)
{
    struct Case {
        UINT devices;
        BOOL accepts;
        int expected;
        size_t calls;
    } cases[] = {
        { 0, TRUE, PreviewPlayer::kPlayNoDevice, 0 },
        { 1, FALSE, PreviewPlayer::kPlayFailed, 1 },
    };
    for (const Case& c : cases) {
        std::vector<SoundCall> calls;
        RecordingPlayer player(c.devices, c.accepts, &calls);
        std::string given = Wav("c");
        EXPECT_EQ(c.expected, player.Play(given));
        EXPECT_EQ("", given);
        EXPECT_FALSE(player.IsPlaying());
        player.Stop();
        EXPECT_EQ(c.calls, calls.size());
    }
}

TEST(PreviewPlayerTest, RealSoundPlaysOrSaysThereIsNoDevice)
{
    // Under Wine without a sound driver there is no wave output at all.
    PreviewPlayer player;
    std::string given = Wav("l16cdef");
    const int result = player.Play(given);
    if (waveOutGetNumDevs() == 0) {
        EXPECT_EQ(PreviewPlayer::kPlayNoDevice, result);
        EXPECT_FALSE(player.IsPlaying());
    } else {
        EXPECT_NE(PreviewPlayer::kPlayNoDevice, result);
        EXPECT_EQ(result == PreviewPlayer::kPlayOk, player.IsPlaying());
    }
    player.Stop();
    EXPECT_FALSE(player.IsPlaying());
}

}  // namespace
