#include "Json.h"

#include <charconv>
#include <cstdint>

#include "IpcError.h"
#include "platform/Utf16.h"

namespace velmora::wayland {

const JsonValue* JsonValue::Find(std::string_view key) const {
    if (kind != Kind::Object) return nullptr;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (keys[i] == key) return &items[i];
    }
    return nullptr;
}

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    JsonValue Document() {
        JsonValue value = Value(0);
        SkipSpace();
        if (at_ != text_.size()) Fail("text after the value");
        return value;
    }

private:
    [[noreturn]] static void Fail(const char* what) {
        throw IpcError(std::string("sway IPC: malformed JSON: ") + what);
    }

    bool AtEnd() const { return at_ >= text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[at_]; }

    void SkipSpace() {
        while (!AtEnd() && (Peek() == ' ' || Peek() == '\t' || Peek() == '\n' || Peek() == '\r')) {
            ++at_;
        }
    }

    void Expect(char c) {
        if (Peek() != c || AtEnd()) Fail("unexpected character");
        ++at_;
    }

    void Word(std::string_view word) {
        if (text_.substr(at_, word.size()) != word) Fail("unknown word");
        at_ += word.size();
    }

    JsonValue Value(int depth) {
        if (depth >= kMaxJsonDepth) Fail("nested too deeply");
        if (++values_ > kMaxJsonValues) Fail("too many values");
        SkipSpace();
        JsonValue value;
        switch (Peek()) {
            case '{': Object(value, depth); break;
            case '[': Array(value, depth); break;
            case '"':
                value.kind = JsonValue::Kind::String;
                value.text = String();
                break;
            case 't':
                Word("true");
                value.kind = JsonValue::Kind::Bool;
                value.boolean = true;
                break;
            case 'f':
                Word("false");
                value.kind = JsonValue::Kind::Bool;
                break;
            case 'n': Word("null"); break;
            default:
                value.kind = JsonValue::Kind::Number;
                value.number = Number();
                break;
        }
        return value;
    }

    void Array(JsonValue& value, int depth) {
        value.kind = JsonValue::Kind::Array;
        Expect('[');
        SkipSpace();
        if (Peek() == ']') {
            ++at_;
            return;
        }
        for (;;) {
            value.items.push_back(Value(depth + 1));
            SkipSpace();
            if (Peek() == ']' && !AtEnd()) break;
            Expect(',');
        }
        ++at_;
    }

    void Object(JsonValue& value, int depth) {
        value.kind = JsonValue::Kind::Object;
        Expect('{');
        SkipSpace();
        if (Peek() == '}' && !AtEnd()) {
            ++at_;
            return;
        }
        for (;;) {
            SkipSpace();
            if (Peek() != '"' || AtEnd()) Fail("member name expected");
            value.keys.push_back(String());
            SkipSpace();
            Expect(':');
            value.items.push_back(Value(depth + 1));
            SkipSpace();
            if (Peek() == '}' && !AtEnd()) break;
            Expect(',');
        }
        ++at_;
    }

    char32_t Hex4() {
        if (text_.size() - at_ < 4) Fail("short \\u escape");
        char32_t code = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = text_[at_++];
            code <<= 4;
            if (c >= '0' && c <= '9') {
                code |= static_cast<char32_t>(c - '0');
            } else if (c >= 'a' && c <= 'f') {
                code |= static_cast<char32_t>(c - 'a' + 10);
            } else if (c >= 'A' && c <= 'F') {
                code |= static_cast<char32_t>(c - 'A' + 10);
            } else {
                Fail("bad \\u escape");
            }
        }
        return code;
    }

    // After "\u": one character, a surrogate pair joined, a lone surrogate as U+FFFD.
    char32_t EscapedCharacter() {
        const char32_t first = Hex4();
        if (IsLowSurrogate(first)) return kReplacement;
        if (!IsHighSurrogate(first)) return first;
        if (text_.substr(at_, 2) != "\\u") return kReplacement;
        const std::size_t pairStart = at_;
        at_ += 2;
        const char32_t second = Hex4();
        if (!IsLowSurrogate(second)) {
            at_ = pairStart;  // the next escape stands on its own
            return kReplacement;
        }
        return 0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00);
    }

    std::string String() {
        Expect('"');
        std::string out;
        std::size_t runStart = at_;
        const auto flushRun = [&] { out += ValidUtf8(text_.substr(runStart, at_ - runStart)); };
        for (;;) {
            if (AtEnd()) Fail("unterminated string");
            const char c = text_[at_];
            if (c == '"') break;
            if (static_cast<unsigned char>(c) < 0x20) Fail("control character in string");
            if (c != '\\') {
                ++at_;
                continue;
            }
            flushRun();
            ++at_;
            if (AtEnd()) Fail("unterminated string");
            switch (text_[at_++]) {
                case '"': out += '"'; break;
                case '\\': out += '\\'; break;
                case '/': out += '/'; break;
                case 'b': out += '\b'; break;
                case 'f': out += '\f'; break;
                case 'n': out += '\n'; break;
                case 'r': out += '\r'; break;
                case 't': out += '\t'; break;
                case 'u': AppendUtf8(out, EscapedCharacter()); break;
                default: Fail("bad escape");
            }
            runStart = at_;
        }
        flushRun();
        ++at_;
        return out;
    }

    // -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?, read without the locale's help.
    double Number() {
        const std::size_t start = at_;
        const auto digits = [&] {
            const std::size_t first = at_;
            while (!AtEnd() && Peek() >= '0' && Peek() <= '9') ++at_;
            if (at_ == first) Fail("digit expected");
        };
        if (Peek() == '-') ++at_;
        if (Peek() == '0' && !AtEnd()) {
            ++at_;
        } else {
            digits();
        }
        if (Peek() == '.' && !AtEnd()) {
            ++at_;
            digits();
        }
        if ((Peek() == 'e' || Peek() == 'E') && !AtEnd()) {
            ++at_;
            if (Peek() == '+' || Peek() == '-') ++at_;
            digits();
        }
        double number = 0;
        const auto [end, error] = std::from_chars(text_.data() + start, text_.data() + at_, number);
        // Beyond what a double holds: no field of a reply uses such a number.
        if (error != std::errc() || end != text_.data() + at_) Fail("number out of range");
        return number;
    }

    std::string_view text_;
    std::size_t at_ = 0;
    std::size_t values_ = 0;
};

}  // namespace

JsonValue ParseJson(std::string_view text) { return Parser(text).Document(); }

}  // namespace velmora::wayland
