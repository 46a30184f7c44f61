// The sound seam on Windows: PlaySoundA with the file name alone, synchronous.
#include "analysis/Sound.h"

#include <windows.h>
#include <mmsystem.h>

namespace sound {

namespace {

class Win32SoundPlayer final : public SoundPlayer {
public:
    void PlayFile(const std::string& path) override {
        PlaySoundA(path.c_str(), nullptr, SND_FILENAME);
    }
};

}  // namespace

SoundPlayer& SystemSoundPlayer() {
    static Win32SoundPlayer player;
    return player;
}

}  // namespace sound
