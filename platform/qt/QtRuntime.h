#pragma once
// The runtime's services on Qt: QSettings, message and input boxes, the event loop, files and
// the user's locale.

#include <string>

#include "Pictures.h"
#include "platform/Runtime.h"
#include "platform/WindowSystem.h"

namespace velmora::qt {

class QtRuntime : public Runtime {
public:
    explicit QtRuntime(Pictures& pictures) : pictures_(pictures) {}

    std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                           std::string_view fallback) override;
    void SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                     std::string_view value) override;
    int MsgBox(std::string_view text, int style, std::string_view title) override;
    std::string InputBox(std::string_view prompt, std::string_view title) override;
    void DoEvents() override;
    void WaitForEvents(double seconds) override;
    double MonotonicSeconds() override;
    double LocalNowSeconds() override;
    void End() override;
    std::string AppPath() override;
    char PathSeparator() override;
    void FileDateTime(std::string_view path) override;
    std::string FindOrdinaryFile(std::string_view path) override;
    std::string ReadTextFile(std::string_view path, std::size_t mostBytes) override;
    Picture LoadPicture(std::string_view path) override;
    std::string FormatNumber(double value) override;
    std::optional<double> ParseNumber(std::string_view text) override;
    bool TextContains(std::string_view text, std::string_view find) override;

private:
    // Once the program has ended, nothing that would run window events may run again.
    void ThrowIfEnded() const;

    Pictures& pictures_;
    bool ended_ = false;
};

}  // namespace velmora::qt
