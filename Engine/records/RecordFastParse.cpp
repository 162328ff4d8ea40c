#include "Engine/records/RecordFastParse.h"

#include <charconv>
#include <cstdint>
#include <string>
#include <utility>

#include "Engine/records/RecordData.h"

namespace GAME {

namespace {

class FastParser {
public:
    explicit FastParser(std::string_view text)
        : mAt(text.data()), mEnd(text.data() + text.size()) {}

    bool Record(RecordData& out) {
        SkipSpace();
        if (!Take('{'))
            return false;
        SkipSpace();
        if (!Take('}')) {
            for (;;) {
                std::string_view key;
                if (!StringView(key))
                    return false;
                SkipSpace();
                if (!Take(':'))
                    return false;
                SkipSpace();
                // Parsed in place. A repeated name keeps its last value, as the general parser
                // does.
                auto [field, added] = out.fields.try_emplace(std::string(key));
                if (!added)
                    field->second = RecordValue();
                if (!Value(field->second))
                    return false;
                SkipSpace();
                if (Take('}'))
                    break;
                if (!Take(','))
                    return false;
                SkipSpace();
            }
        }
        SkipSpace();
        return mAt == mEnd;
    }

private:
    enum class Scalar { None, Number, String, Bool };

    void SkipSpace() {
        while (mAt != mEnd && (*mAt == ' ' || *mAt == '\n' || *mAt == '\r' || *mAt == '\t'))
            ++mAt;
    }
    bool Take(char c) {
        if (mAt == mEnd || *mAt != c)
            return false;
        ++mAt;
        return true;
    }
    bool TakeWord(std::string_view word) {
        if (static_cast<std::size_t>(mEnd - mAt) < word.size() ||
            std::string_view(mAt, word.size()) != word)
            return false;
        mAt += word.size();
        return true;
    }

    // Printable ASCII without escapes only.
    bool String(std::string& out) {
        std::string_view text;
        if (!StringView(text))
            return false;
        out.assign(text);
        return true;
    }
    bool StringView(std::string_view& out) {
        if (!Take('"'))
            return false;
        const char* start = mAt;
        while (mAt != mEnd && *mAt != '"') {
            const auto c = static_cast<unsigned char>(*mAt);
            if (c < 0x20 || c >= 0x80 || c == '\\')
                return false;
            ++mAt;
        }
        if (mAt == mEnd)
            return false;
        out = std::string_view(start, static_cast<std::size_t>(mAt - start));
        ++mAt;
        return true;
    }

    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

    // The strict JSON number grammar. Whole numbers convert through a 64-bit integer, as the
    // general parser stores them (so "-0" is 0); others are correctly rounded.
    bool Number(double& out) {
        const char* start = mAt;
        const bool negative = Take('-');
        if (mAt == mEnd || !IsDigit(*mAt))
            return false;
        if (*mAt == '0')
            ++mAt;
        else
            while (mAt != mEnd && IsDigit(*mAt))
                ++mAt;
        bool whole = true;
        if (mAt != mEnd && *mAt == '.') {
            whole = false;
            ++mAt;
            if (mAt == mEnd || !IsDigit(*mAt))
                return false;
            while (mAt != mEnd && IsDigit(*mAt))
                ++mAt;
        }
        if (mAt != mEnd && (*mAt == 'e' || *mAt == 'E')) {
            whole = false;
            ++mAt;
            if (mAt != mEnd && (*mAt == '+' || *mAt == '-'))
                ++mAt;
            if (mAt == mEnd || !IsDigit(*mAt))
                return false;
            while (mAt != mEnd && IsDigit(*mAt))
                ++mAt;
        }
        if (whole && negative) {
            std::int64_t value = 0;
            const auto [end, error] = std::from_chars(start, mAt, value);
            if (error != std::errc() || end != mAt)
                return false;  // beyond 64 bits: left to the general parser
            out = static_cast<double>(value);
            return true;
        }
        if (whole) {
            std::uint64_t value = 0;
            const auto [end, error] = std::from_chars(start, mAt, value);
            if (error != std::errc() || end != mAt)
                return false;
            out = static_cast<double>(value);
            return true;
        }
        const auto [end, error] = std::from_chars(start, mAt, out);
        return error == std::errc() && end == mAt;
    }

    // A number, a string or a boolean.
    Scalar ScalarValue(double& number, std::string& text, bool& boolean) {
        if (mAt == mEnd)
            return Scalar::None;
        if (*mAt == '"')
            return String(text) ? Scalar::String : Scalar::None;
        if (TakeWord("true")) {
            boolean = true;
            return Scalar::Bool;
        }
        if (TakeWord("false")) {
            boolean = false;
            return Scalar::Bool;
        }
        return Number(number) ? Scalar::Number : Scalar::None;
    }

    bool Value(RecordValue& value) {
        if (mAt != mEnd && *mAt == '[')
            return List(value);
        switch (ScalarValue(value.number, value.text, value.boolean)) {
            case Scalar::Number:
                value.kind = RecordValue::Kind::Number;
                return true;
            case Scalar::String:
                value.kind = RecordValue::Kind::String;
                return true;
            case Scalar::Bool:
                value.kind = RecordValue::Kind::Bool;
                return true;
            case Scalar::None:
                break;
        }
        return false;
    }

    // Numbers and booleans make a number list, strings a string list; an empty list counts as
    // numbers. A mixed list is declined (the general parser's caller reports it).
    bool List(RecordValue& value) {
        ++mAt;
        SkipSpace();
        value.kind = RecordValue::Kind::NumberList;
        if (Take(']'))
            return true;
        const std::size_t count = CountItems();
        bool strings = false;
        for (std::size_t index = 0;; ++index) {
            double number = 0;
            std::string text;
            bool boolean = false;
            const Scalar scalar = ScalarValue(number, text, boolean);
            if (scalar == Scalar::None)
                return false;
            if (index == 0) {
                strings = scalar == Scalar::String;
                if (strings)
                    value.texts.reserve(count);
                else
                    value.numbers.reserve(count);
            } else if (strings != (scalar == Scalar::String))
                return false;
            if (strings)
                value.texts.push_back(std::move(text));
            else
                value.numbers.push_back(scalar == Scalar::Bool ? (boolean ? 1.0 : 0.0) : number);
            SkipSpace();
            if (Take(']'))
                break;
            if (!Take(','))
                return false;
            SkipSpace();
        }
        if (strings)
            value.kind = RecordValue::Kind::StringList;
        return true;
    }

    // The items of the list ahead (an estimate when its text is malformed, which fails later):
    // the list's room is taken once.
    std::size_t CountItems() const {
        std::size_t count = 1;
        bool inString = false;
        for (const char* at = mAt; at != mEnd; ++at) {
            if (*at == '"')
                inString = !inString;  // no escapes get this far
            else if (!inString && *at == ',')
                ++count;
            else if (!inString && *at == ']')
                break;
        }
        return count;
    }

    const char* mAt;
    const char* mEnd;
};

}  // namespace

bool ParseRecordFast(std::string_view text, RecordData& out) {
    return FastParser(text).Record(out);
}

}  // namespace GAME
