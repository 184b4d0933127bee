#include "SkinEngine.h"

#include <cctype>
#include <string>

#include "platform/RuntimeError.h"

namespace velmora {

namespace {

// Three colour lines and their comments; a larger file is no skin and is not read whole.
constexpr std::size_t kMostSkinBytes = 1 << 20;

RuntimeError NotSupported() { return {438, "Object doesn't support this property or method"}; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

// "#RRGGBB" as a colour value 0x00BBGGRR.
std::optional<std::uint32_t> ParseColour(std::string_view text) {
    if (text.size() != 7 || text[0] != '#') return std::nullopt;
    std::uint32_t rgb = 0;
    for (const char c : text.substr(1)) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
        rgb = rgb * 16 + static_cast<std::uint32_t>(std::isdigit(static_cast<unsigned char>(c))
                                                         ? c - '0'
                                                         : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10);
    }
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

template <typename T>
const T& Argument(const std::vector<Variant>& args, std::size_t index) {
    if (index >= args.size() || !std::holds_alternative<T>(args[index])) {
        throw RuntimeError::TypeMismatch();
    }
    return std::get<T>(args[index]);
}

}  // namespace

std::optional<Palette> ParseSkin(std::string_view text) {
    std::optional<std::uint32_t> face, colourOfText, highlight;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        line = Trim(line.substr(0, line.find(';')));
        if (line.empty()) continue;
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) return std::nullopt;
        const std::string_view name = Trim(line.substr(0, equals));
        const std::optional<std::uint32_t> colour = ParseColour(Trim(line.substr(equals + 1)));
        if (!colour) return std::nullopt;
        if (name == "face") {
            face = colour;
        } else if (name == "text") {
            colourOfText = colour;
        } else if (name == "highlight") {
            highlight = colour;
        } else {
            return std::nullopt;
        }
    }
    if (!face || !colourOfText || !highlight) return std::nullopt;
    return Palette{*face, *colourOfText, *highlight};
}

Variant SkinEngine::Invoke(int dispatchId, DispatchKind kind, const std::vector<Variant>& args) {
    switch (dispatchId) {
        case kDispLoadSkin:
            if (kind != DispatchKind::Method) break;
            return LoadSkin(Argument<std::string>(args, 0));
        case kDispApplySkin:
            if (kind != DispatchKind::Method) break;
            ApplySkin(Argument<std::int32_t>(args, 0));
            return {};
        case kDispOptions:
            if (kind == DispatchKind::PropertyGet) return options_;
            if (kind != DispatchKind::PropertyPut) break;
            options_ = Argument<std::int32_t>(args, 0);
            return {};
        case kDispSkinDialogs:
        case kDispSkinMenus:
            if (kind != DispatchKind::PropertyPut) break;
            (dispatchId == kDispSkinDialogs ? skinDialogs_ : skinMenus_) = Argument<bool>(args, 0);
            return {};
        default:
            break;
    }
    throw NotSupported();
}

bool SkinEngine::LoadSkin(const std::string& path) {
    try {
        palette_ = ParseSkin(runtime_.ReadTextFile(path, kMostSkinBytes));
    } catch (const RuntimeError&) {
        palette_.reset();
    }
    return palette_.has_value();
}

void SkinEngine::ApplySkin(std::int32_t window) {
    if (palette_ && static_cast<Hwnd>(window) == widgets_.FormHandle()) widgets_.ApplyPalette(*palette_);
}

}  // namespace velmora
