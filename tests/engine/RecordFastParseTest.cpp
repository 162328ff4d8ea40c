// The direct record parser against the general JSON parser: on every text it accepts, random or
// awkward, it must give exactly the fields the general parser's values convert to.
#include <gtest/gtest.h>

#include <cstring>
#include <nlohmann/json.hpp>
#include <random>
#include <string>
#include <vector>

#include "Engine/records/RecordData.h"
#include "Engine/records/RecordFastParse.h"

namespace GAME {
namespace {

bool SameNumber(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// What the general parser's values stand for; false for a text or a value it would not take.
bool Reference(const std::string& text, RecordData& out) {
    const nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
    if (json.is_discarded() || !json.is_object())
        return false;
    for (auto it = json.begin(); it != json.end(); ++it) {
        const nlohmann::json& j = it.value();
        RecordValue v;
        if (j.is_number()) {
            v.kind = RecordValue::Kind::Number;
            v.number = j.get<double>();
        } else if (j.is_string()) {
            v.kind = RecordValue::Kind::String;
            v.text = j.get<std::string>();
        } else if (j.is_boolean()) {
            v.kind = RecordValue::Kind::Bool;
            v.boolean = j.get<bool>();
        } else if (j.is_array()) {
            bool numbers = true, strings = true;
            for (const auto& e : j) {
                numbers = numbers && (e.is_number() || e.is_boolean());
                strings = strings && e.is_string();
            }
            if (!numbers && !strings)
                return false;
            v.kind = numbers ? RecordValue::Kind::NumberList : RecordValue::Kind::StringList;
            for (const auto& e : j) {
                if (numbers)
                    v.numbers.push_back(e.is_boolean() ? (e.get<bool>() ? 1.0 : 0.0)
                                                       : e.get<double>());
                else
                    v.texts.push_back(e.get<std::string>());
            }
        } else {
            return false;
        }
        out.fields[it.key()] = v;
    }
    return true;
}

void ExpectSame(const RecordData& fast, const RecordData& reference, const std::string& text) {
    ASSERT_EQ(fast.fields.size(), reference.fields.size()) << text;
    for (const auto& [key, value] : reference.fields) {
        auto it = fast.fields.find(key);
        ASSERT_NE(it, fast.fields.end()) << key << " in " << text;
        const RecordValue& got = it->second;
        ASSERT_EQ(static_cast<int>(got.kind), static_cast<int>(value.kind))
            << key << " in " << text;
        if (value.kind == RecordValue::Kind::Number) {
            EXPECT_TRUE(SameNumber(got.number, value.number)) << key << " in " << text;
        }
        EXPECT_EQ(got.text, value.text) << text;
        EXPECT_EQ(got.boolean, value.boolean) << text;
        EXPECT_EQ(got.texts, value.texts) << text;
        ASSERT_EQ(got.numbers.size(), value.numbers.size()) << text;
        for (std::size_t i = 0; i < value.numbers.size(); ++i)
            EXPECT_TRUE(SameNumber(got.numbers[i], value.numbers[i])) << text;
    }
}

const char* const kPieces[] = {"0",
                               "-0",
                               "12",
                               "-7",
                               "1.5",
                               "-0.0",
                               "1e3",
                               "2E-2",
                               "1e400",
                               "1e-400",
                               "01",
                               "1.",
                               ".5",
                               "-",
                               "+1",
                               "0x10",
                               "18446744073709551615",
                               "18446744073709551616",
                               "-9223372036854775808",
                               "-9223372036854775809",
                               "9007199254740993",
                               "9999999999999999999",
                               "-999999999999999999",
                               "-9999999999999999999",
                               "12345678901234567890",
                               "0.1e+1",
                               "true",
                               "false",
                               "null",
                               "tru",
                               "\"tagMonster\"",
                               "\"\"",
                               "\"a\\\"b\"",
                               "\"\\u00e9\"",
                               "\"\xc3\xa9\"",
                               "\"tab\there\"",
                               "[]",
                               "[1, 2, 3]",
                               "[true, 2]",
                               "[\"a\", \"b\"]",
                               "[1, \"a\"]",
                               "[[1]]",
                               "[1,]",
                               "{}",
                               "{\"x\": 1}",
                               "[null]",
                               "[ 1 , false ]"};

std::string RandomRecord(std::mt19937& rng) {
    std::uniform_int_distribution<int> pick(0, 999);
    const char* spaces[] = {"", " ", "\n", "\t", "\r\n  "};
    auto space = [&] { return std::string(spaces[pick(rng) % 5]); };
    std::string text = space() + "{" + space();
    const int fields = pick(rng) % 6;
    for (int f = 0; f < fields; ++f) {
        if (f > 0)
            text += "," + space();
        // Few names, so some repeat.
        text += "\"k" + std::to_string(pick(rng) % 4) + "\"" + space() + ":" + space();
        text += kPieces[static_cast<std::size_t>(pick(rng)) % std::size(kPieces)];
        text += space();
    }
    text += "}" + space();
    switch (pick(rng) % 20) {  // now and then a broken or unusual whole
        case 0:
            text += "x";
            break;
        case 1:
            text = "[" + text + "]";
            break;
        case 2:
            text.insert(text.size() / 2, ",");
            break;
        case 3:
            text = "\xef\xbb\xbf" + text;
            break;
        default:
            break;
    }
    return text;
}

TEST(RecordFastParse, AgreesWithTheGeneralParserOnEveryTextItTakes) {
    std::mt19937 rng(2026);
    int taken = 0;
    for (int i = 0; i < 20000; ++i) {
        const std::string text = RandomRecord(rng);
        RecordData fast;
        if (!ParseRecordFast(text, fast))
            continue;
        ++taken;
        RecordData reference;
        ASSERT_TRUE(Reference(text, reference)) << "taken but not valid: " << text;
        ExpectSame(fast, reference, text);
        if (HasFailure())
            return;
    }
    EXPECT_GT(taken, 2000);  // the ordinary records do go the direct way
}

TEST(RecordFastParse, DeclinesWhatItCannotReproduce) {
    for (const char* text :
         {"", "{", "[1]", "{\"a\": null}", "{\"a\": \"\\n\"}", "{\"a\": \"\xc3\xa9\"}",
          "{\"a\": 1e400}", "{\"a\": 18446744073709551616}", "{\"a\": [1, \"b\"]}",
          "{\"a\": [\"b\", 1]}", "{\"a\": [\"b\", true]}", "{\"a\": [", "{\"a\": {\"b\": 1}}",
          "{\"a\": 01}", "{\"a\": 1,}", "{\"a\": 1} 2", "{'a': 1}"}) {
        RecordData data;
        EXPECT_FALSE(ParseRecordFast(text, data)) << text;
    }
    RecordData data;
    ASSERT_TRUE(ParseRecordFast(R"({"a": -0, "b": [true, 3], "a": 2.5, "c": []})", data));
    EXPECT_EQ(data.fields.at("a").number, 2.5);  // a repeated name keeps its last value
    EXPECT_EQ(data.fields.at("b").numbers, (std::vector<double>{1.0, 3.0}));
    EXPECT_EQ(data.fields.at("c").kind, RecordValue::Kind::NumberList);
}

}  // namespace
}  // namespace GAME
