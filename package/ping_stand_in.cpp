// Plays ping.exe for the batch tests: returns at once, so that a batch's pauses take no time,
// and adds one byte to the file named by EAR_PING_COUNT, so that a test can count its runs.
#include <windows.h>

int main() {
  char path[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableA("EAR_PING_COUNT", path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 0;
  const HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(file, ".", 1, &written, nullptr);
  CloseHandle(file);
  return 0;
}
