#include "Game/characters/player/PlayerSaveUISetting.h"

#include "Engine/streams/IOStream.h"

namespace GAME {

namespace {
struct SkillSetKeys {
    const char* primary;
    const char* secondary;
    const char* active;
};
constexpr std::array<SkillSetKeys, PlayerSave_UISetting::kSkillSetCount> kSkillSetKeys{{
    {"primarySkill1", "secondarySkill1", "skillActive1"},
    {"primarySkill2", "secondarySkill2", "skillActive2"},
    {"primarySkill3", "secondarySkill3", "skillActive3"},
    {"primarySkill4", "secondarySkill4", "skillActive4"},
    {"primarySkill5", "secondarySkill5", "skillActive5"},
}};
}  // namespace

void PlayerSave_UISetting::StreamProperties(IOStream& stream) {
    stream.BeginBlock("uiSetting");
    stream.StreamBool("equipmentSelection", equipmentSelection);
    stream.StreamInt("skillWindowSelection", skillWindowSelection);
    stream.StreamBool("skillSettingValid", skillSettingValid);
    for (std::size_t i = 0; i < kSkillSetCount; ++i) {
        stream.StreamString(kSkillSetKeys[i].primary, skillSets[i].primarySkill);
        stream.StreamString(kSkillSetKeys[i].secondary, skillSets[i].secondarySkill);
        stream.StreamBool(kSkillSetKeys[i].active, skillSets[i].active);
    }
    stream.EndBlock();
}

}  // namespace GAME
