#include "Json.h"

#include "gamelink/Sightings.h"

namespace hh::aliasdb {

const JsonValue* JsonValue::member(std::string_view name) const {
    for (const auto& [key, value] : members)
        if (key == name)
            return &value;
    return nullptr;
}

namespace {

class Reader {
  public:
    Reader(std::string_view text, int maxDepth) : s_(text), maxDepth_(maxDepth) {}

    JsonParse document() {
        JsonParse out;
        JsonValue v;
        skipBlanks();
        if (value(v, 0)) {
            skipBlanks();
            if (pos_ == s_.size())
                out.value = std::move(v);
            else
                fail("unexpected text after the value");
        }
        if (!out.value)
            out.error = "malformed JSON at byte " + std::to_string(errorAt_) + ": " + error_;
        return out;
    }

  private:
    bool fail(const char* why) {
        if (error_.empty()) {
            error_ = why;
            errorAt_ = pos_;
        }
        return false;
    }
    bool atEnd() const { return pos_ >= s_.size(); }
    char peek() const { return atEnd() ? '\0' : s_[pos_]; }
    void skipBlanks() {
        while (!atEnd() &&
               (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\n' || s_[pos_] == '\r'))
            ++pos_;
    }
    bool literal(std::string_view word) {
        if (s_.substr(pos_, word.size()) != word)
            return fail("unknown literal");
        pos_ += word.size();
        return true;
    }

    bool value(JsonValue& v, int depth) {
        if (depth > maxDepth_)
            return fail("nested too deeply");
        switch (peek()) {
        case '{':
            v.kind = JsonValue::Kind::Object;
            return object(v, depth);
        case '[':
            v.kind = JsonValue::Kind::Array;
            return array(v, depth);
        case '"':
            v.kind = JsonValue::Kind::String;
            return string(v.text);
        case 't':
            v.kind = JsonValue::Kind::Bool;
            v.boolean = true;
            return literal("true");
        case 'f':
            v.kind = JsonValue::Kind::Bool;
            return literal("false");
        case 'n':
            return literal("null");
        default:
            v.kind = JsonValue::Kind::Number;
            return number(v.text);
        }
    }

    bool array(JsonValue& v, int depth) {
        ++pos_;
        skipBlanks();
        if (peek() == ']') {
            ++pos_;
            return true;
        }
        for (;;) {
            JsonValue item;
            skipBlanks();
            if (!value(item, depth + 1))
                return false;
            v.items.push_back(std::move(item));
            skipBlanks();
            if (peek() == ']') {
                ++pos_;
                return true;
            }
            if (peek() != ',')
                return fail("expected ',' or ']'");
            ++pos_;
        }
    }

    bool object(JsonValue& v, int depth) {
        ++pos_;
        skipBlanks();
        if (peek() == '}') {
            ++pos_;
            return true;
        }
        for (;;) {
            skipBlanks();
            std::string name;
            if (peek() != '"')
                return fail("expected a member name");
            if (!string(name))
                return false;
            if (v.member(name))
                return fail("duplicate member name");
            skipBlanks();
            if (peek() != ':')
                return fail("expected ':'");
            ++pos_;
            skipBlanks();
            JsonValue member;
            if (!value(member, depth + 1))
                return false;
            v.members.emplace_back(std::move(name), std::move(member));
            skipBlanks();
            if (peek() == '}') {
                ++pos_;
                return true;
            }
            if (peek() != ',')
                return fail("expected ',' or '}'");
            ++pos_;
        }
    }

    bool hex4(char32_t& out) {
        if (pos_ + 4 > s_.size())
            return fail("short \\u escape");
        out = 0;
        for (int k = 0; k < 4; ++k) {
            const char c = s_[pos_++];
            int d = -1;
            if (c >= '0' && c <= '9')
                d = c - '0';
            else if (c >= 'a' && c <= 'f')
                d = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                d = c - 'A' + 10;
            if (d < 0)
                return fail("bad \\u escape");
            out = out * 16 + static_cast<char32_t>(d);
        }
        return true;
    }

    bool unicodeEscape(std::string& out) {
        char32_t cp = 0;
        if (!hex4(cp))
            return false;
        if (cp >= 0xDC00 && cp <= 0xDFFF)
            return fail("lone low surrogate");
        if (cp >= 0xD800 && cp <= 0xDBFF) {
            char32_t low = 0;
            if (s_.substr(pos_, 2) != "\\u")
                return fail("lone high surrogate");
            pos_ += 2;
            if (!hex4(low))
                return false;
            if (low < 0xDC00 || low > 0xDFFF)
                return fail("lone high surrogate");
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        }
        appendUtf8(out, cp);
        return true;
    }

    bool string(std::string& out) {
        const std::size_t start = pos_;
        ++pos_;
        for (;;) {
            if (atEnd())
                return fail("unterminated string");
            const char c = s_[pos_];
            if (c == '"') {
                ++pos_;
                break;
            }
            if (static_cast<unsigned char>(c) < 0x20)
                return fail("control character in a string");
            if (c != '\\') {
                out += c;
                ++pos_;
                continue;
            }
            ++pos_;
            const char e = peek();
            ++pos_;
            switch (e) {
            case '"':
            case '\\':
            case '/':
                out += e;
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u':
                if (!unicodeEscape(out))
                    return false;
                break;
            default:
                --pos_;
                return fail("bad escape");
            }
        }
        // Escapes only ever produce whole sequences, so checking the result
        // catches every malformed raw byte.
        if (!isValidUtf8(out)) {
            pos_ = start;
            return fail("string is not valid UTF-8");
        }
        return true;
    }

    bool digits() {
        const std::size_t from = pos_;
        while (!atEnd() && s_[pos_] >= '0' && s_[pos_] <= '9')
            ++pos_;
        return pos_ > from;
    }

    bool number(std::string& out) {
        const std::size_t from = pos_;
        if (peek() == '-')
            ++pos_;
        if (peek() == '0')
            ++pos_;
        else if (!digits())
            return fail("expected a value");
        if (peek() == '.') {
            ++pos_;
            if (!digits())
                return fail("expected digits after '.'");
        }
        if (peek() == 'e' || peek() == 'E') {
            ++pos_;
            if (peek() == '+' || peek() == '-')
                ++pos_;
            if (!digits())
                return fail("expected exponent digits");
        }
        out.assign(s_.substr(from, pos_ - from));
        return true;
    }

    std::string_view s_;
    int maxDepth_;
    std::size_t pos_ = 0;
    std::string error_;
    std::size_t errorAt_ = 0;
};

} // namespace

JsonParse parseJson(std::string_view text, int maxDepth) {
    return Reader(text, maxDepth).document();
}

} // namespace hh::aliasdb
