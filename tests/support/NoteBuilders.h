#pragma once
#include <string>
#include <vector>

#include "notes/Note.h"
#include "notes/NoteRecord.h"

namespace quillet::test {

// A note with every field set to something other than its default.
CNote FullNote(const std::string& text = "Shopping\r\nmilk");

// A data file of the given version with the given records, each already in
// that version's size.
std::vector<unsigned char> MakeFile(uint16_t version, int16_t count, const std::vector<std::vector<unsigned char>>& records);

// The version-10 record cut down to an older version's layout.
std::vector<unsigned char> RecordOfVersion(const CNote& note, uint16_t version);

}  // namespace quillet::test
