#pragma once
// The runtime's services on Windows: registry settings, message and input boxes, the message
// pump, files, cursor pictures and the user's number notation.

#include "WindowsApi.h"

#include "MessagePump.h"
#include "Pictures.h"
#include "platform/Runtime.h"

namespace velmora::win32 {

class Win32Widgets;

class Win32Runtime : public Runtime {
public:
    // Boxes belong to the program's window while it is shown.
    Win32Runtime(MessagePump& pump, Pictures& pictures, const Win32Widgets& widgets)
        : pump_(pump), pictures_(pictures), widgets_(widgets) {}

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
    char PathSeparator() override { return '\\'; }
    void FileDateTime(std::string_view path) override;
    Picture LoadPicture(std::string_view path) override;
    std::string FindOrdinaryFile(std::string_view path) override;
    std::string ReadTextFile(std::string_view path, std::size_t mostBytes) override;
    std::string FormatNumber(double value) override;
    std::optional<double> ParseNumber(std::string_view text) override;
    bool TextContains(std::string_view text, std::string_view find) override;

private:
    char DecimalSeparator() const;

    HWND BoxOwner() const;

    MessagePump& pump_;
    Pictures& pictures_;
    const Win32Widgets& widgets_;
};

}  // namespace velmora::win32
