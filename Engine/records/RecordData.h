#pragma once
// The parsed form of one record (engine-internal).
#include <string>
#include <unordered_map>
#include <vector>

namespace GAME {

struct RecordValue {
    enum class Kind { Number, String, Bool, NumberList, StringList, Other };
    Kind kind = Kind::Other;
    double number = 0;
    bool boolean = false;
    std::string text;
    std::vector<double> numbers;
    std::vector<std::string> texts;
};

struct RecordData {
    std::string name;
    std::unordered_map<std::string, RecordValue> fields;
};

}  // namespace GAME
