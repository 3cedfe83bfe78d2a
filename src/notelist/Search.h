#pragma once
// Finding notes by their text: case-insensitive unless asked, and as a whole
// word when asked, with punctuation of the note counting as a word break.
#include <string>
#include <string_view>

namespace quillet {

// Lower case for the letters of Latin, Greek and Cyrillic scripts.
std::string FoldCase(std::string_view utf8);

bool MatchesSearch(std::string_view text, std::string_view search, bool caseSensitive, bool wholeWord);

}  // namespace quillet
