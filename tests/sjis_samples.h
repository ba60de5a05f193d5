#pragma once
// Shift-JIS characters that trip byte-wise code, spelled as bytes for the tests.
#define SO "\x83\x5c"   // ソ: second byte is "\"
#define HYO "\x95\x5c"  // 表: second byte is "\"
#define TA "\x83\x5e"   // タ: second byte is "^"
#define UN "\x89\x5e"   // 運: second byte is "^"
#define WSP "\x81\x40"  // full-width space
// The candidate folder's brackets and a sample name.
#define LBR "\x81\x6d"               // ［
#define RBR "\x81\x6e"               // ］
#define YAMADA "\x8e\x52\x93\x63"  // 山田
#define TARO "\x91\xbe\x98\x59"    // 太郎
