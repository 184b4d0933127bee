#pragma once
// Small utilities shared by the main window's procedures.

#include <functional>
#include <string>
#include <string_view>

#include "platform/WindowSystem.h"

namespace velmora {

class Runtime;

// True when the file system can date the path; false on any failure. Shows nothing.
bool FileExists(Runtime& runtime, std::string_view path);

// A file in the program's folder, named by its path below that folder.
std::string ProgramFile(Runtime& runtime, std::string_view relativePath);

// Returns once `seconds` have passed on the monotonic clock, running window events meanwhile
// and sleeping while there are none.
void WaitSeconds(Runtime& runtime, double seconds);
// The same wait, ended early as soon as `done` holds after a round of events.
void WaitSecondsUnless(Runtime& runtime, double seconds, const std::function<bool()>& done);

// The user's decimal separator, as the runtime writes one half.
std::string DecimalSeparator(Runtime& runtime);

// Makes a number typed with "." or "," readable in the user's locale (dotted false), or turns
// the locale's separator into "." (dotted true).
std::string NormalizeDecimal(Runtime& runtime, std::string_view text, bool dotted);

// Whether a date `seconds` after `nowSeconds` (both since 1970, local) is one the runtime's
// dates can hold: the years 100 to 9999.
bool InDateRange(double nowSeconds, double seconds);

// The window's place in the z-order: in the topmost band, or out of it and behind all others.
void MakeTopmost(WindowSystem& windows, Hwnd window);
void MakeRegular(WindowSystem& windows, Hwnd window);

// The application title: the display name cut before its last blank, repeatedly, until it is
// at most 40 characters long; cut at least once.
std::string AppTitleFrom(std::string_view displayName);

}  // namespace velmora
