#pragma once
// Byte-level rules of Shift-JIS (code page 932) text.
#include <cstddef>
#include <string>
#include <string_view>

namespace ear {

// A lead byte starts a two-byte character; the byte after it may be any value,
// including 0x5C ('\') and 0x5E ('^').
constexpr bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Length in bytes of the character that starts at text[pos] (1 or 2; a lead byte
// at the very end counts as 1).
std::size_t CharLength(std::string_view text, std::size_t pos);

// True when no character of the Shift-JIS text is a two-byte character, that is
// when the text has as many characters as bytes.
bool IsAllSingleByte(std::string_view text);

// The longest prefix of at most maxBytes bytes that ends on a character boundary.
std::string_view CutAtCharBoundary(std::string_view text, std::size_t maxBytes);

// Position of the last '\' that is a character of its own (never the second byte
// of a two-byte character), or npos.
std::size_t LastSeparator(std::string_view path);

// The extension of the path's last component: from its last '.', dot included, single-byte
// A-Z lower-cased; empty without a dot. '\' and '/' end a component, but never the second
// byte of a two-byte character.
std::string FileExtension(std::string_view path);

}  // namespace ear
