#pragma once
// The fixed-size note record of the data file, the clipboard and exported
// note files, in all the versions the program has written.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "notes/Note.h"

namespace quillet {

inline constexpr uint16_t kCurrentVersion = 10;
inline constexpr std::size_t kRecordSize = 2864;
inline constexpr std::size_t kHeaderSize = 12;
inline constexpr int kMaxNotes = 32767;  // the header counts in 16 signed bits

using NoteRecordBytes = std::array<unsigned char, kRecordSize>;

// Size of a record of the given version, 0 for a version the program never wrote.
std::size_t RecordSizeOf(uint16_t version);

// Version-3 records carry no sound: it comes from the "AlarmSignal" and
// "AlarmWave" settings.
struct V3SoundDefaults {
  uint16_t signal = 0;
  std::string wave;
  static V3SoundDefaults FromSettings(int alarmSignal, const std::string& alarmWave);
};

// desktopColor is the colour stored as the background while the note
// follows the desktop colour.
NoteRecordBytes NoteToRecord(const CNote& note, ColorRef desktopColor);

// Reads a record of the given version (the buffer holds RecordSizeOf(version)
// bytes). Fields the version lacks keep the new-note defaults.
CNote RecordToNote(const unsigned char* record, uint16_t version, const V3SoundDefaults& v3 = {});

std::array<unsigned char, kHeaderSize> MakeHeader(uint16_t count);

}  // namespace quillet
