// The desktop's event sounds (freedesktop sound names such as "window-minimized"), played
// without waiting; silence where the desktop has no sound player.
#pragma once

#include <functional>
#include <string>

namespace nimbalo {

void PlayEventSound(const std::string& soundName);

// Replaces the player (nullptr restores the desktop's). For tests.
void SetEventSoundPlayer(std::function<void(const std::string&)> player);

}  // namespace nimbalo
