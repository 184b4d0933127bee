#pragma once
// The Linux program's case-insensitive text search, kept apart from the rest of the runtime so
// that the end-to-end driver, which uses no Qt itself, can call it.

#include <string_view>

namespace velmora::qt {

// Whether UTF-8 `text` contains `find`, with letter case ignored as Qt folds it (so "Ä" matches
// "ä" and "Σ" matches "σ"). An empty `find` is found everywhere.
bool ContainsIgnoringCase(std::string_view text, std::string_view find);

}  // namespace velmora::qt
