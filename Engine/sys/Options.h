#pragma once
// The user's switches as the host sets them, one set per machine. The game reads them by number
// (option 0: a right-click sells at once while a merchant's window is open); an unknown number
// reads false.
#include <array>

#include "Engine/sys/Machine.h"

namespace GAME {

class Options {
public:
    static constexpr int kCount = 32;

    static bool GetBool(int index) {
        const Options& options = Singleton<Options>::Get();
        return index >= 0 && index < kCount && options.mValues[static_cast<std::size_t>(index)];
    }
    static void SetBool(int index, bool value) {
        if (index >= 0 && index < kCount)
            Singleton<Options>::Get().mValues[static_cast<std::size_t>(index)] = value;
    }

private:
    std::array<bool, kCount> mValues{};
};

}  // namespace GAME
