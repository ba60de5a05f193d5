#pragma once
// Shift-JIS characters that trip byte-wise code, spelled as bytes for the tests.
#define SO "\x83\x5c"   // ソ: second byte is "\"
#define HYO "\x95\x5c"  // 表: second byte is "\"
#define TA "\x83\x5e"   // タ: second byte is "^"
#define UN "\x89\x5e"   // 運: second byte is "^"
#define WSP "\x81\x40"  // full-width space
