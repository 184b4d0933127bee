#include <gtest/gtest.h>

#include "app/Main.h"
#include "app/Settings.h"
#include "platform/sim/SimPlatform.h"

namespace velmora {
namespace {

struct TruthTextTest : ::testing::Test {
    sim::SimPlatform sim;
};

TEST_F(TruthTextTest, WordsAndNumbersConvert) {
    EXPECT_TRUE(TextToTruth(sim.runtime, "True"));
    EXPECT_TRUE(TextToTruth(sim.runtime, "TRUE"));
    EXPECT_TRUE(TextToTruth(sim.runtime, " true "));
    EXPECT_FALSE(TextToTruth(sim.runtime, "False"));
    EXPECT_FALSE(TextToTruth(sim.runtime, "false"));
    EXPECT_TRUE(TextToTruth(sim.runtime, "1"));
    EXPECT_TRUE(TextToTruth(sim.runtime, "-1"));
    EXPECT_TRUE(TextToTruth(sim.runtime, "0.5"));
    EXPECT_FALSE(TextToTruth(sim.runtime, "0"));
    EXPECT_FALSE(TextToTruth(sim.runtime, "0.0"));
}

TEST_F(TruthTextTest, NumbersFollowTheLocaleSeparator) {
    sim.runtime.decimalSeparator = ',';
    EXPECT_TRUE(TextToTruth(sim.runtime, "0,5"));
    EXPECT_THROW(TextToTruth(sim.runtime, "0.5"), RuntimeError);
}

TEST_F(TruthTextTest, AnythingElseIsATypeMismatch) {
    for (const char* text : {"abc", "", " ", "Yes", "Truex", "1a", "--1"}) {
        try {
            TextToTruth(sim.runtime, text);
            ADD_FAILURE() << "accepted \"" << text << '"';
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.description(), "Type mismatch") << text;
        }
    }
}

TEST_F(TruthTextTest, TruthValuesAreStoredAsWords) {
    settings::WriteTruth(sim.runtime, settings::Option2, true);
    settings::WriteTruth(sim.runtime, settings::Option4, false);
    EXPECT_EQ(sim.runtime.settings.at("Quillfern\\Velmora Suite\\Option2"), "True");
    EXPECT_EQ(sim.runtime.settings.at("Quillfern\\Velmora Suite\\Option4"), "False");
}

TEST_F(TruthTextTest, MissingKeysReadAsTheirDefaults) {
    EXPECT_TRUE(settings::ReadTruth(sim.runtime, settings::Option1));
    EXPECT_FALSE(settings::ReadTruth(sim.runtime, settings::Option2));
    EXPECT_TRUE(settings::ReadTruth(sim.runtime, settings::Option3));
    EXPECT_FALSE(settings::ReadTruth(sim.runtime, settings::Option4));
    EXPECT_EQ(settings::Read(sim.runtime, settings::Text1), "1");
}

TEST(AppTitle, CutsBeforeTheLastBlankAtLeastOnce) {
    EXPECT_EQ(AppTitleFrom("Velmora Suite"), "Velmora");
    EXPECT_EQ(AppTitleFrom("A B"), "A");
    EXPECT_EQ(AppTitleFrom("Velmora Suite Pro"), "Velmora Suite");
}

TEST(AppTitle, CutsUntilFortyCharactersOrFewer) {
    const std::string a36(36, 'a');
    EXPECT_EQ(AppTitleFrom(a36 + " bb cc"), a36 + " bb");         // 42 characters, one cut
    EXPECT_EQ(AppTitleFrom(a36 + " bbb cc"), a36 + " bbb");       // 43 -> exactly 40
    EXPECT_EQ(AppTitleFrom(a36 + " b cc"), a36 + " b");           // 41 -> 38
    EXPECT_EQ(AppTitleFrom(a36 + " bbbbbb c"), a36);              // 45 -> 43 -> 36
    EXPECT_EQ(AppTitleFrom("one " + std::string(40, 'b') + " two three"), "one");
}

TEST(AppTitle, ANameWithoutABlankStaysWhole) {
    EXPECT_EQ(AppTitleFrom("Velmora"), "Velmora");
}

TEST(ProgramFile, JoinsTheProgramFolderWithThePlatformSeparator) {
    sim::SimPlatform sim;
    sim.runtime.appPath = "C:\\Apps\\Velmora";
    EXPECT_EQ(ProgramFile(sim.runtime, "HAND-M.CUR"), "C:\\Apps\\Velmora\\HAND-M.CUR");
    EXPECT_EQ(ProgramFile(sim.runtime, "x/o.cjs"), "C:\\Apps\\Velmora\\x\\o.cjs");
}

TEST(FileExistsTest, TrueOnlyWhenThePathCanBeDated) {
    sim::SimPlatform sim;
    sim.runtime.files["C:\\a.txt"] = "";
    EXPECT_TRUE(FileExists(sim.runtime, "C:\\a.txt"));
    EXPECT_FALSE(FileExists(sim.runtime, "C:\\b.txt"));
    EXPECT_FALSE(FileExists(sim.runtime, ""));
    EXPECT_TRUE(sim.runtime.messages.empty());
}

}  // namespace
}  // namespace velmora
