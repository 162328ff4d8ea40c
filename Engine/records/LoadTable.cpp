#include "Engine/records/LoadTable.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string_view>

#include "Engine/Engine.h"
#include "Engine/records/RecordData.h"

namespace GAME {

namespace {

const std::string kEmpty;

bool ParseNumber(const std::string& text, double& out) {
    if (text.empty())
        return false;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0')
        return false;
    out = value;
    return true;
}

// Out-of-range doubles would make the integer casts undefined.
long long ToInteger(double value) {
    if (std::isnan(value))
        return 0;
    constexpr double lo = static_cast<double>(std::numeric_limits<long long>::min());
    constexpr double hi = static_cast<double>(std::numeric_limits<long long>::max());
    if (value <= lo)
        return std::numeric_limits<long long>::min();
    if (value >= hi)
        return std::numeric_limits<long long>::max();
    return static_cast<long long>(value);
}

int ClampInt(long long v) {
    if (v < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    if (v > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    return static_cast<int>(v);
}

// Out-of-range values saturate: -1 must not become 4294967295, nor 2^32 become 0.
unsigned int ClampUInt(long long v) {
    if (v < 0)
        return 0;
    if (v > static_cast<long long>(std::numeric_limits<unsigned int>::max()))
        return std::numeric_limits<unsigned int>::max();
    return static_cast<unsigned int>(v);
}

// Beyond the float range the conversion would be undefined; saturate to infinity instead.
float ToFloat(double d) {
    constexpr double hi = std::numeric_limits<float>::max();
    if (d > hi)
        return std::numeric_limits<float>::infinity();
    if (d < -hi)
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(d);
}

void ReportKind(const RecordData& data, const char* key, const char* wanted) {
    gEngine->Log(1, "Record %s: field \"%s\" is not %s; using the default.", data.name.c_str(), key,
                 wanted);
}

std::string FormatNumber(double value) {
    char text[64];
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        std::snprintf(text, sizeof text, "%.0f", value);
    else
        std::snprintf(text, sizeof text, "%g", value);
    return text;
}

}  // namespace

const std::string& LoadTable::GetRecordName() const {
    return mData ? mData->name : kEmpty;
}

namespace {
const RecordValue* Find(const std::shared_ptr<const RecordData>& data, const char* key) {
    if (!data || !key)
        return nullptr;
    auto it = data->fields.find(std::string_view(key));
    return it == data->fields.end() ? nullptr : &it->second;
}

// A scalar number from any usable kind; false when there is none.
bool ScalarNumber(const RecordData& data, const char* key, const RecordValue& v, double& out) {
    switch (v.kind) {
        case RecordValue::Kind::Number:
            out = v.number;
            return true;
        case RecordValue::Kind::Bool:
            out = v.boolean ? 1.0 : 0.0;
            return true;
        case RecordValue::Kind::String:
            if (v.text.empty())
                return false;
            if (ParseNumber(v.text, out))
                return true;
            break;
        case RecordValue::Kind::NumberList:
            if (!v.numbers.empty()) {
                out = v.numbers.front();
                return true;
            }
            return false;
        default:
            break;
    }
    ReportKind(data, key, "a number");
    return false;
}
}  // namespace

bool LoadTable::HasKey(const char* key) const {
    return Find(mData, key) != nullptr;
}

double LoadTable::GetDouble(const char* key, double defaultValue) const {
    const RecordValue* v = Find(mData, key);
    double out;
    return v && ScalarNumber(*mData, key, *v, out) ? out : defaultValue;
}

float LoadTable::GetFloat(const char* key, float defaultValue) const {
    const RecordValue* v = Find(mData, key);
    double out;
    return v && ScalarNumber(*mData, key, *v, out) ? ToFloat(out) : defaultValue;
}

int LoadTable::GetInt(const char* key, int defaultValue) const {
    const RecordValue* v = Find(mData, key);
    double out;
    return v && ScalarNumber(*mData, key, *v, out) ? ClampInt(ToInteger(out)) : defaultValue;
}

unsigned int LoadTable::GetUInt(const char* key, unsigned int defaultValue) const {
    const RecordValue* v = Find(mData, key);
    double out;
    return v && ScalarNumber(*mData, key, *v, out) ? ClampUInt(ToInteger(out)) : defaultValue;
}

bool LoadTable::GetBool(const char* key, bool defaultValue) const {
    const RecordValue* v = Find(mData, key);
    if (!v)
        return defaultValue;
    if (v->kind == RecordValue::Kind::Bool)
        return v->boolean;
    if (v->kind == RecordValue::Kind::String) {
        if (v->text == "true" || v->text == "True")
            return true;
        if (v->text == "false" || v->text == "False")
            return false;
    }
    double out;
    return ScalarNumber(*mData, key, *v, out) ? out != 0.0 : defaultValue;
}

std::string LoadTable::GetString(const char* key, const std::string& defaultValue) const {
    const RecordValue* v = Find(mData, key);
    if (!v)
        return defaultValue;
    switch (v->kind) {
        case RecordValue::Kind::String:
            return v->text;
        case RecordValue::Kind::Number:
            return FormatNumber(v->number);
        case RecordValue::Kind::Bool:
            return v->boolean ? "1" : "0";
        case RecordValue::Kind::StringList:
            if (!v->texts.empty())
                return v->texts.front();
            return defaultValue;
        default:
            ReportKind(*mData, key, "a text");
            return defaultValue;
    }
}

namespace {
template <class T, class Convert>
void FillNumbers(const std::shared_ptr<const RecordData>& data, const char* key,
                 std::vector<T>& out, Convert convert) {
    out.clear();
    const RecordValue* v = Find(data, key);
    if (!v)
        return;
    switch (v->kind) {
        case RecordValue::Kind::NumberList:
            out.reserve(v->numbers.size());
            for (double d : v->numbers)
                out.push_back(convert(d));
            return;
        case RecordValue::Kind::StringList:
            for (const std::string& s : v->texts) {
                double d = 0;
                if (!ParseNumber(s, d))
                    ReportKind(*data, key, "a list of numbers");
                out.push_back(convert(d));
            }
            return;
        default: {
            double d;
            if (ScalarNumber(*data, key, *v, d))
                out.push_back(convert(d));
            return;
        }
    }
}
}  // namespace

void LoadTable::GetFloatArray(const char* key, std::vector<float>& out) const {
    FillNumbers(mData, key, out, [](double d) { return ToFloat(d); });
}

void LoadTable::GetIntArray(const char* key, std::vector<int>& out) const {
    FillNumbers(mData, key, out, [](double d) { return ClampInt(ToInteger(d)); });
}

void LoadTable::GetUIntArray(const char* key, std::vector<unsigned int>& out) const {
    FillNumbers(mData, key, out, [](double d) { return ClampUInt(ToInteger(d)); });
}

void LoadTable::GetStringArray(const char* key, std::vector<std::string>& out) const {
    out.clear();
    const RecordValue* v = Find(mData, key);
    if (!v)
        return;
    switch (v->kind) {
        case RecordValue::Kind::StringList:
            out = v->texts;
            return;
        case RecordValue::Kind::NumberList:
            for (double d : v->numbers)
                out.push_back(FormatNumber(d));
            return;
        default:
            out.push_back(GetString(key));
            return;
    }
}

std::size_t LoadTable::GetArraySize(const char* key) const {
    const RecordValue* v = Find(mData, key);
    if (!v)
        return 0;
    switch (v->kind) {
        case RecordValue::Kind::NumberList:
            return v->numbers.size();
        case RecordValue::Kind::StringList:
            return v->texts.size();
        case RecordValue::Kind::Other:
            return 0;
        default:
            return 1;
    }
}

float LoadTable::GetArrayFloat(const char* key, std::size_t index, float defaultValue) const {
    // Read per frame: a list of numbers is indexed in place rather than copied out.
    if (const RecordValue* v = Find(mData, key); v && v->kind == RecordValue::Kind::NumberList)
        return index < v->numbers.size() ? ToFloat(v->numbers[index]) : defaultValue;
    else if (v && v->kind == RecordValue::Kind::Number)
        return index == 0 ? ToFloat(v->number) : defaultValue;
    std::vector<float> values;
    GetFloatArray(key, values);
    return index < values.size() ? values[index] : defaultValue;
}

int LoadTable::GetArrayInt(const char* key, std::size_t index, int defaultValue) const {
    if (const RecordValue* v = Find(mData, key); v && v->kind == RecordValue::Kind::NumberList)
        return index < v->numbers.size() ? ClampInt(ToInteger(v->numbers[index])) : defaultValue;
    std::vector<int> values;
    GetIntArray(key, values);
    return index < values.size() ? values[index] : defaultValue;
}

std::string LoadTable::GetArrayString(const char* key, std::size_t index,
                                      const std::string& defaultValue) const {
    std::vector<std::string> values;
    GetStringArray(key, values);
    return index < values.size() ? values[index] : defaultValue;
}

}  // namespace GAME
