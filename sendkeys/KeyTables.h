#pragma once
// The named keys of the braced notation ({F4}, {LEFT 4}): each name's virtual key, and the
// names whose key-down event is sent as an extended key.

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>

namespace velmora {

using KeyNameTable = std::map<std::string, std::uint16_t, std::less<>>;
using ExtendedKeyTable = std::set<std::string, std::less<>>;

struct NamedKey {
    std::uint16_t virtualKey = 0;  // 0 when the word names no key
    bool extended = false;
};

struct KeyTables {
    KeyNameTable keyNames;          // upper-case names
    ExtendedKeyTable extendedKeys;  // upper-case names

    // The key that `word` names, in any letter case.
    NamedKey Find(std::u16string_view word) const;
};

KeyTables BuildKeyTables();

}  // namespace velmora
