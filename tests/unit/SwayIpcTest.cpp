// sway IPC framing and the JSON reader: what sway sends is read, anything else is an IpcError,
// never a crash or a huge allocation.

#include <gtest/gtest.h>

#include <bit>
#include <cstring>

#include "platform/wayland/IpcError.h"
#include "platform/wayland/IpcFraming.h"
#include "platform/wayland/Json.h"

namespace velmora::wayland {
namespace {

std::string Header(std::string_view magic, std::uint32_t length, std::uint32_t type) {
    std::string bytes(magic);
    char words[8];
    std::memcpy(words, &length, 4);
    std::memcpy(words + 4, &type, 4);
    return bytes.append(words, sizeof words);
}

TEST(SwayIpcFramingTest, AMessageIsMagicLengthTypeAndPayload) {
    const std::string message = EncodeIpcMessage(IpcType::RunCommand, "exit");
    if constexpr (std::endian::native == std::endian::little) {
        EXPECT_EQ(message, std::string("i3-ipc\x04\0\0\0\0\0\0\0exit", 18));
    }
    const std::string tree = EncodeIpcMessage(IpcType::GetTree, R"({"id":1})");
    EXPECT_EQ(DecodeIpcHeader(tree).type, 4u);
    EXPECT_EQ(DecodeIpcHeader(tree).length, 8u);
    EXPECT_EQ(DecodeIpcReply(tree, IpcType::GetTree), R"({"id":1})");
    EXPECT_EQ(DecodeIpcReply(EncodeIpcMessage(IpcType::GetTree, ""), IpcType::GetTree), "");
}

struct BadReply {
    const char* name;
    std::string bytes;
};

class SwayIpcBadReplyTest : public ::testing::TestWithParam<BadReply> {};

TEST_P(SwayIpcBadReplyTest, IsAnError) {
    EXPECT_THROW(DecodeIpcReply(GetParam().bytes, IpcType::GetTree), IpcError);
}

const std::string kTree = EncodeIpcMessage(IpcType::GetTree, "[1,2]");

INSTANTIATE_TEST_SUITE_P(
    Each, SwayIpcBadReplyTest,
    ::testing::Values(BadReply{"WrongMagic", "i3-ipx" + kTree.substr(6)}, BadReply{"Empty", ""},
                      BadReply{"TruncatedHeader", kTree.substr(0, 13)},
                      BadReply{"TruncatedPayload", kTree.substr(0, kTree.size() - 1)},
                      BadReply{"BytesAfterThePayload", kTree + "x"},
                      BadReply{"OversizedLength", Header("i3-ipc", kMaxIpcPayload + 1, 4)},
                      BadReply{"LargestLength", Header("i3-ipc", 0xFFFFFFFF, 4)},
                      BadReply{"WrongType", EncodeIpcMessage(IpcType::RunCommand, "[1,2]")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SwayIpcFramingTest, AnOversizedLengthFailsAtTheHeader) {
    EXPECT_THROW(DecodeIpcHeader(Header("i3-ipc", kMaxIpcPayload + 1, 0)), IpcError);
    EXPECT_EQ(DecodeIpcHeader(Header("i3-ipc", kMaxIpcPayload, 0)).length, kMaxIpcPayload);
}

TEST(JsonTest, ReadsEveryKindOfValue) {
    const JsonValue v = ParseJson(
        " {\"n\": [0, -12, 2.5e2, 1E-2, true, false, null], \"o\": {}, \"a\": [], \"s\": \"x\"} ");
    ASSERT_TRUE(v.Is(JsonValue::Kind::Object));
    const JsonValue* n = v.Find("n");
    ASSERT_NE(n, nullptr);
    ASSERT_EQ(n->items.size(), 7u);
    EXPECT_EQ(n->items[1].number, -12);
    EXPECT_EQ(n->items[2].number, 250);
    EXPECT_DOUBLE_EQ(n->items[3].number, 0.01);
    EXPECT_TRUE(n->items[4].boolean);
    EXPECT_TRUE(n->items[5].Is(JsonValue::Kind::Bool) && !n->items[5].boolean);
    EXPECT_TRUE(n->items[6].Is(JsonValue::Kind::Null));
    EXPECT_TRUE(v.Find("o")->Is(JsonValue::Kind::Object));
    EXPECT_TRUE(v.Find("a")->Is(JsonValue::Kind::Array));
    EXPECT_EQ(v.Find("s")->text, "x");
    EXPECT_EQ(v.Find("missing"), nullptr);
    EXPECT_EQ(n->Find("n"), nullptr);
}

struct JsonString {
    const char* json;
    std::string text;
};

class JsonStringTest : public ::testing::TestWithParam<JsonString> {};

TEST_P(JsonStringTest, ReadsAsUtf8) { EXPECT_EQ(ParseJson(GetParam().json).text, GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Escapes, JsonStringTest,
    ::testing::Values(JsonString{R"("\"\\\/\b\f\n\r\t")", "\"\\/\b\f\n\r\t"},
                      JsonString{R"("caf\u00e9 \u00E9")", "caf\xC3\xA9 \xC3\xA9"},
                      JsonString{R"("\u20ac")", "\xE2\x82\xAC"},
                      JsonString{R"("\ud83d\ude00!")", "\xF0\x9F\x98\x80!"},
                      JsonString{R"("\ud800x")", "\xEF\xBF\xBDx"},
                      JsonString{R"("\udc00")", "\xEF\xBF\xBD"},
                      JsonString{R"("\ud800\u0041")", "\xEF\xBF\xBD\x41"},
                      JsonString{R"("\ud800\ud83d\ude00")", "\xEF\xBF\xBD\xF0\x9F\x98\x80"},
                      JsonString{"\"\xE6\x97\xA5\xE6\x9C\xAC\"", "\xE6\x97\xA5\xE6\x9C\xAC"},
                      JsonString{"\"a\xFF\x62\"", "a\xEF\xBF\xBD\x62"}));

class MalformedJsonTest : public ::testing::TestWithParam<std::string> {};

TEST_P(MalformedJsonTest, IsAnError) { EXPECT_THROW(ParseJson(GetParam()), IpcError); }

INSTANTIATE_TEST_SUITE_P(Each, MalformedJsonTest,
                         ::testing::Values("", " ", "{", "}", "[1,]", "[1 2]", "[,1]", "{\"a\" 1}",
                                           "{a:1}", "{\"a\":1,}", "{\"a\":}", "01", "1.", ".5", "-",
                                           "+1", "1e", "1e+", "0x10", "1e999", "tru", "nul", "True",
                                           "\"abc", "\"\\x\"", "\"\\u12g4\"", "\"\\u12\"",
                                           "\"a\nb\"", "\"\\", "[1] 2", "[1]]", "NaN",
                                           std::string("[1,\0]", 5), std::string("\"a\0\"", 4)));

TEST(JsonTest, NestingIsBounded) {
    const auto nested = [](int depth) {
        return std::string(static_cast<std::size_t>(depth), '[') +
               std::string(static_cast<std::size_t>(depth), ']');
    };
    EXPECT_NO_THROW(ParseJson(nested(kMaxJsonDepth)));
    EXPECT_THROW(ParseJson(nested(kMaxJsonDepth + 1)), IpcError);
    EXPECT_THROW(ParseJson(nested(1'000'000)), IpcError);
    EXPECT_THROW(ParseJson(std::string(1'000'000, '{')), IpcError);
}

TEST(JsonTest, TheNumberOfValuesIsBounded) {
    std::string many = "[0";
    for (std::size_t i = 2; i < kMaxJsonValues; ++i) many += ",0";  // with the array: all
    EXPECT_NO_THROW(ParseJson(many + "]"));
    EXPECT_THROW(ParseJson(many + ",0]"), IpcError);
}

}  // namespace
}  // namespace velmora::wayland
