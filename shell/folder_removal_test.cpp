#include <gtest/gtest.h>

#include "shell/folder_removal.h"

namespace ear {
namespace {

// Which reparse points are links: only the name surrogates (and a point without a tag, as Wine
// lists a Unix symbolic link). Placeholders of cloud-synced folders and deduplicated files are
// plain files and folders: emptied and deleted like any other.
TEST(FolderRemoval, OnlyNameSurrogatesAreLinks) {
  struct Case {
    const char* label;
    std::uint32_t tag;
    bool link;
  };
  const Case cases[] = {
      {"mount point, junction", 0xA0000003, true},
      {"symbolic link", 0xA000000C, true},
      {"global reparse", 0xA0000019, true},
      {"Linux subsystem symbolic link", 0xA000001D, true},
      {"container isolation link", 0xA0001027, true},
      {"no tag (Wine's Unix symbolic link)", 0x00000000, true},
      {"cloud files", 0x9000001A, false},
      {"cloud files, variant 1", 0x9000101A, false},
      {"cloud files, variant F", 0x9000F01A, false},
      {"projected file system", 0x9000001C, false},
      {"deduplication", 0x80000013, false},
      {"single-instance storage", 0x80000007, false},
      {"hierarchical storage", 0xC0000004, false},
      {"compressed (WOF)", 0x80000017, false},
      {"app execution alias", 0x8000001B, false},
      {"Unix domain socket", 0x80000023, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(IsLinkTag(c.tag), c.link);
    for (const std::uint32_t kind : {kAttributeDirectory, std::uint32_t{0x20}}) {
      const EntryAction plain = kind == kAttributeDirectory ? EntryAction::kDeleteFolder : EntryAction::kDeleteFile;
      EXPECT_EQ(ActionFor(L"x", kind | kAttributeReparsePoint, c.tag), c.link ? EntryAction::kRemoveLink : plain);
      // Without the reparse point bit the tag field means nothing.
      EXPECT_EQ(ActionFor(L"x", kind, c.tag), plain);
    }
  }
}

TEST(FolderRemoval, WhatIsDoneWithEachEntry) {
  struct Case {
    std::wstring name;
    std::uint32_t attributes;
    EntryAction action;
  };
  const Case cases[] = {
      {L".", kAttributeDirectory, EntryAction::kSkip},
      {L"..", kAttributeDirectory, EntryAction::kSkip},
      {L"...", kAttributeDirectory, EntryAction::kDeleteFolder},
      {L"..\u00a5..", kAttributeDirectory, EntryAction::kDeleteFolder},
      {L"..\u00a5..\u00a5victim.txt", 0x20, EntryAction::kDeleteFile},
      {L"trail.", 0x20, EntryAction::kDeleteFile},
      {L"trail ", kAttributeDirectory | kAttributeReadOnly, EntryAction::kDeleteFolder},
      {L"ro.txt", kAttributeReadOnly | 0x2 | 0x4, EntryAction::kDeleteFile},
  };
  for (const Case& c : cases) EXPECT_EQ(ActionFor(c.name, c.attributes, 0), c.action);
}

TEST(FolderRemoval, ReadOnlyEntriesLoseOnlyThatBit) {
  struct Case {
    std::uint32_t attributes;
    std::uint32_t writable;
  };
  const Case cases[] = {
      {0x20, 0},                                   // writable already: left alone
      {kAttributeDirectory, 0},
      {kAttributeReadOnly, kAttributeNormal},      // nothing else: "normal"
      {kAttributeReadOnly | 0x20, 0x20},
      {kAttributeReadOnly | 0x2 | 0x4 | 0x20, 0x2 | 0x4 | 0x20},
      // The kind bits (folder, reparse point) cannot be set: never handed back.
      {kAttributeReadOnly | kAttributeDirectory, kAttributeNormal},
      {kAttributeReadOnly | kAttributeDirectory | kAttributeReparsePoint | 0x2, 0x2},
  };
  for (const Case& c : cases) EXPECT_EQ(WritableAttributes(c.attributes), c.writable) << std::hex << c.attributes;
}

TEST(FolderRemoval, LongPathForm) {
  struct Case {
    std::wstring path;
    std::wstring expected;
  };
  const Case cases[] = {
      {L"C:\\exam\\##TMP##", L"\\\\?\\C:\\exam\\##TMP##"},
      {L"\\\\server\\share\\exam\\##TMP##", L"\\\\?\\UNC\\server\\share\\exam\\##TMP##"},
      {L"\\\\?\\C:\\exam\\##TMP##", L"\\\\?\\C:\\exam\\##TMP##"},
      {L"\\\\?\\UNC\\server\\share\\x", L"\\\\?\\UNC\\server\\share\\x"},
      {L"\\\\.\\C:\\exam", L"\\\\?\\C:\\exam"},
  };
  for (const Case& c : cases) EXPECT_EQ(LongPathForm(c.path), c.expected);
  EXPECT_EQ(JoinWide(L"\\\\?\\C:\\a", L"b."), L"\\\\?\\C:\\a\\b.");
  EXPECT_EQ(JoinWide(L"\\\\?\\C:\\", L"b"), L"\\\\?\\C:\\b");
}

TEST(FolderRemoval, OneErrorWithTheFirstFailureAndTheCount) {
  RemovalTally tally;
  EXPECT_EQ(tally.Count(), 0u);
  tally.Failed(32);
  tally.Failed(5);
  tally.Failed(145);
  EXPECT_EQ(tally.Count(), 3u);
  EXPECT_EQ(tally.FirstCode(), 32u);
  // "システムエラー。コード：32." CR LF message CR LF "削除できなかった項目：3 件"
  EXPECT_EQ(RemovalFailureText(32, "busy", 3),
            "\x83\x56\x83\x58\x83\x65\x83\x80\x83\x47\x83\x89\x81\x5b\x81\x42\x83\x52\x81\x5b\x83\x68\x81\x46"
            "32.\r\nbusy\r\n"
            "\x8d\xed\x8f\x9c\x82\xc5\x82\xab\x82\xc8\x82\xa9\x82\xc1\x82\xbd\x8d\x80\x96\xda\x81\x46"
            "3 \x8c\x8f");
  // No message for the code (Wine has none for some): no empty line before the count.
  EXPECT_EQ(RemovalFailureText(4390, "", 1),
            "\x83\x56\x83\x58\x83\x65\x83\x80\x83\x47\x83\x89\x81\x5b\x81\x42\x83\x52\x81\x5b\x83\x68\x81\x46"
            "4390.\r\n"
            "\x8d\xed\x8f\x9c\x82\xc5\x82\xab\x82\xc8\x82\xa9\x82\xc1\x82\xbd\x8d\x80\x96\xda\x81\x46"
            "1 \x8c\x8f");
}

}  // namespace
}  // namespace ear
