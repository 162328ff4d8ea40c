#pragma once
// The names a formula owner answers, found by a perfect hash built at compile time: the asked
// name's length and a few of its characters pick the one candidate, which is then compared;
// whatever the number of names. Tables whose names the sample cannot tell apart hash every
// character instead.
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
        // Names that agree in length and the sampled characters never part: hash them whole at
        // once rather than try every seed first (compilers bound the steps of a constant).
        for (bool whole : {SampledKeysCollide(), true}) {
            mWhole = whole;
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
        std::size_t length = 0;
        while (name[length])
            ++length;
        const int index = mSlots[Slot(Hash(mSeed, name, length))];
        if (index == kNotFound)
            return kNotFound;
        const std::string_view& known = mNames[static_cast<std::size_t>(index)];
        if (known.size() != length)
            return kNotFound;
        for (std::size_t i = 0; i < length; ++i)
            if (known[i] != name[i])
                return kNotFound;
        return index;
    }

    std::string_view GetName(std::size_t index) const { return mNames[index]; }
    static constexpr std::size_t size() { return N; }

private:
    static constexpr std::size_t SlotCount() {
        std::size_t slots = 1;
        while (slots < 2 * N)
            slots *= 2;
        return slots;
    }
    static constexpr std::size_t kSlots = SlotCount();

    static constexpr std::uint32_t Mix(std::uint32_t hash, char c) {
        return (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }

    // The low bits of the running hash only see the low bits of the characters: mixed first.
    static constexpr std::size_t Slot(std::uint32_t hash) {
        hash ^= hash >> 16;
        hash *= 0x45d9f3bu;
        hash ^= hash >> 16;
        return hash & (kSlots - 1);
    }

    constexpr std::uint32_t Hash(std::uint32_t seed, const char* name, std::size_t length) const {
        std::uint32_t hash = Mix(seed, static_cast<char>(length));
        if (mWhole) {
            for (std::size_t i = 0; i < length; ++i)
                hash = Mix(hash, name[i]);
        } else if (length > 0) {
            hash = Mix(hash, name[0]);
            hash = Mix(hash, name[length / 2]);
            hash = Mix(hash, name[length - 1]);
        }
        return hash;
    }

    constexpr bool SampledKeysCollide() const {
        for (std::size_t i = 0; i < N; ++i)
            for (std::size_t j = i + 1; j < N; ++j) {
                const std::string_view a = mNames[i], b = mNames[j];
                if (a.size() == b.size() &&
                    (a.empty() ||
                     (a[0] == b[0] && a[a.size() / 2] == b[b.size() / 2] && a.back() == b.back())))
                    return true;
            }
        return false;
    }

    constexpr bool TrySeed(std::uint32_t seed) {
        for (auto& slot : mSlots)
            slot = kNotFound;
        for (std::size_t i = 0; i < N; ++i) {
            int& slot = mSlots[Slot(Hash(seed, mNames[i].data(), mNames[i].size()))];
            if (slot != kNotFound)
                return false;
            slot = static_cast<int>(i);
        }
        mSeed = seed;
        return true;
    }

    std::array<std::string_view, N> mNames;
    std::array<int, kSlots> mSlots{};
    std::uint32_t mSeed = 0;
    bool mWhole = false;  // every character hashed
};

}  // namespace GAME
