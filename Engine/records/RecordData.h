#pragma once
// The parsed form of one record (engine-internal).
#include <cstddef>
#include <memory_resource>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace GAME {

struct RecordValue {
    enum class Kind { Number, String, Bool, NumberList, StringList, Other };
    Kind kind = Kind::Other;
    bool boolean = false;
    double number = 0;
    std::string text;
    std::vector<double> numbers;
    std::vector<std::string> texts;
};

// Field reads look up by the caller's key text without building a std::string per read. Hashes
// as std::hash<std::string> does, so the field order is unchanged.
struct FieldNameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view key) const noexcept {
        return std::hash<std::string_view>{}(key);
    }
};

struct RecordData {
    // Not defaulted: a defaulted one would have make_shared zero the arena's room first.
    RecordData() noexcept {}
    RecordData(const RecordData&) = delete;
    RecordData& operator=(const RecordData&) = delete;

    std::string name;

private:
    // A record's fields are made once and dropped together, so their nodes share one arena
    // whose first part lies inside the record: a usual record costs one allocation, not one
    // per field.
    static constexpr std::size_t kInlineRoom = 832;
    alignas(std::max_align_t) std::byte mRoom[kInlineRoom];
    std::pmr::monotonic_buffer_resource mArena{mRoom, sizeof mRoom};

public:
    std::pmr::unordered_map<std::string, RecordValue, FieldNameHash, std::equal_to<>> fields{
        &mArena};
};

}  // namespace GAME
