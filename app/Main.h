#pragma once
// Small utilities shared by the main window's procedures.

#include <string>
#include <string_view>

namespace velmora {

class Runtime;

// True when the file system can date the path; false on any failure. Shows nothing.
bool FileExists(Runtime& runtime, std::string_view path);

// A file in the program's folder, named by its path below that folder.
std::string ProgramFile(Runtime& runtime, std::string_view relativePath);

// Returns once `seconds` have passed on the monotonic clock, running window events meanwhile
// and sleeping while there are none.
void WaitSeconds(Runtime& runtime, double seconds);

// The application title: the display name cut before its last blank, repeatedly, until it is
// at most 40 characters long; cut at least once.
std::string AppTitleFrom(std::string_view displayName);

}  // namespace velmora
