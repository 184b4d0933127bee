#pragma once
// The runtime's services in memory: settings, scripted boxes, an event queue, files, pictures
// and a switchable decimal separator.

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "Recorder.h"
#include "platform/Runtime.h"

namespace velmora::sim {

struct ShownMessage {
    std::string text;
    int style;
    std::string title;
};

class SimRuntime : public Runtime {
public:
    explicit SimRuntime(Recorder& recorder) : recorder_(recorder) {}

    // Settings keyed "app\section\key".
    std::map<std::string, std::string, std::less<>> settings;
    std::vector<ShownMessage> messages;
    std::vector<std::string> inputPrompts;
    // Answers for the next input boxes; an empty queue answers as Cancel does.
    std::deque<std::string> inputAnswers;
    // Files that exist, with their contents; those also named here are hidden or system files.
    std::map<std::string, std::string, std::less<>> files;
    std::set<std::string, std::less<>> hiddenFiles;
    std::set<std::string, std::less<>> folders;
    std::string appPath = "C:\\Program Files\\Velmora Suite";
    char decimalSeparator = '.';
    // End was called: it throws ProgramEnded, as does every later call that would run events.
    int endCalls = 0;

    static std::string SettingPath(std::string_view app, std::string_view section,
                                   std::string_view key);
    std::string Setting(std::string_view key) const;  // under the program's own section
    void PutSetting(std::string_view key, std::string_view value);

    // Queues a window event for the next DoEvents.
    void Post(std::function<void()> event) { pending_.push_back(std::move(event)); }
    std::size_t Pending() const { return pending_.size(); }
    // Queues a window event when the clock reaches `at` seconds.
    void Schedule(double at, std::function<void()> event);

    // The monotonic clock in seconds; it moves only while the program waits for events.
    double clock = 0;
    // Seconds spent in WaitForEvents, in all.
    double waited = 0;
    double wallClockAtStart = 1796083200;  // 2026-12-01 00:00

    std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                           std::string_view fallback) override;
    void SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                     std::string_view value) override;
    int MsgBox(std::string_view text, int style, std::string_view title) override;
    std::string InputBox(std::string_view prompt, std::string_view title) override;
    void DoEvents() override;
    void WaitForEvents(double seconds) override;
    double MonotonicSeconds() override { return clock; }
    // The local date and time: `wallClockAtStart` plus the monotonic clock.
    double LocalNowSeconds() override { return wallClockAtStart + clock; }
    void End() override;
    std::string AppPath() override;
    char PathSeparator() override { return '\\'; }
    void FileDateTime(std::string_view path) override;
    Picture LoadPicture(std::string_view path) override;
    std::string FindOrdinaryFile(std::string_view path) override;
    std::string ReadTextFile(std::string_view path, std::size_t mostBytes) override;
    std::string FormatNumber(double value) override;
    std::optional<double> ParseNumber(std::string_view text) override;
    bool TextContains(std::string_view text, std::string_view find) override;

private:
    void ThrowIfEnded() const;

    Recorder& recorder_;
    struct Timed {
        double at;
        std::function<void()> event;
    };
    std::deque<std::function<void()>> pending_;
    std::vector<Timed> scheduled_;
    Picture nextPicture_ = 1;
};

// The first bytes of a cursor file, which the sim's picture loader accepts.
inline constexpr std::string_view kCursorFileHeader{"\0\0\2\0", 4};

}  // namespace velmora::sim
