#pragma once

#include "common/result.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

struct JsonMember;

// A JSON document as read: enough for what a compositor answers over its IPC.
struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string string;
    std::vector<JsonValue> items; // an array's
    std::vector<JsonMember> members; // an object's, in order

    // The member called `name` of an object; null for anything else or where there is none.
    const JsonValue* member(std::string_view name) const;
    bool isTrue() const { return kind == Kind::Bool && boolean; }
};

// A member of an object. Not std::pair: a pair of a type still being defined does not compile
// everywhere.
struct JsonMember {
    std::string name;
    JsonValue value;
};

// The document `text` holds (nesting at most 200 deep); or where and why it is not JSON.
Result<JsonValue> parseJson(std::string_view text);

} // namespace quorvex
