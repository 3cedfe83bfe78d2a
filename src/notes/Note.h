#pragma once
// One note's data. The window that shows it lives in the UI layer and
// reads and writes these fields.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/DateTime.h"

namespace quillet {

using ColorRef = uint32_t;  // 0x00BBGGRR
inline constexpr ColorRef kColorAutomatic = 0xFF000000u;

// Field widths of the note record, including the terminating NUL.
inline constexpr std::size_t kTextField = 2048;
inline constexpr std::size_t kPathField = 256;
inline constexpr std::size_t kNameField = 64;

// The platform's 60-byte ANSI font description, kept byte for byte.
struct LogFont {
  int32_t height = 0, width = 0, escapement = 0, orientation = 0, weight = 0;
  uint8_t italic = 0, underline = 0, strikeOut = 0, charSet = 0;
  uint8_t outPrecision = 0, clipPrecision = 0, quality = 0, pitchAndFamily = 0;
  std::array<char, 32> faceName{};

  static constexpr std::size_t kSize = 60;
  void Write(unsigned char* out) const;
  static LogFont Read(const unsigned char* in);
  std::array<unsigned char, kSize> Bytes() const;

  std::string FaceName() const;  // decoded, up to the NUL
  void SetFaceName(std::string_view utf8Name);

  // Arial, 10 points at 96 dpi, normal weight, default character set,
  // variable pitch, Swiss family.
  static LogFont Default();

  bool operator==(const LogFont& o) const { return Bytes() == o.Bytes(); }
};

struct NoteRect {
  int32_t left = 0, top = 0, width = 0, height = 0;
  bool operator==(const NoteRect&) const = default;
};

enum NoteFlags : uint32_t {
  kFlagSelected = 0x10,
  kFlagOnTop = 0x20,
  kFlagDeskColor = 0x40,
};

enum class AlarmTypeCode : uint16_t { Keep = 0, Delete = 1, Minutes = 2, Hours, Days, Weeks, Months, Years, Weekdays = 8 };

// The alarm action that starts the note's program.
inline constexpr uint16_t kAlarmRunsProgram = 2;

class CNote {
 public:
  int32_t Index = -1;
  uint32_t Flags = 0;
  DateTime AlarmTime;
  DateTime AlarmScheduled;
  uint16_t AlarmType = 0;
  int16_t AlarmEvery = 0;
  uint16_t AlarmAction = 0;  // 0 a message, 1 flash the note, kAlarmRunsProgram
  uint16_t AlarmSignal = 0;
  DateTime HideUntil;
  uint16_t HideMode = 0;
  DateTime Modified;
  LogFont Font = LogFont::Default();
  ColorRef ColorText = kColorAutomatic;
  ColorRef ColorBack = 0x0099FFFF;
  ColorRef ColorBorder = kColorAutomatic;
  uint16_t Align = 0;
  int32_t Transparency = 255;
  DateTime ReceivedOn;
  NoteRect Rect;

  // Bounded strings: setters hold them to their record widths.
  const std::string& Text() const { return m_text; }
  const std::string& AlarmExec() const { return m_alarmExec; }
  const std::string& AlarmWave() const { return m_alarmWave; }
  const std::string& ReceivedFrom() const { return m_receivedFrom; }
  const std::string& Folder() const { return m_folder; }
  void SetText(std::string_view text);
  void SetAlarmExec(std::string_view s);
  void SetAlarmWave(std::string_view s);
  void SetReceivedFrom(std::string_view s);
  void SetFolder(std::string_view s);

  bool OnTop() const { return Flags & kFlagOnTop; }
  bool DeskColor() const { return Flags & kFlagDeskColor; }
  void SetFlag(uint32_t flag, bool on) { Flags = on ? (Flags | flag) : (Flags & ~flag); }

  // The first line of the text (up to the first CR).
  std::string FirstLine() const;

 private:
  std::string m_text, m_alarmExec, m_alarmWave, m_receivedFrom, m_folder;
};

// A string cut at its first NUL and held to the width of a record field.
std::string BoundedField(std::string_view s, std::size_t fieldWidth);
// Whether a fixed-width field holds the whole text in one of its encodings.
bool FitsField(std::string_view s, std::size_t fieldWidth);
// The bytes a fixed-width field holds for a text: UTF-8, or Windows-1252
// where only that fits (the readers take both).
std::string FieldBytesOf(std::string_view s, std::size_t fieldWidth);

}  // namespace quillet
