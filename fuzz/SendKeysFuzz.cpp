// libFuzzer target for the keystroke sender: arbitrary bytes as a key sequence, on the model
// keyboard. The first byte picks the keyboard (bit 0: German layout, bit 1: Caps Lock on);
// the rest is the text. The errors the sender raises on purpose are expected; any other
// failure, or a batch that breaks one of the rules below, is a finding.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "platform/RuntimeError.h"
#include "platform/sim/SimKeyboard.h"
#include "sendkeys/MSendInput.h"

namespace {

using velmora::KeyInputRecord;

constexpr std::size_t kMaxRecords = 65536;
constexpr std::uint32_t kKnownFlags =
    velmora::kKeyEventExtendedKey | velmora::kKeyEventKeyUp | velmora::kKeyEventUnicode;

void Require(bool holds, const char* rule) {
    if (holds) return;
    std::fprintf(stderr, "rule broken: %s\n", rule);
    std::abort();
}

bool IsUnicode(const KeyInputRecord& record) {
    return (record.flags & velmora::kKeyEventUnicode) != 0;
}

bool IsKeyUp(const KeyInputRecord& record) { return (record.flags & velmora::kKeyEventKeyUp) != 0; }

// The checks are left out of coverage feedback: they would only steer the fuzzer towards
// large batches and slow every run down.
__attribute__((no_sanitize("coverage"))) void CheckBatch(
    const std::vector<KeyInputRecord>& batch) {
    Require(!batch.empty() && batch.size() <= kMaxRecords, "a batch holds 1 to 65,536 records");
    std::array<int, 0x100> down{};  // presses minus releases, by key
    for (std::size_t i = 0; i < batch.size(); ++i) {
        const KeyInputRecord& record = batch[i];
        Require(record.type == velmora::kInputKeyboard, "every record is keyboard input");
        Require((record.flags & ~kKnownFlags) == 0, "only the extended, key-up and Unicode flags");
        Require(record.time == 0 && record.extraInfo == 0 &&
                    std::all_of(std::begin(record.padding), std::end(record.padding),
                                [](std::uint8_t byte) { return byte == 0; }),
                "time stamp, extra information and padding are 0");
        if (IsUnicode(record)) {
            Require(record.virtualKey == 0 && (record.flags & velmora::kKeyEventExtendedKey) == 0,
                    "Unicode records carry no key and are not extended");
            const bool up = IsKeyUp(record);
            const bool hasPartner = up ? i > 0 : i + 1 < batch.size();
            const KeyInputRecord& partner = hasPartner ? batch[up ? i - 1 : i + 1] : record;
            Require(hasPartner && IsUnicode(partner) && IsKeyUp(partner) != up &&
                        partner.scanCode == record.scanCode,
                    "each Unicode key-down is followed by its key-up");
            continue;
        }
        Require(record.virtualKey != 0 && record.virtualKey <= 0xFF, "key records name a key");
        Require(IsKeyUp(record) ? (record.flags & velmora::kKeyEventExtendedKey) == 0
                                : record.scanCode == 0,
                "scan codes only on key-up, the extended flag only on key-down");
        down[record.virtualKey] += IsKeyUp(record) ? -1 : 1;
        Require(down[record.virtualKey] >= 0, "no key is released that is not down");
    }
    Require(std::all_of(down.begin(), down.end(), [](int presses) { return presses == 0; }),
            "every key is released");
}

struct Outcome {
    int error = 0;
    std::vector<KeyInputRecord> batch;
    bool operator==(const Outcome&) const = default;
};

Outcome Send(velmora::MSendInput& sender, velmora::sim::SimKeyboard& keyboard,
             std::string_view text) {
    keyboard.batches.clear();
    Outcome outcome;
    try {
        sender.SendKeySequence(text, false);
    } catch (const velmora::RuntimeError& error) {
        Require(error.number() == velmora::RuntimeError::Overflow().number() ||
                    error.number() == velmora::RuntimeError::OutOfMemory().number(),
                "the only errors are an overflowing count and too many records");
        Require(keyboard.batches.empty(), "a sequence that fails sends nothing");
        outcome.error = error.number();
        return outcome;
    }
    Require(keyboard.batches.size() <= 1, "at most one SendInput call");
    Require(!text.empty() || keyboard.batches.empty(), "an empty text sends nothing");
    if (!keyboard.batches.empty()) {
        CheckBatch(keyboard.batches.front());
        outcome.batch = std::move(keyboard.batches.front());
    }
    return outcome;
}

// One keyboard and sender for the whole run, as the program keeps one: every input also tests
// that a call does not depend on the calls before it. Nothing reads the call log, so it is off.
struct Desk {
    velmora::sim::Recorder recorder;
    velmora::sim::SimKeyboard keyboard{recorder};
    velmora::MSendInput sender{keyboard};
    Desk() { recorder.enabled = false; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static Desk desk;
    desk.keyboard.layout =
        (data[0] & 1) != 0 ? velmora::sim::Layout::German : velmora::sim::Layout::US;
    desk.keyboard.capsLock = (data[0] & 2) != 0;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);

    const Outcome first = Send(desk.sender, desk.keyboard, text);
    Require(Send(desk.sender, desk.keyboard, text) == first,
            "the same text gives the same result again");
    return 0;
}
