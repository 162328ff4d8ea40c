#include "Engine/object/UniqueId.h"

#include <cstdio>
#include <random>

namespace GAME {

void UniqueId::Generate() {
    // The operating system's entropy source, as a GUID generator would use.
    std::random_device device;
    for (auto& word : mWords)
        word = static_cast<std::uint32_t>(device());
}

std::string UniqueId::ToString() const {
    char text[33];
    std::snprintf(text, sizeof text, "%08x%08x%08x%08x", mWords[0], mWords[1], mWords[2],
                  mWords[3]);
    return text;
}

bool UniqueId::FromString(const std::string& text) {
    if (text.size() != 32)
        return false;
    std::array<std::uint32_t, 4> words{};
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return false;
        words[i / 8] = (words[i / 8] << 4) | static_cast<std::uint32_t>(digit);
    }
    mWords = words;
    return true;
}

}  // namespace GAME
