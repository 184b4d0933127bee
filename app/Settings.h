#pragma once
// The program's settings: named texts in the per-user store, truth values as "True"/"False".

#include <string>
#include <string_view>

namespace velmora {

class Runtime;

namespace settings {

inline constexpr std::string_view kApp = "Quillfern";
inline constexpr std::string_view kSection = "Velmora Suite";

struct Key {
    std::string_view name;
    std::string_view fallback;  // what a missing key reads as
};

inline constexpr Key Option1{"Option1", "1"};
inline constexpr Key Option2{"Option2", "0"};
inline constexpr Key Option3{"Option3", "1"};
inline constexpr Key Option4{"Option4", "0"};
inline constexpr Key Text1{"Text1", "1"};

std::string Read(Runtime& runtime, const Key& key);
void Write(Runtime& runtime, const Key& key, std::string_view value);

// A stored truth value: "True"/"False" in any case, or a number (0 is false, others true).
// Anything else throws RuntimeError::TypeMismatch.
bool ReadTruth(Runtime& runtime, const Key& key);
void WriteTruth(Runtime& runtime, const Key& key, bool value);

}  // namespace settings

// The runtime's text form of a truth value and its conversion back.
std::string_view TruthText(bool value);
bool TextToTruth(Runtime& runtime, std::string_view text);

}  // namespace velmora
