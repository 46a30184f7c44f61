#include "analysis/Sound.h"

namespace sound {

namespace {
SoundPlayer* currentPlayer = nullptr;
}

void SetSoundPlayer(SoundPlayer* player) { currentPlayer = player; }

SoundPlayer* CurrentSoundPlayer() { return currentPlayer; }

void PlaySoundFile(const std::string& path) {
    if (currentPlayer != nullptr) {
        currentPlayer->PlayFile(path);
    }
}

}  // namespace sound
