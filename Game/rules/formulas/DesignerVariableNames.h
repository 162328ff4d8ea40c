#pragma once
// The names a formula owner answers, found by a perfect hash built at compile time: the first
// few characters of the asked name (as few as tell the table's names apart) pick the one
// candidate, which is then compared. No length is measured first and no other name is tried,
// whatever the number of names.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace GAME {

template <std::size_t N>
class DesignerVariableNames {
public:
    static constexpr int kNotFound = -1;

    consteval explicit DesignerVariableNames(const std::array<std::string_view, N>& names)
        : mNames(names) {
        std::size_t longest = 0;
        for (const std::string_view name : mNames) {
            for (const char c : name)
                if (c == '\0')
                    throw "a name holds a null character";
            // Written as literals, so each ends in a null character that Find compares too.
            if (name.data()[name.size()] != '\0')
                throw "a name is not null-terminated";
            longest = name.size() > longest ? name.size() : longest;
        }
        // The shortest prefix that tells every name apart, else the whole names.
        std::size_t prefix = 1;
        while (prefix < longest && PrefixesCollide(prefix))
            ++prefix;
        for (const std::size_t hashed : {prefix, longest}) {
            mPrefix = hashed < kMaxHashed ? hashed : kMaxHashed;
            for (std::uint32_t seed = 1; seed < 20000; ++seed)
                if (TrySeed(seed))
                    return;
        }
        throw "no perfect hash for these names";  // a compile error: the table is consteval
    }

    // The index of the name in the table, or kNotFound (also for null).
    int Find(const char* name) const {
        if (!name)
            return kNotFound;
        const int index = mSlots[Slot(Hash(mSeed, name))];
        if (index == kNotFound)
            return kNotFound;
        // Up to and with the known name's null character; stops at the first difference, so
        // never reads past the asked name's end.
        const char* known = mNames[static_cast<std::size_t>(index)].data();
        std::size_t i = 0;
        while (known[i] == name[i]) {
            if (known[i] == '\0')
                return index;
            ++i;
        }
        return kNotFound;
    }

    std::string_view GetName(std::size_t index) const { return mNames[index]; }
    static constexpr std::size_t size() { return N; }

private:
    static constexpr std::size_t SlotCount() {
        std::size_t slots = 1;
        while (slots < 4 * N)
            slots *= 2;
        return slots;
    }
    static constexpr std::size_t kSlots = SlotCount();

    static constexpr std::uint32_t Mix(std::uint32_t hash, char c) {
        return (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }

    // The high bits of a product see every bit of the running hash.
    static constexpr std::size_t Slot(std::uint32_t hash) {
        std::size_t bits = 0;
        while ((std::size_t{1} << bits) < kSlots)
            ++bits;
        return bits == 0 ? 0 : static_cast<std::size_t>((hash * 0x9e3779b1u) >> (32 - bits));
    }

    // The first mPrefix characters, fewer for a shorter name.
    constexpr std::uint32_t Hash(std::uint32_t seed, const char* name) const {
        std::uint32_t hash = seed;
        for (std::size_t i = 0; i < mPrefix && name[i] != '\0'; ++i)
            hash = Mix(hash, name[i]);
        return hash;
    }

    constexpr bool PrefixesCollide(std::size_t prefix) const {
        for (std::size_t i = 0; i < N; ++i)
            for (std::size_t j = i + 1; j < N; ++j)
                if (mNames[i].substr(0, prefix) == mNames[j].substr(0, prefix))
                    return true;
        return false;
    }

    constexpr bool TrySeed(std::uint32_t seed) {
        for (auto& slot : mSlots)
            slot = kNotFound;
        for (std::size_t i = 0; i < N; ++i) {
            // A name's view is not null-terminated: hashed from a terminated copy.
            char text[kMaxHashed + 1] = {};
            for (std::size_t k = 0; k < mNames[i].size() && k < mPrefix; ++k)
                text[k] = mNames[i][k];
            int& slot = mSlots[Slot(Hash(seed, text))];
            if (slot != kNotFound)
                return false;
            slot = static_cast<int>(i);
        }
        mSeed = seed;
        return true;
    }

    static constexpr std::size_t kMaxHashed = 256;

    std::array<std::string_view, N> mNames;
    std::array<int, kSlots> mSlots{};
    std::uint32_t mSeed = 0;
    std::size_t mPrefix = 0;  // characters hashed
};

}  // namespace GAME
