#pragma once
// The game settings' caps on monsters' speeds and defense, by kind (a boss's or any other
// monster's keys) and difficulty. A monster's speed is capped at every evaluation and its
// defense at every hit: the settings record's arrays are read once per settings load, not
// looked up by name each time.
#include <array>
#include <cstddef>
#include <optional>

namespace GAME {

class LoadTable;

class MonsterCaps {
public:
    enum Speed : std::size_t { kRun, kCast, kAttack, kSpeeds };
    struct Row {
        float defense = 0.0f;
        float low[kSpeeds] = {};
        float high[kSpeeds] = {};
    };

    // The row of the settings record `settings` gives; kept for the first difficulties.
    template <class Settings>
    Row Of(bool boss, std::size_t difficulty, Settings&& settings) {
        if (difficulty >= kKeptDifficulties)
            return Read(settings(), boss, difficulty);
        std::optional<Row>& kept = mRows[boss ? 1 : 0][difficulty];
        if (!kept)
            kept = Read(settings(), boss, difficulty);
#ifndef NDEBUG
        else
            ExpectSame(*kept, Read(settings(), boss, difficulty));
#endif
        return *kept;
    }
    // The settings were loaded again.
    void Forget() {
        mRows = {};
    }

    static Row Read(const LoadTable& settings, bool boss, std::size_t difficulty);

private:
    static constexpr std::size_t kKeptDifficulties = 3;
    // Aborts when a kept row differs from the record's.
    static void ExpectSame(const Row& kept, const Row& fresh);

    std::array<std::array<std::optional<Row>, kKeptDifficulties>, 2> mRows{};
};

}  // namespace GAME
