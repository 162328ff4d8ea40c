#include "Game/skills/SkillKinds.h"

#include <string>

#include "Engine/records/LoadTable.h"
#include "Game/skills/profile/SkillProfile.h"

namespace GAME {

RTTI_IMPLEMENT(Skill_Mastery, Skill_Passive)
RTTI_IMPLEMENT(SkillOnDeath, Skill)

namespace {

constexpr const char* kMasteryNames[] = {
    "MasterySpirit", "MasteryNature", "MasteryStealth", "MasteryHunting",
    "MasteryStorm",  "MasteryEarth",  "MasteryDefense", "MasteryWarfare",
};

}  // namespace

void Skill_Mastery::Load(const LoadTable& table) {
    Skill::Load(table);
    // Compared exactly; any other text leaves the enumeration as it was.
    const std::string text = table.GetString("MasteryEnumeration");
    for (std::uint32_t i = 0; i < std::size(kMasteryNames); ++i)
        if (text == kMasteryNames[i])
            mEnumeration = i;
}

}  // namespace GAME
