// The damage register against a plain model of it (per victim, attackers in the order they first
// struck): the same totals, bit for bit, through removals whose entries the next victims reuse.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "Game/core/settings/DamageRegister.h"

namespace GAME {
namespace {

struct Step {
    std::uint32_t victim;
    std::uint32_t attacker;  // 0: the victim is removed
    float damage;
};

TEST(DamageRegister, SumsAsAPlainListPerVictimThroughRemovals) {
    const struct {
        const char* label;
        std::vector<Step> steps;
    } cases[] = {
        {"one victim, attackers in turn",
         {{5, 1, 0.1f}, {5, 2, 1e7f}, {5, 1, 0.3f}, {5, 3, -1e7f}}},
        {"victims out of order", {{9, 1, 2.0f}, {3, 1, 4.0f}, {7, 2, 8.0f}, {3, 2, 16.0f}}},
        {"removed, then struck again",
         {{4, 1, 1.5f}, {4, 2, 2.5f}, {4, 0, 0}, {4, 2, 3.0f}, {4, 1, 1e-3f}}},
        {"a removed victim's entries serve others",
         {{1, 7, 1.0f},
          {1, 8, 2.0f},
          {2, 7, 3.0f},
          {1, 0, 0},
          {3, 9, 4.0f},
          {3, 7, 5.0f},
          {3, 6, 6.0f},
          {2, 8, 7.0f},
          {2, 0, 0},
          {9, 0, 0}}},
    };
    for (const auto& c : cases) {
        DamageRegister reg;
        std::map<std::uint32_t, std::vector<std::pair<std::uint32_t, float>>> model;
        for (const Step& step : c.steps) {
            if (step.attacker == 0) {
                reg.Remove(step.victim);
                model.erase(step.victim);
                continue;
            }
            reg.Add(step.victim, step.attacker, step.damage);
            auto& entries = model[step.victim];
            bool merged = false;
            for (auto& [attacker, damage] : entries)
                if (attacker == step.attacker) {
                    damage += step.damage;
                    merged = true;
                }
            if (!merged)
                entries.emplace_back(step.attacker, step.damage);
        }
        for (std::uint32_t victim = 0; victim <= 10; ++victim) {
            const auto it = model.find(victim);
            EXPECT_EQ(reg.Has(victim), it != model.end()) << c.label << " victim " << victim;
            float total = 0.0f;
            if (it != model.end())
                for (const auto& entry : it->second)
                    total += entry.second;
            EXPECT_EQ(reg.Total(victim), total) << c.label << " victim " << victim;
            for (std::uint32_t attacker = 1; attacker <= 9; ++attacker) {
                float by = 0.0f;
                if (it != model.end())
                    for (const auto& [a, damage] : it->second)
                        if (a == attacker)
                            by += damage;
                EXPECT_EQ(reg.ByAttacker(victim, attacker), by)
                    << c.label << " victim " << victim << " attacker " << attacker;
            }
        }
    }
}

}  // namespace
}  // namespace GAME
