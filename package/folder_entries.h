#pragma once
// The rules for walking a folder on disk by its Unicode names: what each listed entry is (a
// link is never followed), and the long-path form entries are addressed by.
#include <cstdint>
#include <string>
#include <string_view>

namespace ear {

// File attribute bits and the reparse tag bit as the file system reports them.
inline constexpr std::uint32_t kAttributeReadOnly = 0x1;
inline constexpr std::uint32_t kAttributeDirectory = 0x10;
inline constexpr std::uint32_t kAttributeNormal = 0x80;
inline constexpr std::uint32_t kAttributeReparsePoint = 0x400;
inline constexpr std::uint32_t kReparseTagNameSurrogate = 0x20000000;

// True when a reparse point with this tag stands for another name (junction, symbolic link and
// the other name surrogates). Tag 0 is no tag at all (Wine lists a Unix symbolic link so): what
// cannot be shown to be a plain file or folder is taken for a link.
bool IsLinkTag(std::uint32_t reparseTag);

enum class EntryAction {
  kSkip,          // "." and ".."
  kRemoveLink,    // removed as the link itself; what it points to is never touched
  kDeleteFolder,  // a folder to go into (cloud placeholders and deduplicated folders too)
  kDeleteFile,
};

// reparseTag counts only when attributes hold the reparse point bit (the find data's dwReserved0).
EntryAction ActionFor(std::wstring_view name, std::uint32_t attributes, std::uint32_t reparseTag);

// The attributes to set so that the entry can be deleted, or 0 when they may stay: a read-only
// entry loses only that bit.
std::uint32_t WritableAttributes(std::uint32_t attributes);

// An absolute path in the long-path form ("\\?\C:\...", "\\?\UNC\server\share\..."), which the
// system takes as it stands: no length limit, trailing dots and spaces of names kept. A path
// already in that form stays; one in the device form ("\\.\") is put in it.
std::wstring LongPathForm(std::wstring_view absolutePath);

// folder + "\" + name, with the separator only when folder lacks one.
std::wstring JoinWide(std::wstring_view folder, std::wstring_view name);

}  // namespace ear
