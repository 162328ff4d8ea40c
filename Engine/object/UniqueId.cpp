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

}  // namespace GAME
