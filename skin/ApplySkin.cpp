#include "ApplySkin.h"

#include "app/Main.h"

namespace velmora {

namespace {

constexpr std::string_view kSkinFile = "x/o.cjs";
constexpr std::int32_t kOptionsSkinFlag = 1;

bool TakesButtonFace(ControlKind kind) {
    return kind == ControlKind::OptionButton || kind == ControlKind::CheckBox ||
           kind == ControlKind::Frame || kind == ControlKind::Label;
}

}  // namespace

void ApplySkin(Runtime& runtime, Widgets& widgets, const FormSpec& design, SkinFramework& engine) {
    if (runtime.FindOrdinaryFile(ProgramFile(runtime, kSkinFile)).empty()) return;
    widgets.SetFormBackColor(kButtonFace);
    for (ControlId id = 0; id < design.controls.size(); ++id) {
        if (TakesButtonFace(design.controls[id].kind)) widgets.SetBackColor(id, kButtonFace);
    }
    engine.Invoke(kDispLoadSkin, DispatchKind::Method,
                  {ProgramFile(runtime, kSkinFile), std::string()});
    const Variant options = engine.Invoke(kDispOptions, DispatchKind::PropertyGet, {});
    if (!std::holds_alternative<std::int32_t>(options)) throw RuntimeError::TypeMismatch();
    engine.Invoke(kDispOptions, DispatchKind::PropertyPut,
                  {std::get<std::int32_t>(options) | kOptionsSkinFlag});
    engine.Invoke(kDispSkinDialogs, DispatchKind::PropertyPut, {true});
    engine.Invoke(kDispSkinMenus, DispatchKind::PropertyPut, {true});
    engine.Invoke(kDispApplySkin, DispatchKind::Method,
                  {static_cast<std::int32_t>(widgets.FormHandle())});
}

}  // namespace velmora
