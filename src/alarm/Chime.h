#pragma once
// The program's own alarm sound: many desktops do not sound the X bell.
#include <cstdint>
#include <vector>

namespace quillet {

// A short two-note chime as a complete WAV file: 16-bit mono PCM at 22,050 Hz.
std::vector<uint8_t> ChimeWave();

}  // namespace quillet
