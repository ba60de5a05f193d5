#pragma once
// INI texts and what the system's profile reader returns for one key of each; shared
// by the native table test and the Windows test that checks the system agrees.
#include <string>
#include <string_view>

#include "tests/sjis_samples.h"

namespace ear::ini_cases {

// File bytes of Unicode text: UTF-16 in either byte order, UTF-8.
inline std::string Utf16(std::u16string_view text, bool bigEndian = false) {
  std::string bytes;
  for (const char16_t u : text) {
    const char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
    bytes += bigEndian ? hi : lo;
    bytes += bigEndian ? lo : hi;
  }
  return bytes;
}
inline std::string Utf8(std::u8string_view text) { return std::string(text.begin(), text.end()); }

#define KIHON "\x8a\xee\x96\x7b\x8f\xee\x95\xf1"  // 基本情報
#define TYPE "\x8e\xf3\x8c\xb1\x83\x5e\x83\x43\x83\x76"  // 受験タイプ (タ ends in "^")
#define KYUTOP "\x8b\x89TOP\x89\xe6\x91\x9c\x8a\x67\x92\xa3\x8e\x71"  // 級TOP画像拡張子

struct Case {
  const char* what;
  std::string text;
  std::string section;
  std::string key;
  std::string expected;
};

inline const Case kCases[] = {
    {"plain", "[" KIHON "]\r\nABB=EAR\r\n", KIHON, "ABB", "EAR"},
    {"LF only", "[" KIHON "]\nABB=EAR\n", KIHON, "ABB", "EAR"},
    {"names ignore ASCII case", "[" KIHON "]\r\nabb=x\r\n" "\x8b\x89top\x89\xe6\x91\x9c\x8a\x67\x92\xa3\x8e\x71=.png\r\n",
     KIHON, KYUTOP, ".png"},
    {"blanks around name and value", "[" KIHON "]\r\n  ABB \t=  \t v w \t \r\n", KIHON, "ABB", "v w"},
    {"full-width blanks stay", "[" KIHON "]\r\nABB=" WSP "x" WSP "\r\n", KIHON, "ABB", WSP "x" WSP},
    {"vertical tab and ctrl-Z around the value", "[" KIHON "]\r\nABB=\x0bx\x1a\r\n", KIHON, "ABB", "x"},
    {"quotes keep inner blanks", "[" KIHON "]\r\n" TYPE "=\" 3\"\r\n", KIHON, TYPE, " 3"},
    {"single quotes", "[" KIHON "]\r\n" TYPE "='3 '\r\n", KIHON, TYPE, "3 "},
    {"unmatched quote stays", "[" KIHON "]\r\n" TYPE "=\"3\r\n", KIHON, TYPE, "\"3"},
    {"empty value", "[" KIHON "]\r\nABB=\r\n", KIHON, "ABB", ""},
    {"key without =", "[" KIHON "]\r\nABB\r\n", KIHON, "ABB", ""},
    {"first = splits", "[" KIHON "]\r\nABB=a=b\r\n", KIHON, "ABB", "a=b"},
    {"first of two keys", "[" KIHON "]\r\nABB=1\r\nABB=2\r\n", KIHON, "ABB", "1"},
    {"only the first section of a name", "[" KIHON "]\r\nX=1\r\n[" KIHON "]\r\nABB=2\r\n", KIHON, "ABB", ""},
    {"other section", "[other]\r\nABB=1\r\n[" KIHON "]\r\nABB=2\r\n", KIHON, "ABB", "2"},
    {"key before any section", "ABB=1\r\n[" KIHON "]\r\n", KIHON, "ABB", ""},
    {"blanks inside the brackets", "[ " KIHON "\t]\r\nABB=1\r\n", KIHON, "ABB", "1"},
    {"full-width blank inside the brackets", "[" WSP KIHON "]\r\nABB=1\r\n", KIHON, "ABB", ""},
    {"section line with text after ]", "[" KIHON "] ; note\r\nABB=1\r\n", KIHON, "ABB", "1"},
    {"indented section", "  [" KIHON "]\r\nABB=1\r\n", KIHON, "ABB", "1"},
    {"commented key", "[" KIHON "]\r\n;ABB=1\r\n", KIHON, "ABB", ""},
    {"value with 0x5C second bytes", "[" KIHON "]\r\nABB=" HYO SO "\r\n", KIHON, "ABB", HYO SO},
    {"value ending in so and a blank", "[" KIHON "]\r\nABB=" SO " \r\n", KIHON, "ABB", SO},
    {"section name whose second byte is ]", "[\x83\x5d]\r\nABB=1\r\n", "\x83\x5d", "ABB", "1"},
    {"section with a ] inside two-byte text", "[a\x83\x5d" "b]\r\nABB=1\r\n", "a\x83\x5d" "b", "ABB", "1"},
    {"missing section", "[x]\r\nABB=1\r\n", KIHON, "ABB", ""},
    {"no final line end", "[" KIHON "]\r\nABB=last", KIHON, "ABB", "last"},
    {"tab inside value", "[" KIHON "]\r\nABB=a\tb\r\n", KIHON, "ABB", "a\tb"},
    {"long value cut to 2047", "[" KIHON "]\r\nABB=" + std::string(3000, 'x') + "\r\n", KIHON, "ABB",
     std::string(2047, 'x')},
    {"cut inside a two-byte character", "[" KIHON "]\r\nABB=" + std::string(2046, 'x') + HYO + "\r\n", KIHON,
     "ABB", std::string(2046, 'x')},
    // Unicode files: the system reads them as Unicode and converts the value.
    {"UTF-16 with a byte-order mark", Utf16(u"\uFEFF[基本情報]\r\nABB=EAR\r\n"), KIHON, "ABB", "EAR"},
    {"UTF-16 two-byte value", Utf16(u"\uFEFF[基本情報]\r\nABB=表ソ漢字\r\n"), KIHON, "ABB",
     HYO SO "\x8a\xbf\x8e\x9a"},
    {"UTF-16 big-endian", Utf16(u"\uFEFF[基本情報]\r\nABB=EAR\r\n", true), KIHON, "ABB", "EAR"},
    {"UTF-16 without a byte-order mark is not read", Utf16(u"[基本情報]\r\nABB=EAR\r\n"), KIHON, "ABB", ""},
    {"UTF-16 characters without a Shift-JIS form", Utf16(u"\uFEFF[基本情報]\r\nABB=a\u20ACb\U0001F600c\u00A5d\r\n"),
     KIHON, "ABB", "a?b??c\\d"},
    {"UTF-16 long value cut inside a two-byte character",
     Utf16(u"\uFEFF[基本情報]\r\nABB=" + std::u16string(1100, u'漢') + u"\r\n"), KIHON, "ABB",
     [] { std::string v; for (int i = 0; i < 1023; ++i) v += "\x8a\xbf"; return v; }()},
    // Wine reads UTF-8 with its mark as Unicode too; Windows takes such a file for Shift-JIS,
    // which earcheck reports as an error.
    {"UTF-8 with a byte-order mark", Utf8(u8"\uFEFF[基本情報]\r\nABB=表ソ\r\n"), KIHON, "ABB", HYO SO},
    {"UTF-8 with a byte-order mark, first section", Utf8(u8"\uFEFF[s]\r\nABB=EAR\r\n"), "s", "ABB", "EAR"},
    // A lead byte takes the next byte with it, whatever it is.
    {"lead byte before LF: the next line joins it", "[" KIHON "]\nX=\x95\nABB=1\n", KIHON, "ABB", ""},
    {"lead byte before LF: the next line in the value", "[" KIHON "]\nABB=a\x95\nX=1\n", KIHON, "ABB",
     "a\x81\x45X=1"},
    {"lead byte before CR LF: the LF still ends the line", "[" KIHON "]\r\nX=\x95\r\nABB=1\r\n", KIHON, "ABB", "1"},
    {"lead byte before an invalid second byte", "[" KIHON "]\r\nABB=a\x95?b\x95\x7f" "c\r\n", KIHON, "ABB",
     "a\x81\x45" "b\x81\x45" "c"},
    {"lead byte at the end of the file", "[" KIHON "]\r\nABB=a\x95", KIHON, "ABB", "a\x81\x45"},
};

#undef KIHON
#undef TYPE
#undef KYUTOP

}  // namespace ear::ini_cases
