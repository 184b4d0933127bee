#include "SimRuntime.h"

#include <algorithm>

#include "TextFold.h"
#include "platform/NumberText.h"
#include "platform/RuntimeError.h"

namespace velmora::sim {

namespace {
constexpr std::string_view kProgramApp = "Quillfern";
constexpr std::string_view kProgramSection = "Velmora Suite";
}  // namespace

std::string SimRuntime::SettingPath(std::string_view app, std::string_view section,
                                    std::string_view key) {
    std::string path(app);
    path += '\\';
    path += section;
    path += '\\';
    path += key;
    return path;
}

std::string SimRuntime::Setting(std::string_view key) const {
    const auto it = settings.find(SettingPath(kProgramApp, kProgramSection, key));
    return it == settings.end() ? std::string() : it->second;
}

void SimRuntime::PutSetting(std::string_view key, std::string_view value) {
    settings.insert_or_assign(SettingPath(kProgramApp, kProgramSection, key), std::string(value));
}

std::string SimRuntime::GetSetting(std::string_view app, std::string_view section,
                                   std::string_view key, std::string_view fallback) {
    recorder_.Call("GetSetting", key);
    const auto it = settings.find(SettingPath(app, section, key));
    return it == settings.end() ? std::string(fallback) : it->second;
}

void SimRuntime::SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                             std::string_view value) {
    recorder_.Call("SaveSetting", std::string(key) + "=" + std::string(value));
    settings.insert_or_assign(SettingPath(app, section, key), std::string(value));
}

void SimRuntime::ThrowIfEnded() const {
    if (endCalls > 0) throw ProgramEnded();
}

int SimRuntime::MsgBox(std::string_view text, int style, std::string_view title) {
    ThrowIfEnded();
    recorder_.Call("MsgBox", title);
    messages.push_back({std::string(text), style, std::string(title)});
    return vbOK;
}

std::string SimRuntime::InputBox(std::string_view prompt, std::string_view title) {
    ThrowIfEnded();
    recorder_.Call("InputBox", title);
    inputPrompts.emplace_back(prompt);
    if (inputAnswers.empty()) return {};
    std::string answer = std::move(inputAnswers.front());
    inputAnswers.pop_front();
    return answer;
}

void SimRuntime::DoEvents() {
    ThrowIfEnded();
    recorder_.Call("DoEvents");
    // Events posted while these run wait for the next pass, as in a real message queue.
    std::deque<std::function<void()>> waiting;
    waiting.swap(pending_);
    for (auto& event : waiting) event();
    ThrowIfEnded();
}

void SimRuntime::Schedule(double at, std::function<void()> event) {
    scheduled_.push_back({at, std::move(event)});
}

void SimRuntime::WaitForEvents(double seconds) {
    ThrowIfEnded();
    recorder_.Call("WaitForEvents");
    if (!pending_.empty() || seconds <= 0) return;
    const auto next = std::min_element(scheduled_.begin(), scheduled_.end(),
                                       [](const Timed& a, const Timed& b) { return a.at < b.at; });
    const double deadline = clock + seconds;
    double wakeUp = deadline;
    if (next != scheduled_.end() && next->at < deadline) {
        wakeUp = std::max(clock, next->at);
        pending_.push_back(std::move(next->event));
        scheduled_.erase(next);
    }
    waited += wakeUp - clock;
    clock = wakeUp;
}

void SimRuntime::End() {
    recorder_.Call("End");
    ++endCalls;
    throw ProgramEnded();
}

std::string SimRuntime::AppPath() {
    recorder_.Call("AppPath");
    return appPath;
}

void SimRuntime::FileDateTime(std::string_view path) {
    recorder_.Call("FileDateTime", path);
    if (!files.contains(path)) throw RuntimeError::FileNotFound();
}

Picture SimRuntime::LoadPicture(std::string_view path) {
    recorder_.Call("LoadPicture", path);
    const auto file = files.find(path);
    if (file == files.end()) throw RuntimeError::FileNotFound();
    if (!file->second.starts_with(kCursorFileHeader)) throw RuntimeError::InvalidPicture();
    return nextPicture_++;
}

std::string SimRuntime::FindOrdinaryFile(std::string_view path) {
    recorder_.Call("FindOrdinaryFile", path);
    if (!files.contains(path) || hiddenFiles.contains(path) || folders.contains(path)) return {};
    const auto name = path.find_last_of('\\');
    return std::string(name == std::string_view::npos ? path : path.substr(name + 1));
}

std::string SimRuntime::ReadTextFile(std::string_view path, std::size_t mostBytes) {
    recorder_.Call("ReadTextFile", path);
    const auto file = files.find(path);
    if (file == files.end() || folders.contains(path)) throw RuntimeError::FileNotFound();
    if (file->second.size() > mostBytes) throw RuntimeError::OutOfMemory();
    return file->second;
}

std::string SimRuntime::FormatNumber(double value) {
    return FormatLocaleNumber(value, decimalSeparator);
}

std::optional<double> SimRuntime::ParseNumber(std::string_view text) {
    return ParseLocaleNumber(text, decimalSeparator);
}

bool SimRuntime::TextContains(std::string_view text, std::string_view find) {
    const std::u32string folded = FoldCase(text);
    return folded.find(FoldCase(find)) != std::u32string::npos;
}

}  // namespace velmora::sim
