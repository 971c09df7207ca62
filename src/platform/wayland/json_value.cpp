#include "platform/wayland/json_value.h"

#include <cstdlib>

namespace quorvex {

namespace {

constexpr int kMostDepth = 200;

class Reader {
public:
    explicit Reader(std::string_view text)
        : m_text(text)
    {
    }

    Result<JsonValue> document()
    {
        JsonValue value;
        if (!read(value, 0))
            return failure();
        skipSpace();
        if (m_at != m_text.size())
            return fail(
                "the compositor's answer has more after its end (at byte " + std::to_string(m_at) + ")");
        return value;
    }

private:
    Failure failure() const
    {
        return fail("the compositor's answer is not JSON (at byte " + std::to_string(m_at) + ")");
    }
    void skipSpace()
    {
        while (m_at < m_text.size()
            && (m_text[m_at] == ' ' || m_text[m_at] == '\n' || m_text[m_at] == '\r' || m_text[m_at] == '\t'))
            ++m_at;
    }
    bool word(std::string_view expected)
    {
        if (m_text.substr(m_at, expected.size()) != expected)
            return false;
        m_at += expected.size();
        return true;
    }
    bool read(JsonValue& value, int depth)
    {
        if (depth > kMostDepth)
            return false;
        skipSpace();
        if (m_at >= m_text.size())
            return false;
        switch (m_text[m_at]) {
        case '{':
            return readObject(value, depth);
        case '[':
            return readArray(value, depth);
        case '"':
            value.kind = JsonValue::Kind::String;
            return readString(value.string);
        case 't':
        case 'f':
            value.kind = JsonValue::Kind::Bool;
            value.boolean = m_text[m_at] == 't';
            return word(value.boolean ? "true" : "false");
        case 'n':
            return word("null");
        default:
            return readNumber(value);
        }
    }
    bool readNumber(JsonValue& value)
    {
        const size_t start = m_at;
        while (m_at < m_text.size()
            && std::string_view("+-0123456789.eE").find(m_text[m_at]) != std::string_view::npos)
            ++m_at;
        if (m_at == start)
            return false;
        const std::string digits(m_text.substr(start, m_at - start));
        char* end = nullptr;
        value.kind = JsonValue::Kind::Number;
        value.number = std::strtod(digits.c_str(), &end);
        return end == digits.c_str() + digits.size();
    }
    bool readString(std::string& into)
    {
        ++m_at; // the opening quote
        while (m_at < m_text.size()) {
            const char c = m_text[m_at++];
            if (c == '"')
                return true;
            if (c != '\\') {
                into += c;
                continue;
            }
            if (m_at >= m_text.size())
                return false;
            const char escaped = m_text[m_at++];
            switch (escaped) {
            case 'n':
                into += '\n';
                break;
            case 't':
                into += '\t';
                break;
            case 'r':
                into += '\r';
                break;
            case 'b':
                into += '\b';
                break;
            case 'f':
                into += '\f';
                break;
            case 'u': { // kept as UTF-8; names and titles are all this reads
                if (m_at + 4 > m_text.size())
                    return false;
                const std::string hex(m_text.substr(m_at, 4));
                char* end = nullptr;
                const unsigned long code = std::strtoul(hex.c_str(), &end, 16);
                if (end != hex.c_str() + 4)
                    return false;
                m_at += 4;
                if (code < 0x80) {
                    into += char(code);
                } else if (code < 0x800) {
                    into += char(0xc0 | (code >> 6));
                    into += char(0x80 | (code & 0x3f));
                } else {
                    into += char(0xe0 | (code >> 12));
                    into += char(0x80 | ((code >> 6) & 0x3f));
                    into += char(0x80 | (code & 0x3f));
                }
                break;
            }
            default:
                into += escaped;
            }
        }
        return false;
    }
    bool readArray(JsonValue& value, int depth)
    {
        value.kind = JsonValue::Kind::Array;
        ++m_at;
        skipSpace();
        if (m_at < m_text.size() && m_text[m_at] == ']') {
            ++m_at;
            return true;
        }
        for (;;) {
            value.items.emplace_back();
            if (!read(value.items.back(), depth + 1))
                return false;
            skipSpace();
            if (m_at >= m_text.size())
                return false;
            const char next = m_text[m_at++];
            if (next == ']')
                return true;
            if (next != ',')
                return false;
        }
    }
    bool readObject(JsonValue& value, int depth)
    {
        value.kind = JsonValue::Kind::Object;
        ++m_at;
        skipSpace();
        if (m_at < m_text.size() && m_text[m_at] == '}') {
            ++m_at;
            return true;
        }
        for (;;) {
            skipSpace();
            std::string name;
            if (m_at >= m_text.size() || m_text[m_at] != '"' || !readString(name))
                return false;
            skipSpace();
            if (m_at >= m_text.size() || m_text[m_at++] != ':')
                return false;
            value.members.push_back({std::move(name), JsonValue{}});
            if (!read(value.members.back().value, depth + 1))
                return false;
            skipSpace();
            if (m_at >= m_text.size())
                return false;
            const char next = m_text[m_at++];
            if (next == '}')
                return true;
            if (next != ',')
                return false;
        }
    }

    std::string_view m_text;
    size_t m_at = 0;
};

} // namespace

const JsonValue* JsonValue::member(std::string_view name) const
{
    for (const JsonMember& each : members)
        if (each.name == name)
            return &each.value;
    return nullptr;
}

Result<JsonValue> parseJson(std::string_view text)
{
    return Reader(text).document();
}

} // namespace quorvex
