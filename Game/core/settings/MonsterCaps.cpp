#include "Game/core/settings/MonsterCaps.h"

#include <cstdlib>
#include <cstring>

#include "Engine/Engine.h"
#include "Engine/records/LoadTable.h"

namespace GAME {

namespace {

struct CapKeys {
    const char* low[MonsterCaps::kSpeeds];
    const char* high[MonsterCaps::kSpeeds];
};
// In the order of MonsterCaps::Speed; any other monster's, then a boss's.
constexpr CapKeys kKeys[2] = {
    {{"monsterRunSpeedCapMin", "monsterSpellCastSpeedCapMin", "monsterAttackSpeedCapMin"},
     {"monsterRunSpeedCapMax", "monsterSpellCastSpeedCapMax", "monsterAttackSpeedCapMax"}},
    {{"bossRunSpeedCapMin", "bossSpellCastSpeedCapMin", "bossAttackSpeedCapMin"},
     {"bossRunSpeedCapMax", "bossSpellCastSpeedCapMax", "bossAttackSpeedCapMax"}},
};

}  // namespace

MonsterCaps::Row MonsterCaps::Read(const LoadTable& settings, bool boss, std::size_t difficulty) {
    const CapKeys& keys = kKeys[boss ? 1 : 0];
    Row row;
    row.defense = settings.GetArrayFloat("monsterDefenseCap", difficulty, 0.0f);
    for (std::size_t speed = 0; speed < kSpeeds; ++speed) {
        row.low[speed] = settings.GetArrayFloat(keys.low[speed], difficulty, 0.0f);
        row.high[speed] = settings.GetArrayFloat(keys.high[speed], difficulty, 0.0f);
    }
    return row;
}

void MonsterCaps::ExpectSame(const Row& kept, const Row& fresh) {
    if (std::memcmp(&kept, &fresh, sizeof kept) == 0)
        return;
    gEngine->Log(0, "MonsterCaps: a kept row of caps differs from the settings record's");
    std::abort();
}

}  // namespace GAME
