#include "Host/play/StateChecksum.h"

#include <algorithm>
#include <bit>
#include <cstdio>

#include "Engine/object/ObjectManager.h"
#include "Game/characters/Character.h"
#include "Game/rules/duration/DurationDamageManager.h"
#include "Game/rules/duration/DurationDamageReplication.h"
#include "Game/skills/Skill.h"

namespace GAME {

void StateChecksum::AddBytes(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        mValue ^= bytes[i];
        mValue *= 1099511628211ull;
    }
}

void StateChecksum::AddFloat(float value) {
    // Both zeros are the same state; their bits differ.
    AddWord(value == 0.0f ? 0u : std::bit_cast<std::uint32_t>(value));
}

void StateChecksum::AddText(const std::string& text) {
    AddWord(static_cast<std::uint32_t>(text.size()));
    AddBytes(text.data(), text.size());
}

void StateChecksum::AddCharacter(Character& character) {
    AddWord(character.GetObjectId());
    AddText(character.GetObjectName());
    const WorldCoords& coords = character.GetCoords();
    AddText(coords.region ? coords.region->GetName() : std::string());
    const Vec3& origin = coords.coords.origin;
    for (float v : {origin.x, origin.y, origin.z})
        AddFloat(v);
    AddWord(static_cast<std::uint32_t>(character.GetLifeState()));
    AddFloat(character.GetCurrentLife());
    AddFloat(character.GetLifeLimit());
    AddFloat(character.GetCurrentMana());
    AddFloat(character.GetManaLimit());
    AddWord(character.GetCharLevel());
    AddWord(character.GetExperiencePoints());

    ObjectManager& objects = Singleton<ObjectManager>::Get();
    const std::vector<std::uint32_t>& skills = character.GetSkillManager().GetSkillList();
    AddWord(static_cast<std::uint32_t>(skills.size()));
    for (std::uint32_t id : skills) {
        const Skill* skill = objects.GetObject<Skill>(id);
        AddText(skill ? skill->GetObjectName() : std::string());
        AddWord(skill ? skill->GetSkillLevel() : 0u);
    }

    DurationDamageManager& durations = character.GetDurationDamageManager();
    std::vector<DurationDamageReplication> damage;
    durations.GetDamageReplica(damage);
    AddWord(static_cast<std::uint32_t>(damage.size()));
    for (const DurationDamageReplication& entry : damage) {
        AddWord(static_cast<std::uint32_t>(entry.type));
        AddWord(entry.attacker);
        for (const DurationDamageInfo& run : entry.runs) {
            AddFloat(run.damage);
            AddFloat(run.duration);
        }
    }
    std::vector<FixedDurationDamageReplication> fixed;
    durations.GetFixedDamageReplica(fixed);
    AddWord(static_cast<std::uint32_t>(fixed.size()));
    for (const FixedDurationDamageReplication& entry : fixed) {
        AddWord(static_cast<std::uint32_t>(entry.type));
        for (const DurationDamageInfo& run : entry.runs) {
            AddFloat(run.damage);
            AddFloat(run.duration);
        }
    }
}

std::uint64_t ComputeWorldChecksum() {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    std::vector<std::uint32_t> ids = objects.GetObjectIds();
    std::sort(ids.begin(), ids.end());
    StateChecksum sum;
    for (std::uint32_t id : ids)
        if (Character* character = objects.GetObject<Character>(id))
            sum.AddCharacter(*character);
    return sum.GetValue();
}

std::string FormatChecksum(std::uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

}  // namespace GAME
