#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "platform/sim/SimPlatform.h"
#include "sendkeys/KeyTables.h"
#include "sendkeys/MSendInput.h"

namespace velmora {

void PrintTo(const KeyInputRecord& record, std::ostream* out) {
    *out << std::hex << "{type " << record.type << " vk 0x" << record.virtualKey << " scan 0x"
         << record.scanCode << " flags " << record.flags << std::dec << '}';
}

namespace {

using Records = std::vector<KeyInputRecord>;

Records operator+(Records first, const Records& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

Records Repeated(const Records& records, int times) {
    Records all;
    for (int i = 0; i < times; ++i) all.insert(all.end(), records.begin(), records.end());
    return all;
}

KeyInputRecord Event(std::uint16_t virtualKey, std::uint16_t scanCode, std::uint32_t flags) {
    return {kInputKeyboard, virtualKey, scanCode, flags};
}
Records Down(std::uint16_t virtualKey) { return {Event(virtualKey, 0, 0)}; }
Records Up(std::uint16_t virtualKey) { return {Event(virtualKey, 0, kKeyEventKeyUp)}; }
Records Unicode(char16_t unit) {
    return {Event(0, unit, kKeyEventUnicode), Event(0, unit, kKeyEventUnicode | kKeyEventKeyUp)};
}

struct Case {
    std::string text;
    Records expected;
};

struct SendKeys : ::testing::Test {
    sim::SimPlatform sim;
    MSendInput sender{sim.keyboard};

    // The one batch that `text` injects.
    Records Send(const std::string& text) {
        sim.keyboard.batches.clear();
        sender.SendKeySequence(text, false);
        EXPECT_EQ(sim.keyboard.batches.size(), 1u) << text;
        return sim.keyboard.batches.empty() ? Records{} : sim.keyboard.batches.back();
    }
    // A key pressed and released; the key-up carries the layout's scan code.
    Records Stroke(std::uint16_t virtualKey, bool extended = false) {
        const auto scan = sim.keyboard.MapVirtualKey(virtualKey, sim.keyboard.GetKeyboardLayout());
        return {Event(virtualKey, 0, extended ? kKeyEventExtendedKey : 0),
                Event(virtualKey, scan, kKeyEventKeyUp)};
    }
    Records Shifted(std::uint16_t virtualKey) {
        return Down(kVkShift) + Stroke(virtualKey) + Up(kVkShift);
    }
    Records AltGr(std::uint16_t virtualKey) {
        return Down(kVkControl) + Down(kVkMenu) + Stroke(virtualKey) + Up(kVkControl) + Up(kVkMenu);
    }
    void ExpectBatches(const std::vector<Case>& cases) {
        for (const Case& c : cases) EXPECT_EQ(Send(c.text), c.expected) << c.text;
    }
};

TEST_F(SendKeys, SequencesWithoutEventsCallNoSendInput) {
    for (const char* text : {"", "(", "{", "(("}) sender.SendKeySequence(text, false);
    EXPECT_EQ(sim.recorder.Count("SendInput"), 0);
}

TEST_F(SendKeys, AltF4IsOneBatchOfFourRecords) {
    const Records altF4 = {Event(0x12, 0, 0), Event(0x73, 0, 0), Event(0x73, 0x3E, 2),
                           Event(0x12, 0, 2)};
    EXPECT_EQ(Send("%{F4}"), altF4);
    sender.SendKeySequence("%{F4}", true);
    EXPECT_EQ(sim.keyboard.batches.back(), altF4);
    EXPECT_EQ(sim.recorder.Count("SendInput(4)"), 2);
}

TEST_F(SendKeys, RepeatCountIsTheRoundedNumberTheSecondWordBeginsWith) {
    const std::vector<std::pair<std::string, int>> counts = {
        {"{F4}", 1},     {"{f4}", 1},      {"{F4 3}", 3},     {"{F4 0}", 1},
        {"{F4 -2}", 1},  {"{F4 x}", 1},    {"{F4 2.5}", 2},   {"{F4 3.5}", 4},
        {"{F4 2.51}", 3}, {"{F4 1.49}", 1}, {"{F4 +2}", 2},   {"{F4 3x}", 3},
        {"{F4  3}", 1},  {"{F4 2 5}", 2},  {"{F4 4.}", 4},    {"{F4 -2147483648.5}", 1}};
    for (const auto& [text, presses] : counts) {
        EXPECT_EQ(Send(text), Repeated(Stroke(0x73), presses)) << text;
    }
}

TEST_F(SendKeys, RepeatCountReadsExponentsAndRadixPrefixes) {
    const std::vector<std::pair<std::string, int>> counts = {
        {"{F4 1e3}", 1000},     {"{F4 1E1}", 10},      {"{F4 2e+1}", 20},     {"{F4 1d2}", 100},
        {"{F4 1.5e1}", 15},     {"{F4 25e-1}", 2},     {"{F4 35E-1}", 4},     {"{F4 251e-2}", 3},
        {"{F4 0.0005e4}", 5},   {"{F4 5e-1}", 1},      {"{F4 -3e1}", 1},      {"{F4 4e}", 4},
        {"{F4 4e+}", 4},        {"{F4 4ex}", 4},       {"{F4 0e99999999}", 1},
        {"{F4 5e-99999999999}", 1},                    {"{F4 &H1F}", 31},     {"{F4 &h1f}", 31},
        {"{F4 &O17}", 15},      {"{F4 &o17}", 15},     {"{F4 &O18}", 1},      {"{F4 &H0A.5}", 10},
        {"{F4 &H}", 1},         {"{F4 &}", 1},         {"{F4 -&H10}", 1},     {"{F4 &HFFFF}", 1},
        {"{F4 &H8000}", 1},     {"{F4 &O177777}", 1},  {"{F4 &HFFFFFFFF}", 1}};
    for (const auto& [text, presses] : counts) {
        EXPECT_EQ(Send(text), Repeated(Stroke(0x73), presses)) << text;
    }
    EXPECT_EQ(Send("{F4 &H7FFF}").size(), 2u * 32767);
}

TEST_F(SendKeys, EveryKeyNameInAnyCaseGivesItsKey) {
    struct Name {
        std::string name;
        std::uint16_t virtualKey;
        bool extended;
    };
    std::vector<Name> names = {
        {"BACKSPACE", 0x08, false}, {"BS", 0x08, false}, {"BKSP", 0x08, false},
        {"BREAK", 0x13, true}, {"CAPSLOCK", 0x14, false}, {"DELETE", 0x2E, true},
        {"DEL", 0x2E, true}, {"DOWN", 0x28, true}, {"END", 0x23, true}, {"ENTER", 0x0D, false},
        {"ESC", 0x1B, false}, {"HELP", 0x2F, false}, {"HOME", 0x24, true}, {"INS", 0x2D, true},
        {"INSERT", 0x2D, true}, {"LEFT", 0x25, true}, {"NUMLOCK", 0x90, true},
        {"PGDN", 0x22, true}, {"PGUP", 0x21, true}, {"PAUSE", 0x13, false}, {"PRINT", 0x2A, true},
        {"PRTSC", 0x2C, true}, {"PRTSCN", 0x2C, true}, {"PRINTSCRN", 0x2C, true},
        {"PRINTSCREEN", 0x2C, true}, {"RIGHT", 0x27, true}, {"SCROLLLOCK", 0x91, false},
        {"SELECT", 0x29, false}, {"TAB", 0x09, false}, {"UP", 0x26, true}};
    for (int n = 1; n <= 16; ++n) {
        names.push_back({"F" + std::to_string(n), static_cast<std::uint16_t>(0x6F + n), false});
    }
    std::set<std::string> listed;
    std::set<std::string> listedExtended;
    for (const Name& key : names) {
        std::string lower = key.name;
        for (char& c : lower) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        const Records batch = Send("{" + key.name + "}");
        EXPECT_EQ(batch, Stroke(key.virtualKey, key.extended)) << key.name;
        EXPECT_EQ(Send("{" + lower + "}"), batch) << lower;
        listed.insert(key.name);
        if (key.extended) listedExtended.insert(key.name);
    }
    // The sender knows no name beyond these.
    const KeyTables tables = BuildKeyTables();
    std::set<std::string> known;
    for (const auto& [name, virtualKey] : tables.keyNames) known.insert(name);
    EXPECT_EQ(known, listed);
    EXPECT_EQ(std::set<std::string>(tables.extendedKeys.begin(), tables.extendedKeys.end()),
              listedExtended);
}

TEST_F(SendKeys, ExtendedFlagIsOnKeyDownOnly) {
    const Records left = Send("{LEFT 4}");
    ASSERT_EQ(left.size(), 8u);
    for (std::size_t i = 0; i < left.size(); i += 2) {
        EXPECT_EQ(left[i].flags, kKeyEventExtendedKey);
        EXPECT_EQ(left[i + 1].flags, kKeyEventKeyUp);
    }
}

TEST_F(SendKeys, BracesAndGroupsTypeCharactersLiterally) {
    ExpectBatches({{"~", Stroke(kVkReturn)},
                   {"{~}", Shifted(0xC0)},
                   {"{}}", Shifted(0xDD)},
                   {"{+}", Shifted(0xBB)},
                   {"{{}", Shifted(0xDB)},
                   {"{(}{)}{^}{%}", Shifted('9') + Shifted('0') + Shifted('6') + Shifted('5')},
                   {"{abc}", Stroke('A')},
                   {"{abc 3}", Repeated(Stroke('A'), 3)},
                   {"{SPACE}", Shifted('S')},
                   {"{F17}", Shifted('F')},
                   {"{ 2}", Repeated(Stroke(' '), 2)},
                   {"{}", Shifted(0xDD)},
                   {"()", Shifted('0')},
                   {"(ab", Stroke('A') + Stroke('B')},
                   {"{F4", Shifted('F') + Stroke('4')},
                   {"(+^%{~)", Shifted(0xBB) + Shifted('6') + Shifted('5') + Shifted(0xDB) +
                                   Stroke(kVkReturn)}});
}

TEST_F(SendKeys, PrefixesHoldTheirKeyAroundOneToken) {
    ExpectBatches({{"+(ab)", Down(kVkShift) + Stroke('A') + Stroke('B') + Up(kVkShift)},
                   {"+a", Down(kVkShift) + Stroke('A') + Up(kVkShift)},
                   {"+A", Down(kVkShift) + Stroke('A') + Up(kVkShift)},
                   {"+AA", Down(kVkShift) + Stroke('A') + Up(kVkShift) + Shifted('A')},
                   {"^+a", Down(kVkControl) + Down(kVkShift) + Stroke('A') + Up(kVkShift) +
                               Up(kVkControl)},
                   {"++A", Down(kVkShift) + Down(kVkShift) + Stroke('A') + Up(kVkShift) +
                               Up(kVkShift)},
                   {"+Ω", Down(kVkShift) + Unicode(u'Ω') + Up(kVkShift)},
                   {"+", Down(kVkShift) + Up(kVkShift)},
                   {"a%", Stroke('A') + Down(kVkMenu) + Up(kVkMenu)},
                   {"^%", Down(kVkControl) + Down(kVkMenu) + Up(kVkMenu) + Up(kVkControl)}});
}

TEST_F(SendKeys, CapsLockInvertsShiftForUnbracedAsciiLettersOnly) {
    sim.keyboard.capsLock = true;
    ExpectBatches({{"A", Stroke('A')},
                   {"a", Shifted('A')},
                   {"1!", Stroke('1') + Shifted('1')},
                   {"{a}{A}", Stroke('A') + Shifted('A')},
                   {"+a", Down(kVkShift) + Stroke('A') + Up(kVkShift)}});
    sim.keyboard.layout = sim::Layout::German;
    EXPECT_EQ(Send("ä"), Stroke(0xDE));
}

TEST_F(SendKeys, CharactersWithoutKeysAreUnicodeEvents) {
    ExpectBatches({{"Ω", Unicode(u'Ω')},
                   {"😀", Unicode(0xD83D) + Unicode(0xDE00)},
                   {"é", Unicode(u'é')},
                   {"{é 2}", Repeated(Unicode(u'é'), 2)},
                   {"{😀 2}", Repeated(Unicode(0xD83D) + Unicode(0xDE00), 2)},
                   {"a\xFF", Stroke('A') + Unicode(0xFFFD)}});
}

TEST_F(SendKeys, TheGermanLayoutsAltGrCharactersPressCtrlAndAlt) {
    sim.keyboard.layout = sim::Layout::German;
    ExpectBatches({{"@", AltGr('Q')},
                   {"{@}", AltGr('Q')},
                   {"{~}", AltGr(0xBB)},
                   {"~", Stroke(kVkReturn)},
                   {"yä", Stroke('Z') + Stroke(0xDE)}});
}

TEST_F(SendKeys, ScanCodesComeFromTheLayoutReadAtTheStart) {
    struct LayoutScanKeyboard : sim::SimKeyboard {
        using SimKeyboard::SimKeyboard;
        std::uint16_t MapVirtualKey(std::uint16_t, std::uint32_t layout) override {
            return static_cast<std::uint16_t>(layout >> 16);
        }
    } keyboard{sim.recorder};
    keyboard.layout = sim::Layout::German;
    MSendInput(keyboard).SendKeySequence("y", false);
    EXPECT_EQ(keyboard.batches.at(0), Records({Event('Z', 0, 0), Event('Z', 0x0407, 2)}));
}

TEST_F(SendKeys, ErrorsSendNothing) {
    const std::vector<std::pair<std::string, int>> failures = {
        {"{F4 99999999999}", 6},  {"{F4 -99999999999}", 6}, {"{F4 2147483647.5}", 6},
        {"abc{F4 99999999999}", 6}, {"{F4 2147483647}", 7}, {"{F4 32769}", 7},
        {"+{é 40000}", 7},        {std::string(32769, 'a'), 7}, {std::string(40000, '+'), 7},
        {"{F4 1e10}", 6},         {"{F4 -1e10}", 6},          {"{F4 1e400}", 6},
        {"{F4 &H100000000}", 6},  {"{F4 1e5}", 7},            {"{F4 3.2769e4}", 7},
        {"{F4 &H10000}", 7},      {"{F4 &O200000}", 7}};
    for (const auto& [text, number] : failures) {
        try {
            sender.SendKeySequence(text, false);
            ADD_FAILURE() << text.substr(0, 20) << " was sent";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.number(), number) << text.substr(0, 20);
        }
    }
    EXPECT_EQ(sim.recorder.Count("SendInput"), 0);
    EXPECT_THROW(sender.SendKeySequence("+{F4 99999999999}", false), RuntimeError);
    EXPECT_EQ(Send("A"), Shifted('A'));
}

TEST_F(SendKeys, LongSequencesUpToTheLimitGoInOneBatch) {
    EXPECT_EQ(Send("(" + std::string(300, 'b') + ")"), Repeated(Stroke('B'), 300));
    EXPECT_EQ(Send("{F4 32768}").size(), 65536u);
    EXPECT_EQ(Send("{F4 3.2768e4}").size(), 65536u);
    const std::string prefixes(30000, '+');
    EXPECT_EQ(Send(prefixes + "a"),
              Repeated(Down(kVkShift), 30000) + Stroke('A') + Repeated(Up(kVkShift), 30000));
}

}  // namespace
}  // namespace velmora
