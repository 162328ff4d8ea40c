// The skill manager's part of the character file and of the character replication: the skills
// that have a level, by record name, and the buffs others cast on the character.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "Engine/net/fields/NetPacketBuffer.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/streams/IOStream.h"
#include "Engine/sys/Machine.h"
#include "Game/characters/Character.h"
#include "Game/core/util/SeamLog.h"
#include "Game/skills/Skill.h"
#include "Game/skills/buffs/SkillBuff.h"
#include "Game/skills/manager/SkillManager.h"

namespace GAME {

namespace {

constexpr const char* kSkillBlock = "skillManager";
constexpr const char* kEntryBlock = "skill";

Skill* FindSkill(std::uint32_t id) {
    return id != 0 ? Singleton<ObjectManager>::Get().GetObject<Skill>(id) : nullptr;
}

SkillManager::_SkillReplica ReplicaOf(const Skill& skill) {
    return {skill.GetObjectName(), skill.GetSkillState(), skill.GetActiveState()};
}

}  // namespace

void SkillManager::_SkillReplica::Write(NetPacketOutBuffer& out) const {
    out.AddFileName(skillName);
    const SkillStateImage stateImage = state.ToImage();
    const SkillStateImage activeImage = activeState.ToImage();
    out.Write8Bytes(stateImage.data());
    out.Write8Bytes(activeImage.data());
}

bool SkillManager::_SkillReplica::Read(NetPacketInBuffer& in) {
    std::string name;
    SkillStateImage stateImage{};
    SkillStateImage activeImage{};
    if (!in.Remove(&name) || !in.Read8Bytes(stateImage.data()) ||
        !in.Read8Bytes(activeImage.data()))
        return false;
    skillName = std::move(name);
    state = SkillState::FromImage(stateImage);
    activeState = SkillActiveState::FromImage(activeImage);
    return true;
}

void SkillManager::_SkillBuffReplica::Write(NetPacketOutBuffer& out) const {
    buff.Write(out);
    modifier1.Write(out);
    modifier2.Write(out);
    out.Write32(casterId);
}

bool SkillManager::_SkillBuffReplica::Read(NetPacketInBuffer& in) {
    return buff.Read(in) && modifier1.Read(in) && modifier2.Read(in) && in.Read32(casterId);
}

void SkillManager::GetSkillReplica(std::vector<_SkillReplica>& out) const {
    for (std::uint32_t id : mSkills)
        if (const Skill* skill = FindSkill(id); skill && skill->GetSkillLevel() > 0)
            out.push_back(ReplicaOf(*skill));
}

void SkillManager::SetSkillReplica(const std::vector<_SkillReplica>& replicas) {
    for (const _SkillReplica& replica : replicas) {
        Skill* skill = FindSkill(FindSkillId(replica.skillName));
        if (!skill)
            continue;
        skill->ReceiveStateUpdate(replica.state, true);
        if (GetParent())
            skill->ReceiveActiveUpdate(*GetParent(), replica.activeState, true);
    }
}

void SkillManager::GetSkillBuffReplica(std::vector<_SkillBuffReplica>& out) const {
    for (const auto& [name, entry] : mBuffs) {
        const auto* buff = entry.buff != 0
                               ? Singleton<ObjectManager>::Get().GetObject<SkillBuff>(entry.buff)
                               : nullptr;
        if (!buff)
            continue;
        _SkillBuffReplica replica;
        replica.buff = ReplicaOf(*buff);
        replica.casterId = buff->GetCasterId();
        if (const Skill* modifier = FindSkill(entry.modifier1))
            replica.modifier1 = ReplicaOf(*modifier);
        if (const Skill* modifier = FindSkill(entry.modifier2))
            replica.modifier2 = ReplicaOf(*modifier);
        out.push_back(std::move(replica));
    }
}

void SkillManager::StreamProperties(IOStream& stream) {
    const bool reading = stream.IsReading();
    stream.BeginBlock(kSkillBlock);
    std::int32_t count = 0;
    if (!reading) {
        for (std::uint32_t id : mSkills)
            if (const Skill* skill = FindSkill(id); skill && skill->GetSkillLevel() != 0)
                ++count;
    }
    stream.StreamInt("max", count);
    if (!reading) {
        for (std::uint32_t id : mSkills) {
            const Skill* skill = FindSkill(id);
            if (!skill || skill->GetSkillLevel() == 0)
                continue;
            std::string name = skill->GetObjectName();
            SkillState state = skill->GetSkillState();
            // The active state is not kept: a loaded skill starts inactive.
            SkillActiveState inactive;
            stream.BeginBlock(kEntryBlock);
            stream.StreamString("skillName", name);
            state.StreamProperties(stream);
            inactive.StreamProperties(stream);
            stream.EndBlock();
        }
    } else if (stream.CheckCount("max", count,
                                 IOStream::MinEntrySize(IOStream::Kind::Begin, kEntryBlock))) {
        // The file names every skill with a level; one it leaves out has none, whatever the
        // character's record gave it, so that a save read back is the character saved.
        std::vector<std::uint32_t> named;
        named.reserve(static_cast<std::size_t>(count));
        for (std::int32_t i = 0; i < count; ++i) {
            if (!stream.BeginBlock(kEntryBlock)) {
                stream.EndBlock();
                stream.Fail("max", "fewer skill entries than it counts");
                break;
            }
            std::string name;
            SkillState state;
            SkillActiveState active;
            stream.StreamString("skillName", name);
            state.StreamProperties(stream);
            active.StreamProperties(stream);
            stream.EndBlock();
            if (Skill* skill = FindSkill(FindSkillId(name))) {
                skill->ReceiveStateUpdate(state, true);
                named.push_back(skill->GetObjectId());
            }
        }
        if (!stream.Failed())
            for (std::uint32_t id : mSkills)
                if (Skill* skill = FindSkill(id);
                    skill && skill->GetSkillLevel() != 0 &&
                    std::find(named.begin(), named.end(), id) == named.end())
                    skill->ReceiveStateUpdate(SkillState(0, skill->GetSkillState().enabled), true);
    }
    stream.StreamUInt("masteriesAllowed", mMasteriesAllowed);
    stream.StreamUInt("skillReclamationPointsUsed", mReclamationPointsUsed);
    stream.EndBlock();
}

}  // namespace GAME
