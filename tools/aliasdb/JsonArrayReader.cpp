#include "JsonArrayReader.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace hh::aliasdb {

const JsonField* findField(const JsonObject& object, std::string_view name) {
    for (const auto& field : object)
        if (field.name == name)
            return &field;
    return nullptr;
}

std::string checkStringFields(const JsonObject& object,
                              std::initializer_list<std::string_view> allowed) {
    for (const auto& field : object) {
        if (std::find(allowed.begin(), allowed.end(), field.name) == allowed.end())
            return "unknown field \"" + field.name + "\"";
        if (!field.text)
            return field.name + " must be a string";
    }
    return {};
}

namespace {

using Json = nlohmann::json;

// Depth 1 is the array, depth 2 an element; nothing deeper is accepted. Every
// callback returns false to stop the parser at once.
class ArraySax : public nlohmann::json_sax<Json> {
  public:
    ArraySax(const ArrayRules& rules, const std::function<std::string(const JsonObject&)>& onObject)
        : rules_(rules), onObject_(onObject) {}

    std::string reason;

    bool null() override { return scalar({}); }
    bool boolean(bool) override { return scalar({}); }
    bool number_integer(number_integer_t) override { return scalar({}); }
    bool number_unsigned(number_unsigned_t) override { return scalar({}); }
    bool number_float(number_float_t, const string_t&) override { return scalar({}); }
    bool binary(binary_t&) override { return scalar({}); }
    bool string(string_t& value) override {
        if (depth_ == 2 && value.size() > rules_.maxFieldBytes)
            return entryFails(object_.back().name + " is longer than " +
                              std::to_string(rules_.maxFieldBytes) + " bytes");
        return scalar(std::move(value));
    }

    bool start_array(std::size_t) override {
        if (depth_ == 0) {
            depth_ = 1;
            return true;
        }
        return nested();
    }
    bool end_array() override { return true; } // only the outer array gets this far

    bool start_object(std::size_t) override {
        if (depth_ != 1)
            return depth_ == 0 ? fail("expected a JSON array of " + rules_.noun) : nested();
        if (count_ == rules_.maxObjects)
            return fail("too many " + rules_.noun + " in one request (at most " +
                        std::to_string(rules_.maxObjects) + ")");
        ++count_;
        depth_ = 2;
        object_.clear();
        return true;
    }
    bool key(string_t& name) override {
        if (findField(object_, name))
            return entryFails("duplicate field \"" + name + "\"");
        object_.push_back({std::move(name), std::nullopt});
        return true;
    }
    bool end_object() override {
        depth_ = 1;
        const std::string why = onObject_(object_);
        return why.empty() || entryFails(why);
    }

    bool parse_error(std::size_t position, const std::string&,
                     const nlohmann::detail::exception& e) override {
        // "[json.exception.parse_error.101] parse error at line 1, column 3: why"
        std::string why = e.what();
        if (const auto colon = why.find(": "); colon != std::string::npos)
            why.erase(0, colon + 2);
        // The parser counts the byte it stopped on; reasons count from 0.
        return fail("malformed JSON at byte " + std::to_string(position ? position - 1 : 0) + ": " +
                    why);
    }

  private:
    bool scalar(std::optional<std::string> text) {
        if (depth_ == 0)
            return fail("expected a JSON array of " + rules_.noun);
        if (depth_ == 1) {
            ++count_;
            return entryFails("not an object");
        }
        object_.back().text = std::move(text);
        return true;
    }
    bool nested() {
        if (depth_ == 1) {
            ++count_;
            return entryFails("not an object");
        }
        return entryFails(object_.back().name + " must be a string");
    }
    bool entryFails(const std::string& why) {
        return fail("entry " + std::to_string(count_) + ": " + why);
    }
    bool fail(std::string why) {
        if (reason.empty())
            reason = std::move(why);
        return false;
    }

    const ArrayRules& rules_;
    const std::function<std::string(const JsonObject&)>& onObject_;
    int depth_ = 0;
    std::size_t count_ = 0;
    JsonObject object_;
};

} // namespace

std::string readObjectArray(std::string_view json, const ArrayRules& rules,
                            const std::function<std::string(const JsonObject&)>& onObject) {
    ArraySax sax(rules, onObject);
    if (!Json::sax_parse(json.begin(), json.end(), &sax) && sax.reason.empty())
        return "malformed JSON";
    return sax.reason;
}

} // namespace hh::aliasdb
