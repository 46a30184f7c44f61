// The sound seam: plays a sound file, returning when the sound has finished.
#pragma once

#include <string>

namespace sound {

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Plays the file synchronously; a missing file plays the system's default sound.
    virtual void PlayFile(const std::string& path) = 0;
};

// The player in use; nullptr (the start) plays nothing. Returns the one it replaces.
SoundPlayer* SetSoundPlayer(SoundPlayer* player);
SoundPlayer* CurrentSoundPlayer();

// Plays the file through the player in use.
void PlaySoundFile(const std::string& path);

// Windows only (analysis/win32/Sound.cpp): the player built on PlaySoundA.
SoundPlayer& SystemSoundPlayer();

}  // namespace sound
