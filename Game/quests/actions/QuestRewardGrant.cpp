#include "Game/quests/actions/QuestRewardGrant.h"

#include <algorithm>
#include <string>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Bonus.h"
#include "Game/core/players/PlayerManagerServer.h"
#include "Game/quests/actions/BoundAction.h"
#include "Game/quests/actions/RewardActions.h"
#include "Game/quests/conditions/QuestCondition.h"
#include "Game/skills/Skill.h"
#include "Game/skills/manager/SkillManager.h"
#include "Game/skills/manager/SkillServicesBase.h"

namespace GAME {

namespace {

bool IsNoReward(const Bonus& bonus) {
    return bonus.gold == 0 && bonus.experience == 0 && bonus.attributePoints == 0 &&
           bonus.skillPoints == 0;
}

// A claim is exactly what the action gives: its one amount, no life, mana or effect.
bool ClaimMatches(const Bonus& offered, const Bonus& claim) {
    return offered.gold == claim.gold && offered.experience == claim.experience &&
           offered.attributePoints == claim.attributePoints &&
           offered.skillPoints == claim.skillPoints && claim.lifePoints == 0.0f &&
           claim.lifePercent == 0.0f && claim.manaPoints == 0.0f && claim.manaPercent == 0.0f &&
           claim.effectName.empty();
}

// The named skills this machine's players wait to be granted points for.
struct AwaitedSkillPoints {
    struct Entry {
        std::uint32_t player = 0;
        std::string skill;
        std::uint32_t points = 0;
    };
    std::vector<Entry> entries;
};

}  // namespace

bool SendQuestReward(std::uint32_t target, const Bonus& reward) {
    const std::uint32_t local = LocalPlayerId();
    if (!gGameEngine || local == 0 || (target != 0 && target != local) || IsNoReward(reward))
        return false;
    Bonus sent(reward);
    sent.id = local;
    sent.sourceId = 0;  // names no object: a quest's claim
    if (IsNetworkedClient()) {
        const Player* player = Singleton<ObjectManager>::Get().GetObject<Player>(local);
        if (!player)
            return false;
        gGameEngine->HandleBonusToServerOutbound(sent, player->GetPosition(), local);
        return true;
    }
    PlayerManagerServer* server = gGameEngine->GetPlayerManagerServer();
    if (!server)
        return false;
    server->GrantBonus(sent, local);
    return true;
}

bool ClaimQuestReward(std::uint32_t player, const Bonus& claim, Bonus& grant) {
    if (IsNoReward(claim))
        return false;
    TriggerAction* found = FindQuestAction([&](TriggerAction& action) {
        auto* reward = dynamic_cast<RewardAction*>(&action);
        Bonus offered;
        return reward && reward->GetBonus(offered) && ClaimMatches(offered, claim) &&
               reward->TakeGrantFor(player);
    });
    if (!found)
        return false;
    static_cast<RewardAction*>(found)->GetBonus(grant);
    grant.id = player;
    grant.sourceId = 0;
    return true;
}

void AwaitQuestSkillPoints(std::uint32_t player, const std::string& skillRecord,
                           std::uint32_t points) {
    if (player != 0 && points != 0)
        Singleton<AwaitedSkillPoints>::Get().entries.push_back({player, skillRecord, points});
}

void SpendQuestSkillPoints(Player& player, const Bonus& grant) {
    auto& awaited = Singleton<AwaitedSkillPoints>::Get().entries;
    if (awaited.empty() || grant.sourceId != 0 || grant.gold != 0 || grant.experience != 0 ||
        grant.attributePoints != 0)
        return;
    const auto entry = std::find_if(awaited.begin(), awaited.end(), [&](const auto& e) {
        return e.player == player.GetObjectId() && e.points == grant.skillPoints;
    });
    if (entry == awaited.end())
        return;
    const std::string record = entry->skill;
    awaited.erase(entry);
    SkillManager& skills = player.GetSkillManager();
    const std::uint32_t id = skills.FindSkillId(record);
    Skill* skill = id ? Singleton<ObjectManager>::Get().GetObject<Skill>(id) : nullptr;
    SkillServicesBase* services = skills.GetSkillServices();
    if (!skill || !services) {
        gEngine->Log(1, "Quest reward: %s has no skill %s to spend %u points on",
                     player.GetObjectName().c_str(), record.c_str(), grant.skillPoints);
        return;
    }
    // Up to the limit; what the limit leaves stays as points.
    SkillState state = skill->GetSkillState();
    const std::uint32_t room =
        skill->GetMaxLevel() > state.level ? skill->GetMaxLevel() - state.level : 0;
    if (room == 0)
        return;
    state.level += std::min(room, grant.skillPoints);
    services->SendSkillStateUpdate(id, state);
}

}  // namespace GAME
