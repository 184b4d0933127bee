#pragma once
// The runtime's services: settings store, message and input boxes, event pumping, files,
// pictures and locale-aware numbers.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// A loaded picture (cursor or icon), owned by the backend; 0 means none.
using Picture = std::uint32_t;

// What End throws on a backend that ends through its event loop: it unwinds the program's code
// to the window event being handled, and every later call that would run window events throws
// it again, so none of the program's code runs once it has ended.
struct ProgramEnded {};

// Message box styles used by the program.
inline constexpr int vbOKOnly = 0;
inline constexpr int vbExclamation = 48;
inline constexpr int vbOK = 1;

class Runtime {
public:
    virtual ~Runtime() = default;

    // Per-user named texts under (application, section, key).
    virtual std::string GetSetting(std::string_view app, std::string_view section,
                                   std::string_view key, std::string_view fallback) = 0;
    virtual void SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                             std::string_view value) = 0;

    // Modal boxes. The input box yields the empty text on Cancel.
    virtual int MsgBox(std::string_view text, int style, std::string_view title) = 0;
    virtual std::string InputBox(std::string_view prompt, std::string_view title) = 0;

    // Runs every window event that is waiting, nested in the caller.
    virtual void DoEvents() = 0;
    // Sleeps until a window event is waiting or `seconds` have passed, whichever is first.
    virtual void WaitForEvents(double seconds) = 0;
    // Seconds on a clock that only moves forward: unaffected by midnight or clock changes.
    virtual double MonotonicSeconds() = 0;
    // The local date and time, in seconds since 1970-01-01 00:00 local time.
    virtual double LocalNowSeconds() = 0;
    // Ends the program at once: the program's windows go without their own unload handling.
    // Never returns: the process is gone, or ProgramEnded is thrown.
    virtual void End() = 0;

    // The folder that holds the running program, without a trailing separator.
    virtual std::string AppPath() = 0;
    virtual char PathSeparator() = 0;
    // Throws RuntimeError::FileNotFound when the path names nothing that can be dated.
    virtual void FileDateTime(std::string_view path) = 0;
    // The name of the file `path` names when it is an ordinary file (not hidden, not a system
    // file, not a folder); empty otherwise.
    virtual std::string FindOrdinaryFile(std::string_view path) = 0;
    // The whole content of a text file of at most `mostBytes` bytes; throws
    // RuntimeError::FileNotFound when it cannot be read and RuntimeError::OutOfMemory when it is
    // longer (reading no more than one byte past the limit).
    virtual std::string ReadTextFile(std::string_view path, std::size_t mostBytes) = 0;
    // Loads a cursor or icon file; throws RuntimeError (InvalidPicture, FileNotFound) on failure.
    virtual Picture LoadPicture(std::string_view path) = 0;

    // Locale-aware number text: the user's notation, including the decimal separator.
    virtual std::string FormatNumber(double value) = 0;
    virtual std::optional<double> ParseNumber(std::string_view text) = 0;
    // Whether `find` occurs in `text` under the user's locale, ignoring case (UTF-8 both).
    virtual bool TextContains(std::string_view text, std::string_view find) = 0;
};

}  // namespace velmora
