#include "Game/characters/player/PlayerJoinCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "Engine/net/NetPacket.h"
#include "Engine/net/fields/NetPacketBuffer.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Game/characters/Player.h"
#include "Game/characters/bio/CharacterBio.h"
#include "Game/characters/bio/ExperienceLevelControl.h"
#include "Game/characters/player/PlayerReplicationData.h"
#include "Game/core/players/PlayerReport.h"
#include "Game/core/util/MathUtil.h"
#include "Game/items/Item.h"
#include "Game/quests/actions/RewardActions.h"
#include "Game/skills/Skill.h"

namespace GAME {

namespace {

std::string Line(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Line(const char* format, ...) {
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

// The scratch players are destroyed whatever the check finds.
struct Scratch {
    Player* player = nullptr;
    ~Scratch() {
        if (player)
            Singleton<ObjectManager>::Get().DestroyObjectEx(player, "Game/PlayerJoinCheck",
                                                            __LINE__);
    }
};

bool FiniteNotNegative(float value) {
    return std::isfinite(value) && value >= 0.0f;
}

std::string CheckLevel(const PlayerReplicationData& data, ExperienceLevelControl& levels,
                       std::uint32_t first) {
    const std::uint32_t last = std::max(levels.GetMaxLevel(), first);
    if (data.characterLevel < first || data.characterLevel > last)
        return Line("level: %u is outside the record's %u..%u", data.characterLevel, first, last);
    if (levels.GetMaxLevel() == 0)
        return {};  // no level rules: the experience grows without bound
    levels.SetLevel(data.characterLevel);
    const std::uint32_t low = levels.GetLastLevelExperience();
    const std::uint32_t high =
        levels.IsMaxLevel() ? low : std::max(levels.GetNextLevelExperience(), low + 1) - 1;
    if (data.experiencePoints < low || data.experiencePoints > high)
        return Line("experience: %u does not belong to level %u (%u..%u)", data.experiencePoints,
                    data.characterLevel, low, high);
    return {};
}

// Each attribute point raises one base attribute by its increment; the points come with the
// levels and the quests. `left` takes the points the bases left.
std::string CheckAttributes(const PlayerReplicationData& data, const CharacterBioReplicaInfo& base,
                            const ExperienceLevelControl& levels, std::uint32_t first,
                            std::uint64_t& left) {
    static constexpr const char* kNames[5] = {"base Life", "base Mana", "base Strength",
                                              "base Dexterity", "base Intelligence"};
    const float claimed[5] = {data.baseLife, data.baseMana, data.baseStrength, data.baseDexterity,
                              data.baseIntelligence};
    const std::uint32_t record[5] = {base.baseLife, base.baseMana, base.baseStrength,
                                     base.baseDexterity, base.baseIntelligence};
    const std::array<std::uint32_t, 5> increments = levels.GetIncrements();
    const std::uint64_t points =
        levels.GetModifierPoints() +
        std::uint64_t{data.characterLevel - first} * levels.GetModifierPointsPerLevel() +
        QuestAttributePointsOffered();
    std::uint64_t spent = 0;
    for (int i = 0; i < 5; ++i) {
        if (!FiniteNotNegative(claimed[i]))
            return Line("%s: not a number the game holds", kNames[i]);
        const std::uint64_t value = TruncateToUnsigned(claimed[i]);
        if (value < record[i])
            return Line("%s: %llu is below the record's %u", kNames[i],
                        static_cast<unsigned long long>(value), record[i]);
        const std::uint64_t steps = AttributePointsTaken(value, record[i], increments[i]);
        if (steps > points)
            return Line("%s: %llu is more than level %u allows (%llu)", kNames[i],
                        static_cast<unsigned long long>(value), data.characterLevel,
                        static_cast<unsigned long long>(
                            record[i] + points * std::max<std::uint32_t>(increments[i], 1)));
        spent += steps;
    }
    if (spent > points)
        return Line("base attributes: %llu attribute points spent, level %u gives %llu",
                    static_cast<unsigned long long>(spent), data.characterLevel,
                    static_cast<unsigned long long>(points));
    left = points - spent;
    return {};
}

std::string CheckSkills(const PlayerReplicationData& data, Player& fresh,
                        const ExperienceLevelControl& levels, std::uint32_t first) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    const SkillManager& skills = fresh.GetSkillManager();
    std::uint64_t raised = 0;
    for (const SkillManager::_SkillReplica& replica : data.skills) {
        const Skill* skill = objects.GetObject<Skill>(skills.FindSkillId(replica.skillName));
        if (!skill)
            return Line("skill %.120s: the record gives no such skill", replica.skillName.c_str());
        const std::uint32_t top = std::max(skill->GetMaxLevel(), skill->GetUltimateLevel());
        if (replica.state.level > top)
            return Line("skill %.120s: level %u is above its %u", replica.skillName.c_str(),
                        replica.state.level, top);
        if (replica.state.level > skill->GetSkillLevel())
            raised += replica.state.level - skill->GetSkillLevel();
    }
    const std::uint64_t points =
        levels.GetSkillPoints() +
        std::uint64_t{data.characterLevel - first} * levels.GetSkillPointsPerLevel();
    if (raised > points)
        return Line("skills: %llu skill points spent, level %u gives %llu",
                    static_cast<unsigned long long>(raised), data.characterLevel,
                    static_cast<unsigned long long>(points));
    return {};
}

std::string CheckItems(const PlayerReplicationData& data) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (const InventoryReplica& replica : data.inventory) {
        const std::string& name = replica.item.baseName;
        const RTTI_ClassInfo* kind =
            objects.LoadTableFile(name) ? Object::classInfo.FindByName(
                                              objects.GetLoadTable(name).GetString("Class").c_str())
                                        : nullptr;
        if (!kind || !kind->IsA(Item::classInfo))
            return Line("item %.120s: no item record", name.c_str());
    }
    return {};
}

}  // namespace

std::string CheckJoiningPlayer(const std::string& record,
                               const std::vector<std::uint8_t>& replication,
                               std::uint32_t* attributePoints) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    Scratch fresh{objects.CreateObjectFromFile<Player>(record)};
    if (!fresh.player)
        return Line("record: %.120s makes no player", record.c_str());

    PlayerReplicationData data;
    NetPacketHeader header;
    bool read = false;
    {
        NetPacketInBuffer in(header, replication.data(), static_cast<int>(replication.size()));
        read = data.Read(in);
    }
    if (!read || header.bad)
        return "replication data: cut short or malformed";
    if (data.playerName.empty() || data.playerName.size() > kMaxPlayerNameLength)
        return Line("name: %zu characters, a name has 1..%zu", data.playerName.size(),
                    kMaxPlayerNameLength);
    if (!FiniteNotNegative(data.currentLife) || !FiniteNotNegative(data.currentMana))
        return "life and mana: not numbers the game holds";

    ExperienceLevelControl& levels = fresh.player->GetExperienceLevelControl();
    const std::uint32_t first = levels.GetLevel();
    CharacterBioReplicaInfo base;
    fresh.player->GetCharacterBio().GetCurrentBioStats(base);
    std::string fault = CheckLevel(data, levels, first);
    std::uint64_t left = 0;
    if (fault.empty())
        fault = CheckAttributes(data, base, levels, first, left);
    if (fault.empty())
        fault = CheckSkills(data, *fresh.player, levels, first);
    if (fault.empty())
        fault = CheckItems(data);
    if (!fault.empty())
        return fault;
    if (data.money < 0 || static_cast<std::uint32_t>(data.money) > Character::kMaxMoney)
        return Line("money: %d is outside 0..%u", data.money, Character::kMaxMoney);
    if (!data.durationDamage.empty() || !data.fixedDurationDamage.empty())
        return "damage over time: a character file holds none";
    if (!data.skillBuffs.empty())
        return "buffs: a character file holds none";
    if (attributePoints)
        *attributePoints =
            static_cast<std::uint32_t>(std::min<std::uint64_t>(*attributePoints, left));

    // Life and mana against the limits the claimed level and attributes give.
    Scratch claimed{objects.CreateObjectFromFile<Player>(record)};
    if (!claimed.player)
        return Line("record: %.120s makes no player", record.c_str());
    {
        NetPacketHeader again;
        NetPacketInBuffer in(again, replication.data(), static_cast<int>(replication.size()));
        claimed.player->ReadReplicationData(in);
    }
    claimed.player->ApplyReplicationData();
    claimed.player->GetCharacterBio().InitialUpdate(*claimed.player);
    const float lifeLimit = claimed.player->GetLifeLimit();
    const float manaLimit = claimed.player->GetManaLimit();
    if (data.currentLife > lifeLimit + 0.5f)
        return Line("life: %.0f is above its limit %.0f", static_cast<double>(data.currentLife),
                    static_cast<double>(lifeLimit));
    if (data.currentMana > manaLimit + 0.5f)
        return Line("mana: %.0f is above its limit %.0f", static_cast<double>(data.currentMana),
                    static_cast<double>(manaLimit));
    return {};
}

}  // namespace GAME
