#include "analysis/Sound.h"

#include <utility>

namespace sound {

namespace {
SoundPlayer* currentPlayer = nullptr;
}

SoundPlayer* SetSoundPlayer(SoundPlayer* player) { return std::exchange(currentPlayer, player); }

SoundPlayer* CurrentSoundPlayer() { return currentPlayer; }

void PlaySoundFile(const std::string& path) {
    if (currentPlayer != nullptr) {
        currentPlayer->PlayFile(path);
    }
}

}  // namespace sound
