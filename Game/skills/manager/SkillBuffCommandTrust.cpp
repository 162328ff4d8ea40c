// What a server takes from a client about a buff on the client's own character. The buff comes
// from a skill of its caster, and the server holds that caster with its skills: the buff's
// record, level and modifiers are that skill's, and the buff lives no longer than the skill
// gives. Whether the buff helps or hinders is not known here, so a shorter life passes; a
// removal (level 0) is the controlling machine's to decide.
#include <algorithm>

#include "Engine/net/NetFaultLog.h"
#include "Engine/object/ObjectManager.h"
#include "Game/characters/Character.h"
#include "Game/core/util/StringUtil.h"
#include "Game/skills/Skill.h"
#include "Game/skills/manager/SkillCommands.h"
#include "Game/skills/manager/SkillManager.h"
#include "Game/skills/profile/SkillProfileModifiers.h"

namespace GAME {

namespace {

// The fixed life of the buffs that radius skills hand out, in ms.
constexpr int kRadiusBuffTimeToLive = 1500;

// The caster's skill that casts the buff: its resource is the buff's record.
const Skill* FindCastingSkill(const Character& caster, const std::string& name) {
    // Looked up by the buff table's key rule: lower case, '\' separators.
    const std::string buffName = MakeNormalizedPath(name);
    const SkillManager& skills = caster.GetSkillManager();
    auto& objects = Singleton<ObjectManager>::Get();
    for (const auto* list : {&skills.GetSkillList(), &skills.GetItemSkillList()})
        for (std::uint32_t id : *list)
            if (const Skill* skill = objects.GetObject<Skill>(id);
                skill && PathEqualsNoCaseStr(skill->GetResourceName().str(), buffName))
                return skill;
    return nullptr;
}

bool SameModifier(const Skill& skill, std::size_t index, const std::string& name,
                  std::uint32_t level) {
    std::string expectedName;
    std::uint32_t expectedLevel = 0;
    skill.GetModifierInfo(index, expectedName, expectedLevel);
    return PathEqualsNoCaseStr(name, expectedName) && level == expectedLevel;
}

// Within the life the skill gives its buff: up to its active duration or a radius buff's
// fixed life, whichever is longer. A skill without a duration gives its buff for good (0), or
// the fixed life as a radius buff.
bool TimeToLiveWithin(const Skill& skill, int timeToLive) {
    if (timeToLive < 0)
        return false;
    SkillProfile_Modifiers data;
    skill.GetSkillModifierData(data);
    const double duration = static_cast<double>(data.activeDuration) * 1000.0;
    if (!(duration >= 1.0))
        return timeToLive <= kRadiusBuffTimeToLive;
    return timeToLive != 0 && timeToLive <= std::max(duration, double{kRadiusBuffTimeToLive});
}

}  // namespace

bool CreateRemoveSkillBuffConfigCmd::AcceptFromClient(int sourceHost) const {
    if (level == 0)
        return true;
    const char* refusal = nullptr;
    const auto* caster =
        casterId ? Singleton<ObjectManager>::Get().GetObject<Character>(casterId) : nullptr;
    const Skill* skill = caster ? FindCastingSkill(*caster, buffName) : nullptr;
    if (!caster)
        refusal = "the caster is no character here";
    else if (!skill)
        refusal = "no skill of the caster casts it";
    else if (level != skill->GetCurrentLevel())
        refusal = "not the level of the caster's skill";
    else if (!SameModifier(*skill, 0, modifier1Name, modifier1Level) ||
             !SameModifier(*skill, 1, modifier2Name, modifier2Level))
        refusal = "not the modifiers of the caster's skill";
    else if (!TimeToLiveWithin(*skill, timeToLive))
        refusal = "it would outlive what the caster's skill gives";
    if (!refusal)
        return true;
    NetFaultLog::Get().Report(
        1, sourceHost, NetFault::Refused, PacketType::CreateRemoveSkillBuffConfigCmdPacket,
        "Net: refused CreateRemoveSkillBuffConfigCmdPacket from host %d: "
        "buff %.80s level %u on %u by caster %u: %s",
        sourceHost, buffName.c_str(), level, GetObjectId(), casterId, refusal);
    return false;
}

}  // namespace GAME
