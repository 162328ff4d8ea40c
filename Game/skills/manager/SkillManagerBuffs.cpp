// The buff table: buffs that skills cast on the character, each with up to two modifier skills
// that carry the caster's modifier levels. Keys are buff record names lower-cased with '\'
// separators. The table changes only through the create-or-remove command, which runs on every
// machine, and through replicas, so every machine holds the same buffs.
#include "Engine/object/ObjectManager.h"
#include "Game/characters/Character.h"
#include "Game/core/util/StringUtil.h"
#include "Game/skills/buffs/SkillBuff.h"
#include "Game/skills/manager/SkillManager.h"
#include "Game/skills/modifiers/Skill_Modifier.h"

namespace GAME {

namespace {

SkillBuff* FindTableBuff(std::uint32_t id) {
    return id != 0 ? Singleton<ObjectManager>::Get().GetObject<SkillBuff>(id) : nullptr;
}

}  // namespace

void SkillManager::RemoveBuffEntry(const BuffEntry& entry, bool replica) {
    // Level 0, not enabled, inactive: the buff and its modifiers are reset before they go.
    for (std::uint32_t id : {entry.buff, entry.modifier1, entry.modifier2})
        if (Skill* skill = Find(id)) {
            skill->ReceiveStateUpdate(SkillState(), true);
            if (GetParent())
                skill->ReceiveActiveUpdate(*GetParent(), SkillActiveState(), replica);
        }
    if (Skill* buff = Find(entry.buff))
        buff->UnInstall(GetParent());
    for (std::uint32_t id : {entry.buff, entry.modifier1, entry.modifier2}) {
        if (Skill* skill = Find(id))
            skill->SetManager(nullptr);
        DestroySkill(id, __LINE__);
    }
}

void SkillManager::DropBuffEntry(const BuffEntry& entry, bool replica) {
    if (mFrameDepth > 0)
        mDeferredBuffs.emplace_back(entry, replica);
    else
        RemoveBuffEntry(entry, replica);
}

void SkillManager::DropDeferredBuffs() {
    // Removing one may end others (an uninstall that kills): take the list each round.
    while (mFrameDepth == 0 && !mDeferredBuffs.empty()) {
        const auto [entry, replica] = mDeferredBuffs.front();
        mDeferredBuffs.erase(mDeferredBuffs.begin());
        RemoveBuffEntry(entry, replica);
    }
}

void SkillManager::CreateRemoveSkillBuff(std::uint32_t, const std::string& buffName,
                                         std::uint32_t level, const std::string& modifier1Name,
                                         std::uint32_t modifier1Level,
                                         const std::string& modifier2Name,
                                         std::uint32_t modifier2Level, int timeToLive,
                                         std::uint32_t casterId, bool replica) {
    const std::string key = MakeNormalizedPath(buffName);
    if (const auto at = mBuffs.find(key); at != mBuffs.end()) {
        const BuffEntry entry = at->second;
        mBuffs.erase(at);
        CharAttributesChanged();
        DropBuffEntry(entry, replica);
    }
    // A dead character loses the old buff and gains no new one.
    if (level > 0 && GetParent() && GetParent()->IsAlive()) {
        const bool on = true;
        const auto part = [&](const std::string& name, std::uint32_t partLevel) {
            return _SkillReplica{name, SkillState(partLevel, on),
                                 SkillActiveState(static_cast<int>(partLevel), on, on)};
        };
        _SkillBuffReplica created;
        created.buff = part(key, level);
        created.modifier1 = part(modifier1Name, modifier1Level);
        created.modifier2 = part(modifier2Name, modifier2Level);
        created.timeToLive = timeToLive;
        created.casterId = casterId;
        CreateSkillBuff(created, false);
    }
    RebuildUITempSkills();
}

void SkillManager::CreateSkillBuff(const _SkillBuffReplica& replica, bool replicaFlag) {
    auto& objects = Objects();
    SkillBuff* buff = objects.CreateObjectFromFile<SkillBuff>(replica.buff.skillName);
    if (!buff)
        return;
    // Buffs stay off the active list: the manager runs and gathers them on their own.
    buff->SetManager(this);
    buff->SetAsTempSkill(true);
    buff->ReceiveStateUpdate(replica.buff.state, true);
    if (GetParent())
        buff->ReceiveActiveUpdate(*GetParent(), replica.buff.activeState, replicaFlag);
    buff->SetCasterId(replica.casterId);
    BuffEntry entry;
    entry.buff = buff->GetObjectId();
    std::uint32_t* slots[] = {&entry.modifier1, &entry.modifier2};
    const _SkillReplica* parts[] = {&replica.modifier1, &replica.modifier2};
    for (int i = 0; i < 2; ++i) {
        if (parts[i]->skillName.empty())
            continue;
        auto* modifier = objects.CreateObjectFromFile<Skill_Modifier>(parts[i]->skillName);
        if (!modifier)
            continue;
        modifier->SetManager(this);
        modifier->SetAsTempSkill(true);
        modifier->ReceiveStateUpdate(parts[i]->state, true);
        if (GetParent())
            modifier->ReceiveActiveUpdate(*GetParent(), parts[i]->activeState, replicaFlag);
        buff->AddModifier(modifier->GetObjectId());
        *slots[i] = modifier->GetObjectId();
    }
    buff->SetTimeToLive(replica.timeToLive);
    // A second buff under a name the table holds (a replica of one that is already here)
    // replaces the first, so that neither set of objects is left without an owner.
    const std::string key = MakeNormalizedPath(replica.buff.skillName);
    if (const auto at = mBuffs.find(key); at != mBuffs.end()) {
        const BuffEntry old = at->second;
        mBuffs.erase(at);
        DropBuffEntry(old, replicaFlag);
    }
    mBuffs.emplace(key, entry);
    CharAttributesChanged();
    buff->Install(GetParent());
}

bool SkillManager::IsSkillBuffActive(const std::string& buffName) const {
    return mBuffs.count(MakeNormalizedPath(buffName)) != 0;
}

void SkillManager::RefreshSkillBuffTimeToLive(const std::string& buffName,
                                              std::uint32_t timeToLive) {
    const auto at = mBuffs.find(MakeNormalizedPath(buffName));
    if (at == mBuffs.end())
        return;
    if (SkillBuff* buff = FindTableBuff(at->second.buff))
        buff->SetTimeToLive(static_cast<int>(timeToLive));
}

void SkillManager::RebuildUITempSkills() {
    mUITempSkills.clear();
    for (const auto& [name, entry] : mBuffs)
        mUITempSkills.push_back(entry.buff);
}

void SkillManager::SetSkillBuffReplica(const std::vector<_SkillBuffReplica>& replicas) {
    // A replica carries no time to live: on the machines that apply replicas the buff's end
    // comes from the controlling machine's removal command, so it does not expire here.
    for (const _SkillBuffReplica& replica : replicas) {
        _SkillBuffReplica kept = replica;
        kept.timeToLive = 0;
        CreateSkillBuff(kept, true);
    }
    RebuildUITempSkills();
}

}  // namespace GAME
