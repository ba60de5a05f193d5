#pragma once
// What the painting tests share: GDI+ for the whole test run, colours, BMP files written
// pixel by pixel into a Shift-JIS-named folder, and a surface read back pixel by pixel.
// Included by one test file per binary.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/gdi.h"
#include "base/handle.h"
#include "imaging/gdiplus_win.h"

namespace ear {
namespace {

class GdiplusEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { session_ = std::make_unique<gdiplus::Session>(); }
  void TearDown() override { session_.reset(); }

 private:
  std::unique_ptr<gdiplus::Session> session_;
};
[[maybe_unused]] auto* const gdiplusEnvironment =
    ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

struct Rgb {
  int r, g, b;
};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kRed{200, 0, 0};
constexpr Rgb kBlue{0, 0, 200};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kBackground{10, 120, 30};

bool Near(Rgb a, Rgb b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
         std::abs(a.b - b.b) <= tolerance;
}
[[maybe_unused]] std::string Show(Rgb c) {
  char text[40];
  std::snprintf(text, sizeof text, "(%d,%d,%d)", c.r, c.g, c.b);
  return text;
}

void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  const FileHandle file(CreateFileW(gdiplus::WideFileName(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw std::runtime_error("cannot create " + path);
  DWORD written = 0;
  WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// A 24-bit bottom-up BMP with the 40-byte header, pixels from a function of (x, y).
std::vector<unsigned char> BmpBytes(int width, int height,
                                    const std::function<Rgb(int, int)>& pixel) {
  const int stride = (width * 3 + 3) / 4 * 4;
  std::vector<unsigned char> bytes(54 + static_cast<std::size_t>(stride) * height);
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(v >> (8 * i));
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, static_cast<std::uint32_t>(bytes.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(width));
  put32(22, static_cast<std::uint32_t>(height));
  bytes[26] = 1;   // planes
  bytes[28] = 24;  // bits per pixel
  put32(34, static_cast<std::uint32_t>(stride * height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Rgb c = pixel(x, y);
      const std::size_t at = 54 + static_cast<std::size_t>(height - 1 - y) * stride + x * 3;
      bytes[at] = static_cast<unsigned char>(c.b);
      bytes[at + 1] = static_cast<unsigned char>(c.g);
      bytes[at + 2] = static_cast<unsigned char>(c.r);
    }
  }
  return bytes;
}

[[maybe_unused]] void WriteBmp(const std::string& path, int width, int height,
                               const std::function<Rgb(int, int)>& pixel) {
  WriteBytes(path, BmpBytes(width, height, pixel));
}

// A folder of its own with a Shift-JIS name, so the file names go through the widening.
class TestFolder {
 public:
  TestFolder() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp) + "描画テスト" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryW(gdiplus::WideFileName(path_).c_str(), nullptr);
  }
  ~TestFolder() {
    for (const auto& file : files_) DeleteFileW(gdiplus::WideFileName(file).c_str());
    RemoveDirectoryW(gdiplus::WideFileName(path_).c_str());
  }
  std::string File(const std::string& name) {
    files_.push_back(path_ + name);
    return files_.back();
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  std::vector<std::string> files_;
};

// A 32-bit top-down DIB section filled with one colour, readable pixel by pixel.
class Surface {
 public:
  Surface(int width, int height, Rgb fill) : width_(width), height_(height) {
    const BITMAPINFO info = gdi::TopDownDibInfo(width, height, 32);
    void* bits = nullptr;
    bitmap_.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    bits_ = static_cast<std::uint32_t*>(bits);
    select_.emplace(dc_.Get(), bitmap_.Get());
    const std::uint32_t value = (fill.r << 16) | (fill.g << 8) | fill.b;
    for (int i = 0; i < width * height; ++i) bits_[i] = value;
  }
  HDC Dc() const { return dc_.Get(); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  Rgb At(int x, int y) const {
    GdiFlush();
    const std::uint32_t v = bits_[y * width_ + x];
    return Rgb{static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF),
               static_cast<int>(v & 0xFF)};
  }
  // Pixels that differ from the colour, counted.
  int CountOther(Rgb colour) const {
    int count = 0;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) count += Near(At(x, y), colour, 0) ? 0 : 1;
    return count;
  }

 private:
  int width_, height_;
  gdi::Bitmap bitmap_;
  gdi::MemoryDC dc_{nullptr};
  std::optional<gdi::Select> select_;  // released first: the bitmap leaves the DC
  std::uint32_t* bits_ = nullptr;
};

}  // namespace
}  // namespace ear
