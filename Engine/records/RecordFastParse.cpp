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

    // The loops below walk a local cursor: stores through the output's char pointers could
    // otherwise alias the member and force it to memory at every character.
    void SkipSpace() {
        const char* at = mAt;
        while (at != mEnd && (*at == ' ' || *at == '\n' || *at == '\r' || *at == '\t'))
            ++at;
        mAt = at;
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
        const char* const start = mAt;
        const char* at = start;
        for (;; ++at) {
            if (at == mEnd)
                return false;
            const auto c = static_cast<unsigned char>(*at);
            if (c == '"')
                break;
            // One test for control characters and non-ASCII bytes.
            if (static_cast<unsigned char>(c - 0x20) >= 0x60 || c == '\\')
                return false;
        }
        out = std::string_view(start, static_cast<std::size_t>(at - start));
        mAt = at + 1;
        return true;
    }

    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

    // The strict JSON number grammar. Whole numbers convert through a 64-bit integer, as the
    // general parser stores them (so "-0" is 0); others are correctly rounded.
    bool Number(double& out) {
        const char* const start = mAt;
        const char* at = start;
        const bool negative = at != mEnd && *at == '-';
        if (negative)
            ++at;
        if (at == mEnd || !IsDigit(*at))
            return false;
        // The whole part is summed while it is scanned; only long ones go through from_chars.
        const char* const digits = at;
        std::uint64_t magnitude = 0;
        if (*at == '0')
            ++at;
        else
            for (; at != mEnd && IsDigit(*at); ++at)
                magnitude = magnitude * 10 + static_cast<std::uint64_t>(*at - '0');
        const std::size_t wholeDigits = static_cast<std::size_t>(at - digits);
        bool whole = true;
        if (at != mEnd && *at == '.') {
            whole = false;
            ++at;
            if (at == mEnd || !IsDigit(*at))
                return false;
            while (at != mEnd && IsDigit(*at))
                ++at;
        }
        if (at != mEnd && (*at == 'e' || *at == 'E')) {
            whole = false;
            ++at;
            if (at != mEnd && (*at == '+' || *at == '-'))
                ++at;
            if (at == mEnd || !IsDigit(*at))
                return false;
            while (at != mEnd && IsDigit(*at))
                ++at;
        }
        mAt = at;
        // Up to 18 digits fit either sign, 19 an unsigned magnitude: no overflow in the sum.
        if (whole && wholeDigits <= (negative ? 18u : 19u)) {
            out = negative ? static_cast<double>(-static_cast<std::int64_t>(magnitude))
                           : static_cast<double>(magnitude);
            return true;
        }
        if (whole && negative) {
            std::int64_t value = 0;
            const auto [end, error] = std::from_chars(start, at, value);
            if (error != std::errc() || end != at)
                return false;  // beyond 64 bits: left to the general parser
            out = static_cast<double>(value);
            return true;
        }
        if (whole) {
            std::uint64_t value = 0;
            const auto [end, error] = std::from_chars(start, at, value);
            if (error != std::errc() || end != at)
                return false;
            out = static_cast<double>(value);
            return true;
        }
        const auto [end, error] = std::from_chars(start, at, out);
        return error == std::errc() && end == at;
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
        // The first item decides the list's kind; an item of the other kind declines the text.
        const bool strings = mAt != mEnd && *mAt == '"';
        if (strings) {
            value.kind = RecordValue::Kind::StringList;
            value.texts.reserve(count);
        } else {
            value.numbers.reserve(count);
        }
        for (;;) {
            if (strings) {
                std::string_view text;
                if (!StringView(text))
                    return false;
                value.texts.emplace_back(text);
            } else {
                double number = 0;
                if (TakeWord("true"))
                    number = 1.0;
                else if (TakeWord("false"))
                    number = 0.0;
                else if (!Number(number))
                    return false;
                value.numbers.push_back(number);
            }
            SkipSpace();
            if (Take(']'))
                return true;
            if (!Take(','))
                return false;
            SkipSpace();
        }
    }

    // The items of the list ahead (an estimate when its text is malformed, which fails later):
    // the list's room is taken once.
    std::size_t CountItems() const {
        std::size_t count = 1;
        bool inString = false;
        const char* const end = mEnd;
        for (const char* at = mAt; at != end; ++at) {
            const char c = *at;
            if (c == '"')
                inString = !inString;  // no escapes get this far
            else if (!inString && c == ',')
                ++count;
            else if (!inString && c == ']')
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
