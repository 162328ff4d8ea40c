#pragma once
// An interned name: equal texts share one entry, so comparing names compares pointers.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace GAME {

class Name {
public:
    Name() = default;
    static Name Create(std::string_view text);
    // The name of a text already interned, or the empty name.
    static Name Find(std::string_view text);

    const char* c_str() const { return mEntry ? mEntry->c_str() : ""; }
    const std::string& str() const;
    bool IsEmpty() const { return !mEntry || mEntry->empty(); }

    bool operator==(const Name& other) const {
        return mEntry == other.mEntry || (IsEmpty() && other.IsEmpty());
    }
    bool operator!=(const Name& other) const { return !(*this == other); }
    // An arbitrary but fixed order (by text), for sorted containers.
    bool operator<(const Name& other) const { return str() < other.str(); }
    std::size_t Hash() const { return std::hash<const void*>()(IsEmpty() ? nullptr : mEntry); }

private:
    explicit Name(const std::string* entry) : mEntry(entry) {}
    const std::string* mEntry = nullptr;
};

}  // namespace GAME

template <>
struct std::hash<GAME::Name> {
    std::size_t operator()(const GAME::Name& n) const noexcept { return n.Hash(); }
};
