#include "package/folder_entries.h"

namespace ear {

bool IsLinkTag(std::uint32_t reparseTag) {
  return reparseTag == 0 || (reparseTag & kReparseTagNameSurrogate) != 0;
}

EntryAction ActionFor(std::wstring_view name, std::uint32_t attributes, std::uint32_t reparseTag) {
  if (name == L"." || name == L"..") return EntryAction::kSkip;
  if ((attributes & kAttributeReparsePoint) != 0 && IsLinkTag(reparseTag)) return EntryAction::kRemoveLink;
  return (attributes & kAttributeDirectory) != 0 ? EntryAction::kDeleteFolder : EntryAction::kDeleteFile;
}

std::uint32_t WritableAttributes(std::uint32_t attributes) {
  if ((attributes & kAttributeReadOnly) == 0) return 0;
  // Only the bits that can be set on an entry; none left is said as "normal".
  constexpr std::uint32_t kSettable = 0x1 | 0x2 | 0x4 | 0x20 | 0x100 | 0x1000 | 0x2000;
  const std::uint32_t kept = attributes & kSettable & ~kAttributeReadOnly;
  return kept != 0 ? kept : kAttributeNormal;
}

std::wstring LongPathForm(std::wstring_view absolutePath) {
  if (absolutePath.starts_with(L"\\\\?\\")) return std::wstring(absolutePath);
  if (absolutePath.starts_with(L"\\\\.\\")) return L"\\\\?\\" + std::wstring(absolutePath.substr(4));
  if (absolutePath.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + std::wstring(absolutePath.substr(2));
  return L"\\\\?\\" + std::wstring(absolutePath);
}

std::wstring JoinWide(std::wstring_view folder, std::wstring_view name) {
  std::wstring path(folder);
  if (!path.empty() && path.back() != L'\\') path += L'\\';
  path += name;
  return path;
}

}  // namespace ear
