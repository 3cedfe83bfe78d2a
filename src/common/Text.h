#pragma once
// Text as it is kept in files and on the wire: bytes of the local code page,
// which is UTF-8 here. Files written on Windows carry Windows-1252 bytes.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quillet {

bool IsValidUtf8(std::string_view bytes);

// Windows-1252 bytes to UTF-8.
std::string Cp1252ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1252; nothing when a character has no place there.
std::optional<std::string> Utf8ToCp1252(std::string_view utf8);

// Bytes read from a file or a peer: kept when they are UTF-8, otherwise
// taken as Windows-1252.
std::string DecodeLocalText(std::string_view bytes);

// Bytes that a limit may have cut: a last character left incomplete by the
// cut is dropped, so that only bytes that were not UTF-8 before the cut are
// read as Windows-1252.
// wasCut says the bytes reached the limit and more were dropped or never written.
std::string DecodeCutText(std::string_view bytes, bool wasCut);

// Text entering from outside (clipboard, network): line feeds and lone
// carriage returns become CR LF, the line end of a note.
std::string ToCrLf(std::string_view text);
// Text leaving to other programs on this system: CR LF becomes LF.
std::string ToLf(std::string_view text);

// Cuts a UTF-8 string to at most maxBytes bytes without splitting a
// character.
std::string HoldToWidth(std::string_view text, std::size_t maxBytes);

// The bytes of a fixed-width NUL-terminated field, up to the first NUL or
// the field's end, whichever comes first.
std::string_view FieldBytes(const unsigned char* field, std::size_t width);

// Case-insensitive comparison of ASCII letters, as paths and names are compared.
bool EqualsNoCase(std::string_view a, std::string_view b);

std::string Trim(std::string_view s);

}  // namespace quillet
