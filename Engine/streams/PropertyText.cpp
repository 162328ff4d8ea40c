#include "Engine/streams/PropertyText.h"

#include <cstdint>
#include <limits>
#include <nlohmann/json.hpp>

#include "Engine/streams/IOStream.h"

namespace GAME {

namespace {

using Json = nlohmann::json;

// Hand-written files nest a few levels; this bounds the recursion whatever a file holds.
constexpr int kMaxDepth = 64;

bool WriteEntries(const Json& block, IOStream& out, const std::string& where, int depth,
                  std::string& error);

bool WriteTyped(const std::string& key, const Json& value, IOStream& out, const std::string& where,
                std::string& error) {
    if (value.size() == 1) {
        const auto first = value.begin();
        const std::string& kind = first.key();
        const Json& inner = first.value();
        if (kind == "u32" && inner.is_number_unsigned() &&
            inner.get<std::uint64_t>() <= std::numeric_limits<std::uint32_t>::max()) {
            auto word = inner.get<std::uint32_t>();
            return out.StreamUInt(key.c_str(), word);
        }
        if (kind == "float" && inner.is_number()) {
            auto number = inner.get<float>();
            return out.StreamFloat(key.c_str(), number);
        }
        if (kind == "wstring" && inner.is_string()) {
            const std::string narrow = inner.get<std::string>();
            std::wstring wide(narrow.begin(), narrow.end());
            return out.StreamWString(key.c_str(), wide);
        }
    }
    error = where + ": \"" + key + "\" is not {\"u32\": n}, {\"float\": x} or {\"wstring\": s}";
    return false;
}

bool WriteEntry(const std::string& key, const Json& value, IOStream& out, const std::string& where,
                int depth, std::string& error) {
    switch (value.type()) {
        case Json::value_t::string: {
            std::string text = value.get<std::string>();
            return out.StreamString(key.c_str(), text);
        }
        case Json::value_t::boolean: {
            bool flag = value.get<bool>();
            return out.StreamBool(key.c_str(), flag);
        }
        case Json::value_t::number_integer:
        case Json::value_t::number_unsigned:
            if (value.is_number_unsigned() &&
                value.get<std::uint64_t>() > std::numeric_limits<std::int32_t>::max()) {
                if (value.get<std::uint64_t>() > std::numeric_limits<std::uint32_t>::max())
                    break;
                auto word = value.get<std::uint32_t>();
                return out.StreamUInt(key.c_str(), word);
            }
            if (value.is_number_integer() &&
                value.get<std::int64_t>() < std::numeric_limits<std::int32_t>::min())
                break;
            {
                auto number = value.get<std::int32_t>();
                return out.StreamInt(key.c_str(), number);
            }
        case Json::value_t::number_float: {
            auto number = value.get<float>();
            return out.StreamFloat(key.c_str(), number);
        }
        case Json::value_t::array:
            out.BeginBlock(key.c_str());
            if (!WriteEntries(value, out, where + "/" + key, depth + 1, error))
                return false;
            return out.EndBlock();
        case Json::value_t::object:
            return WriteTyped(key, value, out, where, error);
        default:
            break;
    }
    error = where + ": \"" + key + "\" has a value of no property kind";
    return false;
}

bool WriteEntries(const Json& block, IOStream& out, const std::string& where, int depth,
                  std::string& error) {
    if (depth > kMaxDepth) {
        error = where + ": blocks nest deeper than " + std::to_string(kMaxDepth);
        return false;
    }
    std::size_t index = 0;
    for (const Json& entry : block) {
        const std::string place = where + "[" + std::to_string(index++) + "]";
        if (!entry.is_object() || entry.size() != 1) {
            error = place + ": a property is an object of exactly one key";
            return false;
        }
        const auto first = entry.begin();
        if (!WriteEntry(first.key(), first.value(), out, place, depth, error))
            return false;
    }
    return true;
}

}  // namespace

std::unique_ptr<IOStream> ReadPropertyText(std::string_view text, const std::string& name,
                                           std::string& error) {
    const Json document = Json::parse(text, nullptr, false);
    if (document.is_discarded()) {
        error = name + ": not a JSON text";
        return nullptr;
    }
    if (!document.is_array()) {
        error = name + ": the text is not an array of properties";
        return nullptr;
    }
    IOStream writer;
    if (!WriteEntries(document, writer, name, 0, error))
        return nullptr;
    auto reader = std::make_unique<IOStream>(writer.GetBytes());
    reader->SetName(name);
    return reader;
}

}  // namespace GAME
