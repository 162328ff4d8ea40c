#pragma once
// A 128-bit id as four 32-bit words, word 0 first.
#include <array>
#include <cstdint>
#include <string>

namespace GAME {

class UniqueId {
public:
    UniqueId() = default;
    UniqueId(std::uint32_t w0, std::uint32_t w1, std::uint32_t w2, std::uint32_t w3)
        : mWords{w0, w1, w2, w3} {}

    std::uint32_t GetWord(int index) const { return index >= 0 && index < 4 ? mWords[index] : 0; }
    void SetWord(int index, std::uint32_t value) {
        if (index >= 0 && index < 4)
            mWords[index] = value;
    }
    // A fresh id from 128 random bits of the operating system.
    void Generate();
    bool IsNull() const { return mWords == std::array<std::uint32_t, 4>{}; }
    // Each word as eight lower-case hexadecimal digits, word 0 first.
    std::string ToString() const;
    // Reads the form ToString writes (32 hexadecimal digits); false, and the id unchanged, else.
    bool FromString(const std::string& text);

    bool operator==(const UniqueId&) const = default;
    bool operator<(const UniqueId& o) const { return mWords < o.mWords; }

private:
    std::array<std::uint32_t, 4> mWords{};
};

}  // namespace GAME
