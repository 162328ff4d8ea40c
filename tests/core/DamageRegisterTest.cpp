// The damage register against a plain model of it (per victim, attackers in the order they first
// struck): the same totals, bit for bit, through removals whose entries the next victims reuse.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
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

// Runs the steps on a register and on the model, then compares the ids 0 to 10, every victim's
// and the id after each.
void ExpectSameAsModel(const char* label, const std::vector<Step>& steps,
                       std::size_t reserved = 0) {
    DamageRegister reg;
    reg.Reserve(reserved);
    std::map<std::uint32_t, std::vector<std::pair<std::uint32_t, float>>> model;
    for (const Step& step : steps) {
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
    std::set<std::uint32_t> checked;
    for (std::uint32_t victim = 0; victim <= 10; ++victim)
        checked.insert(victim);
    for (const Step& step : steps)
        checked.insert({step.victim, step.victim + 1});
    for (std::uint32_t victim : checked) {
        const auto it = model.find(victim);
        ASSERT_EQ(reg.Has(victim), it != model.end()) << label << " victim " << victim;
        float total = 0.0f;
        if (it != model.end())
            for (const auto& entry : it->second)
                total += entry.second;
        EXPECT_EQ(reg.Total(victim), total) << label << " victim " << victim;
        for (std::uint32_t attacker = 1; attacker <= 9; ++attacker) {
            float by = 0.0f;
            if (it != model.end())
                for (const auto& [a, damage] : it->second)
                    if (a == attacker)
                        by += damage;
            EXPECT_EQ(reg.ByAttacker(victim, attacker), by)
                << label << " victim " << victim << " attacker " << attacker;
        }
    }
}

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
    for (const auto& c : cases)
        ExpectSameAsModel(c.label, c.steps);
}

// Crowds past the first room: the table grows while holding victims, and removals in the
// middle of collision runs must leave every other victim findable.
TEST(DamageRegister, SumsAsAPlainListPerVictimInCrowds) {
    const struct {
        const char* label;
        std::uint32_t victims;
        std::uint32_t stride;   // between victim ids: ids made in a row, or spread
        std::uint32_t removed;  // every n-th victim is removed, then struck again
        std::size_t reserved;   // victims reserved for first
    } cases[] = {
        {"ids in a row, every third removed", 700, 1, 3, 0},
        {"spread ids, every second removed", 1500, 4096, 2, 0},
        {"ids in a row, all removed", 300, 1, 1, 0},
        {"reserved for the crowd", 900, 3, 4, 900},
        {"reserved for fewer than come", 1200, 1, 5, 100},
    };
    for (const auto& c : cases) {
        std::vector<Step> steps;
        for (std::uint32_t v = 1; v <= c.victims; ++v)
            for (std::uint32_t a = 1; a <= 1 + v % 3; ++a)
                steps.push_back({v * c.stride, a, 0.25f * static_cast<float>(v + a)});
        for (std::uint32_t v = 1; v <= c.victims; v += c.removed)
            steps.push_back({v * c.stride, 0, 0});
        for (std::uint32_t v = 1; v <= c.victims; v += 2 * c.removed)
            steps.push_back({v * c.stride, 5, 1.5f});
        ExpectSameAsModel(c.label, steps, c.reserved);
    }
}

}  // namespace
}  // namespace GAME
