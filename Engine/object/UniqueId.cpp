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

bool UniqueId::FromString(const std::string& text, UniqueId& out) {
    if (text.size() != 32)
        return false;
    UniqueId id;
    for (std::size_t i = 0; i < 32; ++i) {
        const char c = text[i];
        std::uint32_t digit = 0;
        if (c >= '0' && c <= '9')
            digit = static_cast<std::uint32_t>(c - '0');
        else if (c >= 'a' && c <= 'f')
            digit = static_cast<std::uint32_t>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            digit = static_cast<std::uint32_t>(c - 'A' + 10);
        else
            return false;
        id.mWords[i / 8] = (id.mWords[i / 8] << 4) | digit;
    }
    out = id;
    return true;
}

}  // namespace GAME
