#pragma once
// A small JSON reader for the compositor's replies: the whole text into a tree of values.
// Strict about the grammar, bounded in nesting depth and in the number of values, so a broken
// or hostile reply is an IpcError, never a crash or an unbounded allocation.

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velmora::wayland {

struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object };

    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string text;               // a string, as UTF-8
    std::vector<JsonValue> items;   // an array's items, or an object's member values
    std::vector<std::string> keys;  // an object's member names, in step with `items`

    bool Is(Kind k) const { return kind == k; }
    // The member named `key` of an object; null for a non-object or a missing member.
    const JsonValue* Find(std::string_view key) const;
};

inline constexpr int kMaxJsonDepth = 256;
inline constexpr std::size_t kMaxJsonValues = std::size_t{1} << 20;

// Throws IpcError for anything but exactly one JSON value with optional white space around
// it. Escaped surrogate pairs become one character; a lone surrogate, and bytes that are not
// UTF-8, become U+FFFD.
JsonValue ParseJson(std::string_view text);

}  // namespace velmora::wayland
