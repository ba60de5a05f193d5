#include "package/batch.h"

#include <array>

#include "base/sjis.h"
#include "package/paths.h"

namespace ear {

namespace {

struct Replacement {
  std::string_view sign;
  std::string_view replacement;
};

// Percent first and caret second, so that no inserted caret is doubled again.
constexpr std::array<Replacement, 8> kEscapes = {{
    {"%", "%%"},
    {"^", "^^"},
    {"&", "^&"},
    {";", "^;"},
    {",", "^,"},
    {"=", "^="},
    {"\x81\x40", "^\x81\x40"},
    {" ", "^ "},
}};

// Replaces whole characters only: a second byte is never taken for a sign.
std::string ReplaceCharacters(std::string_view text, const Replacement& r) {
  std::string out;
  out.reserve(text.size() + 8);
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = CharLength(text, i);
    const std::string_view character = text.substr(i, length);
    out += character == r.sign ? r.replacement : character;
    i += length;
  }
  return out;
}

// Between plain double quotes only "%" is still special to the command interpreter.
std::string PlainQuoted(std::string_view path) {
  std::string quoted = "\"";
  quoted += ReplaceCharacters(path, kEscapes[0]);
  quoted += '"';
  return quoted;
}

std::string CaretQuoted(std::string_view path) {
  return "^\"" + EscapeBatchPath(path) + "^\"";
}

// The cleanup batch's two retry loops together give up after this many attempts (a few
// minutes): the launcher ends right after starting it.
constexpr std::string_view kCleanupAttempts = "180";

// The launch batch waits for a launcher that may stay open for long (a box the candidate has
// not closed): one attempt a second for at least an hour.
constexpr std::string_view kLaunchDeleteAttempts = "3600";

// Once the executable is gone its folder is empty, unless it holds what is not the launcher's:
// then the plain RMDIR never succeeds, and a few tries cover a folder briefly held by a scanner.
constexpr std::string_view kLaunchFolderAttempts = "10";

// Pauses of about seconds - 1 seconds: cmd has no sleep, Wine's has no timeout.exe. Named by
// its full path, since a bare "ping" would run a ping.bat or ping.cmd of the current folder.
std::string Pause(std::string_view systemFolder, int seconds) {
  return PlainQuoted(JoinPath(systemFolder, "PING.EXE")) + " -n " + std::to_string(seconds) +
         " 127.0.0.1 >nul\r\n";
}

// Before every attempt of a retry loop: a pause of a second, and the jump to endLabel once
// the loop has had its attempts.
std::string PacedAttempt(std::string_view systemFolder, std::string_view attempts,
                         std::string_view endLabel) {
  return Pause(systemFolder, 2) + "SET /A EarTries+=1\r\nIF %EarTries% GTR " +
         std::string(attempts) + " GOTO " + std::string(endLabel) + "\r\n";
}

// The retry test of a loop: Wine's cmd never finds a caret-quoted path, so the plain-quoted
// test of the same path comes first and the loop retries there too.
std::string RetryIfExists(std::string_view path, std::string_view label) {
  return "IF EXIST " + PlainQuoted(path) + " GOTO " + std::string(label) + "\r\n" +
         "IF EXIST " + CaretQuoted(path) + " GOTO " + std::string(label) + "\r\n";
}

// The batch deletes itself by its own path, written out and escaped as every other path: Wine's
// cmd gives %0 without the "%" of a parent folder named "100%完了", and "DEL %0" missed the batch.
std::string DeleteSelf(std::string_view exePath) {
  return "DEL " + CaretQuoted(PackagePathsFor(exePath).batch) + "\r\n";
}

}  // namespace

std::string EscapeBatchPath(std::string_view path) {
  std::string text(path);
  for (const Replacement& r : kEscapes) text = ReplaceCharacters(text, r);
  return text;
}

std::string CleanupBatchText(std::string_view exePath, std::string_view systemFolder) {
  const std::string e = CaretQuoted(exePath);
  const std::string f = CaretQuoted(ExeFolder(exePath));
  std::string text;
  text += "SET /A EarTries=0\r\n";
  // With the pause inside the loop the first delete comes ~4 s after start: under Wine a
  // process lingers ~2 s after its last window has closed, and one attempt must do.
  text += Pause(systemFolder, 4);
  text += ":Lbl0\r\n";
  text += PacedAttempt(systemFolder, kCleanupAttempts, "LblEnd");
  text += "DEL " + e + "\r\n";
  text += "IF EXIST " + e + " GOTO Lbl0\r\n";
  // In a root folder the executable's folder is the drive's root: it is never removed.
  if (!InRootFolder(exePath)) {
    text += "cd..\r\n";
    text += ":Lbl1\r\n";
    text += PacedAttempt(systemFolder, kCleanupAttempts, "LblEnd");
    text += "RMDIR " + f + "\r\n";
    text += "IF EXIST " + f + " GOTO Lbl1\r\n";
  }
  text += ":LblEnd\r\n";
  text += DeleteSelf(exePath);
  text += "EXIT\r\n";
  return text;
}

std::string LaunchBatchText(std::string_view examProgramPath, std::string_view exePath,
                            std::string_view exeFolder, std::string_view systemFolder) {
  const std::string e = CaretQuoted(examProgramPath);
  const std::string s = CaretQuoted(exePath);
  const std::string d = CaretQuoted(exeFolder);
  std::string text;
  text += "cd..\r\n";
  // Wine's cmd never finds a caret-quoted path: the plain-quoted test lets the exam start there.
  text += "IF EXIST " + PlainQuoted(examProgramPath) + " GOTO LblStart\r\n";
  text += "IF NOT EXIST " + e + " GOTO Lbl2\r\n";
  text += ":LblStart\r\n";
  text += "START /b \"\" " + e + "\r\n";
  text += "SET /A EarTries=0\r\n";
  // The launcher ends only after the exam's window has shown, and under Wine lingers ~2 s more.
  text += Pause(systemFolder, 6);
  text += ":Lbl0\r\n";
  text += PacedAttempt(systemFolder, kLaunchDeleteAttempts, "Lbl2");
  text += "DEL " + s + "\r\n";
  text += RetryIfExists(exePath, "Lbl0");
  // Only what the launcher brought goes: the folder is removed only when it is empty, and in
  // a root folder (the drive's root) never.
  if (!InRootFolder(exePath)) {
    text += "SET /A EarTries=0\r\n";
    text += ":Lbl1\r\n";
    text += PacedAttempt(systemFolder, kLaunchFolderAttempts, "Lbl2");
    text += "RMDIR " + d + "\r\n";
    text += RetryIfExists(exeFolder, "Lbl1");
  }
  text += ":Lbl2\r\n";
  text += DeleteSelf(exePath);
  text += "EXIT\r\n";
  return text;
}

std::string BatchCommandLine(std::string_view batchPath) {
  // /s keeps a batch path with "(" or "&" whole; /v:off keeps a "!" in a path literal where
  // delayed expansion is on by default; /d skips AutoRun commands.
  return "cmd.exe /d /s /v:off /c \"\"" + std::string(batchPath) + "\"\"";
}

}  // namespace ear
