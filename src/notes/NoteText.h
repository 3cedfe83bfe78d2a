#pragma once
// Rules for text that comes into a note from the clipboard or goes out to it.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>
#include "app/Ids.h"

namespace quillet {

inline constexpr std::size_t kMaxEditText = 2046;

std::string StripOuterNewlines(std::string_view s);
std::string StripTrailingNewlines(std::string_view s);

// Appends clipboard text to existing text. When the result would not fit a
// note, askTooLarge is asked (message Str::ClipboardTextTooLarge): false abandons the paste, true
// keeps the first 2044 - existing bytes of the clipboard text.
std::optional<std::string> BuildPasteText(const std::string& existing, std::string_view clipboard,
                                          const std::function<bool()>& askTooLarge);

// Cuts a text of 2048 bytes or more to 2046 and drops a trailing line break.
std::string CapNoteText(std::string text);

// Texts of several notes for the clipboard, separated by a line, "SepCopy".
std::string JoinForCopy(const std::vector<std::string>& texts, const std::string& separator);

// The smallest box of the ratio fw : fh in which the text fits:
// heightAt(width) is the wrapped text's height at that width.
int FormatBoxWidth(int fw, int fh, const std::function<int(int width)>& heightAt, int maxWidth = 100000);

}  // namespace quillet
