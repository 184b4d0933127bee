#include <gtest/gtest.h>

#include "SimProgram.h"
#include "skin/ApplySkin.h"
#include "skin/SkinEngine.h"

namespace velmora::test {
namespace {

constexpr char kSkinPath[] = "C:\\Program Files\\Velmora Suite\\x\\o.cjs";
constexpr char kSkin[] = "; sample\nface = #D4DEEA\ntext=#1B2A41 ; ink\n\nhighlight = #2F6FD6\n";

// Stands in for the skin engine to show what the program asks of it, and in which state the
// window is when it asks.
struct EngineLog : SkinFramework {
    sim::SimWidgets* widgets = nullptr;
    std::vector<std::tuple<int, DispatchKind, std::vector<Variant>>> calls;
    std::uint32_t formColourAtFirstCall = 0;
    int failOn = 0;

    Variant Invoke(int id, DispatchKind kind, const std::vector<Variant>& args) override {
        if (calls.empty()) formColourAtFirstCall = widgets->FormBackColor();
        calls.emplace_back(id, kind, args);
        if (id == failOn) throw RuntimeError(438, "Object doesn't support this property or method");
        return id == kDispOptions && kind == DispatchKind::PropertyGet ? Variant{std::int32_t{0x40}} : Variant{};
    }
};

struct ApplySkinTest : ::testing::Test, SimProgram {
    EngineLog engine;
    ApplySkinTest() {
        engine.widgets = &widgets();
        widgets().CreateForm(MainFormDesign(), form());
    }
    void apply(const FormSpec& design = MainFormDesign()) {
        ApplySkin(runtime(), widgets(), design, engine);
    }
};

TEST_F(ApplySkinTest, WithoutTheFileNothingChanges) {
    apply();
    EXPECT_TRUE(engine.calls.empty());
    EXPECT_EQ(widgets().FormBackColor(), kWhite);
    EXPECT_EQ(control(Control::Frame1).backColor, kWhite);
    EXPECT_EQ(control(Control::Option4).backColor, kWhite);
}

TEST_F(ApplySkinTest, WithTheFileColoursChangeFirstThenTheEngineIsDrivenInOrder) {
    runtime().files[kSkinPath] = kSkin;
    apply();
    EXPECT_EQ(engine.formColourAtFirstCall, kButtonFace);
    for (const Control c : {Control::Frame1, Control::Frame2, Control::Option1, Control::Option2,
                            Control::Option3, Control::Option4}) {
        EXPECT_EQ(control(c).backColor, kButtonFace);
    }
    for (const Control c : {Control::ListView1, Control::PushButton1, Control::Text1}) {
        EXPECT_EQ(control(c).backColor, MainFormDesign().controls[Id(c)].backColor);
    }
    using K = DispatchKind;
    const std::vector<std::tuple<int, K, std::vector<Variant>>> expected = {
        {2, K::Method, {std::string(kSkinPath), std::string()}},
        {1, K::PropertyGet, {}},
        {1, K::PropertyPut, {std::int32_t{0x41}}},
        {5, K::PropertyPut, {true}},
        {10, K::PropertyPut, {true}},
        {3, K::Method, {static_cast<std::int32_t>(widgets().FormHandle())}},
    };
    EXPECT_EQ(engine.calls, expected);
}

TEST_F(ApplySkinTest, AHiddenOrSystemFileOrAFolderIsNoSkin) {
    runtime().files[kSkinPath] = kSkin;
    runtime().hiddenFiles.insert(kSkinPath);
    apply();
    runtime().hiddenFiles.clear();
    runtime().folders.insert(kSkinPath);
    apply();
    EXPECT_TRUE(engine.calls.empty());
    EXPECT_EQ(widgets().FormBackColor(), kWhite);
}

TEST_F(ApplySkinTest, ControlsInsideFramesAreReachedToo) {
    runtime().files[kSkinPath] = kSkin;
    const std::array<ControlSpec, 5> controls{{
        {"Outer", ControlKind::Frame, "", {}, kNoParent},
        {"Inner", ControlKind::Frame, "", {}, 0},
        {"Caption", ControlKind::Label, "", {}, 1},
        {"Tick", ControlKind::CheckBox, "", {}, 1},
        {"Go", ControlKind::PushButton, "", {}, 1},
    }};
    const FormSpec design{"Nested", 100, 100, {}, kWhite, controls};
    sim::SimPlatform nested;
    EngineLog log;
    log.widgets = &nested.widgets;
    nested.runtime.files[kSkinPath] = kSkin;
    nested.widgets.CreateForm(design, form());
    ApplySkin(nested.runtime, nested.widgets, design, log);
    for (ControlId id = 0; id < 4; ++id) EXPECT_EQ(nested.widgets.Control(id).backColor, kButtonFace);
    EXPECT_EQ(nested.widgets.Control(4).backColor, kWhite);
}

TEST_F(ApplySkinTest, AnEngineFailureEndsTheStepWithTheColoursSwitched) {
    runtime().files[kSkinPath] = kSkin;
    engine.failOn = kDispSkinDialogs;
    EXPECT_THROW(apply(), RuntimeError);
    EXPECT_EQ(engine.calls.size(), 4u);
    EXPECT_EQ(widgets().FormBackColor(), kButtonFace);
}

TEST(SkinFile, ReadsItsThreeColours) {
    const auto palette = ParseSkin(kSkin);
    ASSERT_TRUE(palette.has_value());
    EXPECT_EQ(palette->face, 0xEADED4u);
    EXPECT_EQ(palette->text, 0x412A1Bu);
    EXPECT_EQ(palette->highlight, 0xD66F2Fu);
}

TEST(SkinFile, RefusesWhatItCannotUse) {
    for (const char* text : {"", "face = #D4DEEA\ntext = #1B2A41\n", "face = D4DEEA\ntext = #1B2A41\nhighlight = #2F6FD6",
                             "face = #D4DEEZ\ntext = #1B2A41\nhighlight = #2F6FD6",
                             "face = #D4DEEA\ntext = #1B2A41\nhighlight = #2F6FD6\nshadow = #000000",
                             "just words"}) {
        EXPECT_FALSE(ParseSkin(text).has_value()) << text;
    }
}

TEST(SkinAtStartUp, AUsableFileRepaintsTheWindowWithItsColours) {
    SimProgram p;
    p.runtime().files[kSkinPath] = kSkin;
    p.program.Start();
    ASSERT_TRUE(p.widgets().AppliedPalette().has_value());
    EXPECT_EQ(p.widgets().AppliedPalette()->face, 0xEADED4u);
    EXPECT_EQ(p.widgets().FormBackColor(), kButtonFace);
    EXPECT_TRUE(p.reports().empty());
}

TEST(SkinAtStartUp, AnUnusableFileLeavesOnlyTheColourSwitchAndSaysNothing) {
    SimProgram p;
    p.runtime().files[kSkinPath] = "not a skin";
    p.program.Start();
    EXPECT_FALSE(p.widgets().AppliedPalette().has_value());
    EXPECT_EQ(p.widgets().FormBackColor(), kButtonFace);
    EXPECT_TRUE(p.runtime().messages.empty());
}

}  // namespace
}  // namespace velmora::test
