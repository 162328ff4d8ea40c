#include "Game/quests/actions/QuestRewardGrant.h"

#include "Engine/object/ObjectManager.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Bonus.h"
#include "Game/core/players/PlayerManagerServer.h"
#include "Game/quests/actions/BoundAction.h"
#include "Game/quests/actions/RewardActions.h"
#include "Game/quests/conditions/QuestCondition.h"

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

}  // namespace GAME
