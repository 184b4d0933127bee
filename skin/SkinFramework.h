#pragma once
// The skin engine as the program drives it: late-bound calls by dispatch id.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace velmora {

using Variant = std::variant<std::monostate, bool, std::int32_t, std::string>;

enum class DispatchKind { Method, PropertyGet, PropertyPut };

// The engine's dispatch ids.
inline constexpr int kDispOptions = 1;     // property, 32-bit flags
inline constexpr int kDispLoadSkin = 2;    // method (path, resource name)
inline constexpr int kDispApplySkin = 3;   // method (window handle)
inline constexpr int kDispSkinDialogs = 5; // property, Boolean
inline constexpr int kDispSkinMenus = 10;  // property, Boolean

class SkinFramework {
public:
    virtual ~SkinFramework() = default;
    // Throws RuntimeError for an id or kind it does not support.
    virtual Variant Invoke(int dispatchId, DispatchKind kind, const std::vector<Variant>& args) = 0;
};

}  // namespace velmora
