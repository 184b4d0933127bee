#include "Settings.h"

#include <algorithm>
#include <cctype>

#include "platform/Runtime.h"
#include "platform/RuntimeError.h"

namespace velmora {

namespace {

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

std::string_view TruthText(bool value) { return value ? "True" : "False"; }

bool TextToTruth(Runtime& runtime, std::string_view text) {
    const std::string_view word = TrimBlanks(text);
    if (EqualsIgnoringCase(word, "True")) return true;
    if (EqualsIgnoringCase(word, "False")) return false;
    if (const auto number = runtime.ParseNumber(text)) return *number != 0;
    throw RuntimeError::TypeMismatch();
}

namespace settings {

std::string Read(Runtime& runtime, const Key& key) {
    return runtime.GetSetting(kApp, kSection, key.name, key.fallback);
}

void Write(Runtime& runtime, const Key& key, std::string_view value) {
    runtime.SaveSetting(kApp, kSection, key.name, value);
}

bool ReadTruth(Runtime& runtime, const Key& key) { return TextToTruth(runtime, Read(runtime, key)); }

void WriteTruth(Runtime& runtime, const Key& key, bool value) {
    Write(runtime, key, TruthText(value));
}

}  // namespace settings
}  // namespace velmora
