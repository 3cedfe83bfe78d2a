#include "alarm/Chime.h"

#include <cmath>
#include <cstdint>
#include <numbers>

namespace quillet {

namespace {
void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v & 0xFF));
  out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
}  // namespace

std::vector<uint8_t> ChimeWave() {
  constexpr uint32_t kRate = 22050;
  constexpr double kNoteSeconds = 0.18;
  constexpr double kNotes[] = {880.0, 1318.5};  // A5, then E6
  const auto perNote = static_cast<uint32_t>(kRate * kNoteSeconds);
  const uint32_t samples = perNote * 2;
  std::vector<uint8_t> out;
  out.reserve(44 + samples * 2);
  out.insert(out.end(), {'R', 'I', 'F', 'F'});
  Put32(out, 36 + samples * 2);
  out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, 1);  // mono
  Put32(out, kRate);
  Put32(out, kRate * 2);
  Put16(out, 2);
  Put16(out, 16);
  out.insert(out.end(), {'d', 'a', 't', 'a'});
  Put32(out, samples * 2);
  for (uint32_t i = 0; i < samples; ++i) {
    const uint32_t k = i / perNote;
    const double t = static_cast<double>(i % perNote) / kRate;
    // A quick attack and a bell-like decay, so no note starts or ends with a click.
    const double attack = std::min(1.0, t / 0.005);
    const double envelope = attack * std::exp(-t * 14.0) * (1.0 - static_cast<double>(i % perNote) / perNote);
    const double v = 0.6 * envelope * std::sin(2.0 * std::numbers::pi * kNotes[k] * t);
    Put16(out, static_cast<uint16_t>(static_cast<int16_t>(std::lround(v * INT16_MAX))));
  }
  return out;
}

}  // namespace quillet
