// The version resources of the shipped executables, read back as Windows reads them
// (right-click > Properties > Details): the project's one version in both.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Version {
  std::wstring fileVersion, productVersion, originalFilename;
  std::wstring fixed;  // FILEVERSION of the fixed part, a.b.c.d
};

std::wstring Widen(const char* text) {
  std::wstring wide;
  for (const char* p = text; *p; ++p) wide += static_cast<wchar_t>(*p == '/' ? '\\' : *p);
  return wide;
}

Version ReadVersion(const std::wstring& path) {
  Version v;
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
  EXPECT_NE(size, 0u) << "no version resource, error " << GetLastError();
  if (size == 0) return v;
  std::vector<char> block(size);
  EXPECT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));
  auto text = [&](const wchar_t* key) {
    const std::wstring query = std::wstring(L"\\StringFileInfo\\041103A4\\") + key;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), query.c_str(), &value, &length) || length == 0) return std::wstring();
    return std::wstring(static_cast<const wchar_t*>(value));
  };
  v.fileVersion = text(L"FileVersion");
  v.productVersion = text(L"ProductVersion");
  v.originalFilename = text(L"OriginalFilename");
  void* fixed = nullptr;
  UINT length = 0;
  if (VerQueryValueW(block.data(), L"\\", &fixed, &length) && length >= sizeof(VS_FIXEDFILEINFO)) {
    const auto* f = static_cast<const VS_FIXEDFILEINFO*>(fixed);
    v.fixed = std::to_wstring(HIWORD(f->dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(f->dwFileVersionMS)) + L"." +
              std::to_wstring(HIWORD(f->dwFileVersionLS)) + L"." + std::to_wstring(LOWORD(f->dwFileVersionLS));
  }
  return v;
}

TEST(VersionResource, BothExecutablesCarryTheProjectVersion) {
  const std::wstring version = Widen(EAR_VERSION);
  const struct {
    const char* path;
    const wchar_t* name;
  } executables[] = {{EAR_LAUNCHER, L"ExamAutoRunner.exe"}, {EAR_EARCHECK, L"earcheck.exe"}};
  for (const auto& exe : executables) {
    // The build tree's path as Wine's drive Z: shows it.
    const Version v = ReadVersion(L"Z:" + Widen(exe.path));
    EXPECT_EQ(v.fileVersion, version) << exe.path;
    EXPECT_EQ(v.productVersion, version) << exe.path;
    EXPECT_EQ(v.fixed, version + L".0") << exe.path;
    EXPECT_EQ(v.originalFilename, exe.name) << exe.path;
    std::printf("%ls: FileVersion %ls, ProductVersion %ls, FILEVERSION %ls\n", exe.name, v.fileVersion.c_str(),
                v.productVersion.c_str(), v.fixed.c_str());
  }
}

}  // namespace
