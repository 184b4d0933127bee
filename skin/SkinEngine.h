#pragma once
// The program's own skin engine. It loads a skin file of named colours and repaints a window
// with them. The file is plain text, one setting a line, ';' starting a comment:
//
//     face      = #D4DEEA    ; background of the window and its plain controls
//     text      = #1B2A41    ; their text
//     highlight = #2F6FD6    ; selection and focus
//
// All three colours must be given. A file the engine cannot use makes the load return false
// and changes nothing.

#include <optional>
#include <string_view>

#include "SkinFramework.h"
#include "platform/Runtime.h"
#include "platform/Widgets.h"

namespace velmora {

// The palette a skin file describes; none when the text is not a usable skin.
std::optional<Palette> ParseSkin(std::string_view text);

class SkinEngine : public SkinFramework {
public:
    SkinEngine(Runtime& runtime, Widgets& widgets) : runtime_(runtime), widgets_(widgets) {}

    Variant Invoke(int dispatchId, DispatchKind kind, const std::vector<Variant>& args) override;

private:
    bool LoadSkin(const std::string& path);
    void ApplySkin(std::int32_t window);

    Runtime& runtime_;
    Widgets& widgets_;
    std::optional<Palette> palette_;
    std::int32_t options_ = 0;
    bool skinDialogs_ = false;
    bool skinMenus_ = false;
};

}  // namespace velmora
