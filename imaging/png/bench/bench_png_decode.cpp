// Benchmark (not a test): the title screen's three pictures loaded by our decoder against
// GDI+ (GdipCreateBitmapFromFile + LockBits to 32-bit ARGB), the first GDI+ load apart,
// since it brings in the codec machinery. Run by bench_png_decode.sh under Wine.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "imaging/gdiplus_win.h"
#include "imaging/png/png_decode.h"
#include "imaging/png/png_test_writer.h"

namespace {

using ear::pngtest::Bytes;
using ear::pngtest::TestPng;

double Now() {
  LARGE_INTEGER frequency, count;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&count);
  return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// A picture like the package's: dark strokes on white, white keyed away when drawn.
TestPng TitleLike(int width, int height, int colourType) {
  TestPng png{.width = width, .height = height, .colourType = colourType, .filter = 5};
  const int channels = ear::pngtest::Channels(colourType);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool ink = (x / 3 + y / 4) % 5 == 0 && y > 2 && y < height - 3;
      for (int c = 0; c < channels; ++c) {
        png.samples.push_back(colourType == 3 ? (ink ? 1u : 0u) : c == 3 ? 255u : ink ? 40u + 30u * c : 255u);
      }
    }
  }
  if (colourType == 3) png.palette = {255, 255, 255, 20, 40, 120};
  return png;
}

bool LoadWithGdiplus(const std::wstring& path) {
  ear::gdiplus::Bitmap bitmap;
  if (ear::gdiplus::Flat::GdipCreateBitmapFromFile(path.c_str(), bitmap.Put()) != Gdiplus::Ok) return false;
  UINT width = 0, height = 0;
  ear::gdiplus::Flat::GdipGetImageWidth(reinterpret_cast<ear::gdiplus::GpImage*>(bitmap.Get()), &width);
  ear::gdiplus::Flat::GdipGetImageHeight(reinterpret_cast<ear::gdiplus::GpImage*>(bitmap.Get()), &height);
  const Gdiplus::Rect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
  Gdiplus::BitmapData data{};
  if (ear::gdiplus::Flat::GdipBitmapLockBits(bitmap.Get(), &all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB,
                                             &data) != Gdiplus::Ok) {
    return false;
  }
  ear::gdiplus::Flat::GdipBitmapUnlockBits(bitmap.Get(), &data);
  return true;
}

// Reads the file as the launcher would, then decodes it.
bool LoadWithOurs(const std::wstring& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  Bytes bytes(GetFileSize(file, nullptr));
  DWORD read = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  return ear::DecodePng(bytes.data(), read).has_value();
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 200;
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  const TestPng pictures[] = {TitleLike(439, 20, 3), TitleLike(150, 17, 2), TitleLike(100, 30, 6)};
  std::vector<std::wstring> paths;
  for (const TestPng& png : pictures) {
    paths.push_back(std::wstring(folder) + L"bench_png_" + std::to_wstring(paths.size()) + L".png");
    const Bytes bytes = ear::pngtest::WritePng(png);
    const HANDLE file = CreateFileW(paths.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
  }

  // Cold first, for both: the first three pictures of a run are what start-up pays.
  double start = Now();
  for (const auto& path : paths) {
    if (!LoadWithOurs(path)) return std::fprintf(stderr, "ours refused a picture\n"), 1;
  }
  const double oursCold = Now() - start;
  start = Now();
  const ear::gdiplus::Session session;
  const double gdiplusStartup = Now() - start;
  start = Now();
  for (const auto& path : paths) {
    if (!LoadWithGdiplus(path)) return std::fprintf(stderr, "GDI+ refused a picture\n"), 1;
  }
  const double gdiplusCold = Now() - start;

  start = Now();
  for (int i = 0; i < rounds; ++i) {
    for (const auto& path : paths) LoadWithGdiplus(path);
  }
  const double gdiplusWarm = (Now() - start) / rounds;
  start = Now();
  for (int i = 0; i < rounds; ++i) {
    for (const auto& path : paths) LoadWithOurs(path);
  }
  const double oursWarm = (Now() - start) / rounds;
  for (const auto& path : paths) DeleteFileW(path.c_str());

  std::printf("three title pictures (439x20 palette, 150x17 RGB, 100x30 RGBA), ms:\n");
  std::printf("  first load:  GDI+ %.3f (+ GdiplusStartup %.3f), ours %.3f  -> ours/GDI+ %.3f\n", gdiplusCold,
              gdiplusStartup, oursCold, oursCold / gdiplusCold);
  std::printf("  warm (mean of %d): GDI+ %.3f, ours %.3f  -> ours/GDI+ %.3f\n", rounds, gdiplusWarm, oursWarm,
              oursWarm / gdiplusWarm);
  return 0;
}
