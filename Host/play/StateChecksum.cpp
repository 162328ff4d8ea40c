#include "Host/play/StateChecksum.h"

#include "Game/core/GameEngine.h"

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

namespace {

// Every hashed field of a character, in hash order; a sink takes each with a label.
template <class Sink>
void VisitCharacterState(Character& character, Sink& sink) {
    sink.Word("id", character.GetObjectId());
    sink.Text("record", character.GetObjectName());
    const WorldCoords& coords = character.GetCoords();
    sink.Text("region", coords.region ? coords.region->GetName() : std::string());
    const Vec3& origin = coords.coords.origin;
    sink.Float("x", origin.x);
    sink.Float("y", origin.y);
    sink.Float("z", origin.z);
    sink.Word("state", static_cast<std::uint32_t>(character.GetLifeState()));
    sink.Float("life", character.GetCurrentLife());
    sink.Float("maxLife", character.GetLifeLimit());
    sink.Float("mana", character.GetCurrentMana());
    sink.Float("maxMana", character.GetManaLimit());
    sink.Word("level", character.GetCharLevel());
    sink.Word("experience", character.GetExperiencePoints());

    ObjectManager& objects = Singleton<ObjectManager>::Get();
    const std::vector<std::uint32_t>& skills = character.GetSkillManager().GetSkillList();
    sink.Word("skills", static_cast<std::uint32_t>(skills.size()));
    for (std::uint32_t id : skills) {
        const Skill* skill = objects.GetObject<Skill>(id);
        sink.Text("skill", skill ? skill->GetObjectName() : std::string());
        sink.Word("skillLevel", skill ? skill->GetSkillLevel() : 0u);
    }

    DurationDamageManager& durations = character.GetDurationDamageManager();
    std::vector<DurationDamageReplication> damage;
    durations.GetDamageReplica(damage);
    sink.Word("dots", static_cast<std::uint32_t>(damage.size()));
    for (const DurationDamageReplication& entry : damage) {
        sink.Word("dot", static_cast<std::uint32_t>(entry.type));
        sink.Word("attacker", entry.attacker);
        for (const DurationDamageInfo& run : entry.runs) {
            sink.Float("damage", run.damage);
            sink.Float("duration", run.duration);
        }
    }
    std::vector<FixedDurationDamageReplication> fixed;
    durations.GetFixedDamageReplica(fixed);
    sink.Word("fixedDots", static_cast<std::uint32_t>(fixed.size()));
    for (const FixedDurationDamageReplication& entry : fixed) {
        sink.Word("fixedDot", static_cast<std::uint32_t>(entry.type));
        for (const DurationDamageInfo& run : entry.runs) {
            sink.Float("damage", run.damage);
            sink.Float("duration", run.duration);
        }
    }
}

struct HashSink {
    StateChecksum& sum;
    void Word(const char*, std::uint32_t value) { sum.AddWord(value); }
    void Float(const char*, float value) { sum.AddFloat(value); }
    void Text(const char*, const std::string& text) { sum.AddText(text); }
};

// Floats as their bits too: two values that print alike may still differ.
struct TextSink {
    std::FILE* out;
    void Word(const char* name, std::uint32_t value) { std::fprintf(out, " %s=%u", name, value); }
    void Float(const char* name, float value) {
        std::fprintf(out, " %s=%.9g(%08x)", name, static_cast<double>(value),
                     value == 0.0f ? 0u : std::bit_cast<std::uint32_t>(value));
    }
    void Text(const char* name, const std::string& text) {
        std::fprintf(out, " %s=%s", name, text.c_str());
    }
};

}  // namespace

void StateChecksum::AddCharacter(Character& character) {
    HashSink sink{*this};
    VisitCharacterState(character, sink);
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

void DumpWorldState(std::FILE* out, int frame) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    std::vector<std::uint32_t> ids = objects.GetObjectIds();
    std::sort(ids.begin(), ids.end());
    for (std::uint32_t id : ids)
        if (Character* character = objects.GetObject<Character>(id)) {
            std::fprintf(out, "%d", frame);
            TextSink sink{out};
            VisitCharacterState(*character, sink);
            std::fprintf(out, "\n");
        }
    // The shared generator too: a draw one machine alone makes shows here before it moves anyone.
    if (gGameEngine)
        std::fprintf(out, "%d root=%08x\n", frame, gGameEngine->GetRandomGen().GetState());
}

std::string FormatChecksum(std::uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

}  // namespace GAME
