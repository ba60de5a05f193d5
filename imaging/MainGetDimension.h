#pragma once
// MainGetDimension: a picture file's pixel size from its header.
// Every failure throws ear::Error with a CP932 message that begins with the file name.
#include <cstdint>
#include <string>
#include <string_view>

namespace ear {

// Width and height of the picture; both start at 0. Returns true or throws.
bool GetDimension(const std::string& fileName, std::uint32_t& width, std::uint32_t& height);

// One probe per format; each opens, checks, reads and closes the file itself.
bool GetBmpDimension(const std::string& fileName, std::uint32_t& width, std::uint32_t& height);
bool GetJpgDimension(const std::string& fileName, std::uint32_t& width, std::uint32_t& height);
bool GetWmfDimension(const std::string& fileName, std::uint32_t& width, std::uint32_t& height);
bool GetEmfDimension(const std::string& fileName, std::uint32_t& width, std::uint32_t& height);
bool GetGifDimension(const std::string& fileName, std::uint32_t& width, std::uint32_t& height);
bool GetPngDimension(const std::string& fileName, std::uint32_t& width, std::uint32_t& height);
bool GetPsdDimension(const std::string& fileName, std::uint32_t& width, std::uint32_t& height);
bool GetTifDimension(const std::string& fileName, std::uint32_t& width, std::uint32_t& height);

// Throws the invalid-file error of a format ("BMP", "JPG", ...).
[[noreturn]] void RaiseInvalidFile(const std::string& fileName, const std::string& typeName);

constexpr std::uint32_t SwapLong(std::uint32_t v) {
  return (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
}
constexpr std::uint16_t SwapWord(std::uint16_t v) {
  return static_cast<std::uint16_t>((v >> 8) | (v << 8));
}

// XOR of the first ten 16-bit little-endian words of a placeable metafile header.
std::uint16_t WmfChecksum(const unsigned char* header);

// Sets value from a 12-byte TIFF directory entry: SHORT (3) zero-extended, LONG (4)
// whole; any other type leaves value unchanged.
void ReadTifValue(const unsigned char* entry, bool bigEndian, std::uint32_t& value);

// The extension as GetDimension compares it: from the last dot of the last path
// component ('\' outside two-byte characters, or '/'), dot included, ASCII
// letters lower-cased, ".jpeg" -> ".jpg", ".tiff" -> ".tif"; empty without a dot.
std::string PictureExtension(std::string_view fileName);

// The four error messages, exactly.
std::string UnsupportedTypeMessage(const std::string& fileName);
std::string InvalidFileMessage(const std::string& fileName, const std::string& typeName);
std::string SizeFailureMessage(const std::string& fileName);
std::string ZeroSizeMessage(const std::string& fileName);

}  // namespace ear
