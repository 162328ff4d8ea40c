#include "Game/quests/actions/RewardActions.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <memory>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/streams/IOStream.h"
#include "Engine/text/LocalizationManager.h"
#include "Engine/triggers/TriggerToken.h"
#include "Game/ai/controllers/ControllerCharacter.h"
#include "Game/ai/controllers/player/ControllerPlayer.h"
#include "Game/characters/CharacterEvents.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Bonus.h"
#include "Game/core/util/ServerObjectIds.h"
#include "Game/items/Item.h"
#include "Game/items/ItemReplicaInfo.h"
#include "Game/items/ItemSeed.h"
#include "Game/items/ItemText.h"
#include "Game/items/equipment/EquipManager.h"
#include "Game/items/inventory/Inventory.h"
#include "Game/items/loot/LootBase.h"
#include "Game/quests/Quest.h"
#include "Game/quests/QuestRepository.h"
#include "Game/quests/QuestStep.h"
#include "Game/quests/actions/BoundAction.h"
#include "Game/quests/actions/QuestActionEvents.h"
#include "Game/quests/actions/QuestRewardGrant.h"
#include "Game/quests/conditions/QuestCondition.h"
#include "Game/skills/manager/SkillManager.h"

namespace GAME {

GAME_TRIGGER_ACTION_KIND(Action_GiveMoney)
GAME_TRIGGER_ACTION_KIND(Action_GiveExp)
GAME_TRIGGER_ACTION_KIND(Action_GiveAttributePoints)
GAME_TRIGGER_ACTION_KIND(Action_GiveSkillPoints)
GAME_TRIGGER_ACTION_KIND(Action_GiveItem)
GAME_TRIGGER_ACTION_KIND(Action_BestowTriggerToken)
GAME_TRIGGER_ACTION_KIND(Action_RemoveTriggerToken)
GAME_TRIGGER_ACTION_KIND(Action_RemoveItemFromInventory)

namespace {

constexpr int kLootDepth = 5;
constexpr int kMaxItemSeed = 10000;

Character* Receiver(std::uint32_t target) {
    const std::uint32_t id = target ? target : LocalPlayerId();
    return id ? Objects().GetObject<Character>(id) : nullptr;
}

Player* LocalPlayer() {
    const std::uint32_t id = LocalPlayerId();
    return id ? Objects().GetObject<Player>(id) : nullptr;
}

std::wstring FormatReward(int amount, const std::wstring& text) {
    wchar_t buffer[512];
    std::swprintf(buffer, 512, L"%d %ls", amount, text.c_str());
    return buffer;
}

std::string RecordClass(const std::string& record) {
    ObjectManager& objects = Objects();
    if (record.empty() || !objects.LoadTableFile(record))
        return {};
    return objects.GetLoadTable(record).GetString("Class");
}

}  // namespace

TriggerAction* FindQuestAction(const std::function<bool(TriggerAction&)>& match) {
    auto find = [&match](const Trigger* trigger) -> TriggerAction* {
        for (std::size_t i = 0; trigger && i < trigger->GetNumActions(); ++i)
            if (TriggerAction* action = trigger->GetActionAtIdx(i); action && match(*action))
                return action;
        return nullptr;
    };
    for (const auto& quest : QuestRepository::Get()->GetQuests())
        for (std::size_t s = 0; s < quest->GetStepCount(); ++s) {
            const QuestStep& step = *quest->GetQuestStepAtIndx(s);
            if (TriggerAction* action = find(step.GetCompletionTrigger()))
                return action;
            for (std::size_t t = 0; t < step.GetTriggerCount(); ++t)
                if (TriggerAction* action = find(step.GetTriggerOfIdx(t)))
                    return action;
        }
    return nullptr;
}

std::uint64_t QuestAttributePointsOffered() {
    std::uint64_t total = 0;
    FindQuestAction([&total](TriggerAction& action) {
        Bonus offered;
        if (const auto* reward = dynamic_cast<const RewardAction*>(&action);
            reward && reward->GetBonus(offered))
            total += offered.attributePoints;
        return false;  // on to the next: every action counts
    });
    return total;
}

bool IsQuestGivenItem(const std::string& record) {
    if (record.empty())
        return false;
    return FindQuestAction([&record](TriggerAction& action) {
               if (const auto* give = dynamic_cast<const Action_GiveItem*>(&action))
                   for (const std::string& item : give->GetItems())
                       if (RecordNamesEqual(item, record))
                           return true;
               return false;
           }) != nullptr;
}

bool IsQuestLootTableClass(const std::string& className) {
    return className == "LootMasterTable" || className == "LootItemTable_FixedWeight" ||
           className == "LootItemTable_DynWeight";
}

bool RollQuestItem(const std::string& record, RandomUniform& random, ItemReplicaInfo& out) {
    out = ItemReplicaInfo();
    if (IsQuestLootTableClass(RecordClass(record))) {
        if (const std::unique_ptr<LootBase> table = LootBase::Create(record)) {
            int depth = kLootDepth;
            table->GetLootName(out.baseName, out.prefixName, out.suffixName, random, depth);
        }
    } else {
        out.baseName = record;
    }
    if (out.baseName.empty())
        return false;
    out.seed = static_cast<std::uint32_t>(random.IGenerate(0, kMaxItemSeed));
    return true;
}

// Amounts

void RewardAction::SerializeChildProperties(IOStream& stream) {
    StreamPerDifficulty(stream, AmountName(), mAmount);
    ActionRewardInterface::SerializeChildProperties(stream);
}

std::wstring RewardAction::AmountText(const char* tag) const {
    return FormatReward(Amount(), LocalizeSimple(tag));
}

bool RewardAction::GetBonus(Bonus& bonus) const {
    bonus = Bonus();
    const int amount = Amount();
    if (amount <= 0)
        return false;
    return FillBonus(bonus, static_cast<std::uint32_t>(amount));
}

bool RewardAction::TakeGrantFor(std::uint32_t player) {
    if (std::find(mGrantedTo.begin(), mGrantedTo.end(), player) != mGrantedTo.end())
        return false;
    mGrantedTo.push_back(player);
    return true;
}

void RewardAction::Grant(std::uint32_t target) {
    if (!gEngine->IsNetworkEnabled()) {
        if (Character* receiver = Receiver(target)) {
            GrantHere(*receiver, Amount());
            Announce();
        }
        return;
    }
    if (SendGrant(target))
        Announce();
}

bool RewardAction::SendGrant(std::uint32_t target) {
    Bonus reward;
    return GetBonus(reward) && SendQuestReward(target, reward);
}

void Action_GiveMoney::GrantHere(Character& receiver, int amount) {
    receiver.AddMoney(static_cast<std::uint32_t>(amount));
}

void Action_GiveExp::GrantHere(Character& receiver, int amount) {
    receiver.ReceiveExperience(static_cast<std::uint32_t>(amount), false);
}

void Action_GiveAttributePoints::GrantHere(Character& receiver, int amount) {
    receiver.GetExperienceLevelControl().AddModifierPoints(static_cast<std::uint32_t>(amount));
}

void Action_GiveSkillPoints::SerializeChildProperties(IOStream& stream) {
    stream.StreamString("skill", mSkill);
    RewardAction::SerializeChildProperties(stream);
}

void Action_GiveSkillPoints::Fire(std::uint32_t target, bool) {
    if (Amount() != 0)
        Grant(target);
}

bool Action_GiveSkillPoints::FillBonus(Bonus& bonus, std::uint32_t amount) const {
    // A named skill's levels travel as that many points, which the player's machine then spends
    // on the skill (QuestRewardGrant.h).
    bonus.skillPoints = amount;
    return true;
}

bool Action_GiveSkillPoints::SendGrant(std::uint32_t target) {
    if (!RewardAction::SendGrant(target))
        return false;
    if (!mSkill.empty())
        AwaitQuestSkillPoints(LocalPlayerId(), mSkill, static_cast<std::uint32_t>(Amount()));
    return true;
}

void Action_GiveSkillPoints::GrantHere(Character& receiver, int amount) {
    if (mSkill.empty()) {
        receiver.GetExperienceLevelControl().AddSkillPoints(static_cast<std::uint32_t>(amount));
        GameEvent_CharacterId skillUp;
        skillUp.objectId = receiver.GetObjectId();
        SendGameEvent(skillUp, "PlayerSkillUp");
    } else {
        SkillManager& skills = receiver.GetSkillManager();
        skills.IncrementSkill(skills.FindSkillId(mSkill), amount);
    }
}

std::wstring Action_GiveSkillPoints::GetRewardDescription() {
    if (mSkill.empty())
        return AmountText("tagRewardSkill");
    ObjectManager& objects = Objects();
    if (!objects.LoadTableFile(mSkill))
        return {};
    return LocalizeSimple(objects.GetLoadTable(mSkill).GetString("skillDisplayName"));
}

// Items

void Action_GiveItem::SerializeChildProperties(IOStream& stream) {
    StreamPerDifficulty(stream, "item", mItem);
    ActionRewardInterface::SerializeChildProperties(stream);
}

void Action_GiveItem::Fire(std::uint32_t target, bool) {
    const std::string& record = mItem[static_cast<std::size_t>(QuestDifficulty())];
    if (record.empty() || !gGameEngine)
        return;
    const std::uint32_t receiver = target ? target : LocalPlayerId();
    const Player* local = LocalPlayer();
    const WorldCoords where = local ? local->GetCoords() : WorldCoords();
    if (IsNetworkedClient()) {
        // The server rolls and makes the item; a client draws nothing and makes no ids, so that
        // its generator and id counter stay with the other machines'.
        if (receiver != LocalPlayerId())
            return;
        ItemReplicaInfo request;
        request.baseName = record;
        gGameEngine->CreateItemForCharacter(receiver, where, request, nullptr);
        if (mRewardText.empty()) {
            ObjectManager& objects = Objects();
            if (objects.LoadTableFile(record))
                mRewardText = LocalizeSimple(objects.GetLoadTable(record).GetString("itemNameTag"));
        }
        AnnounceReward(GetQuestHandle(), mRegion, mLocationTag, mTitleTag);
        return;
    }
    // Drawn from a generator of the item's own, seeded by its id: the deciding machine alone
    // rolls, and a draw from the root generator would put its game out of step with the others.
    const std::uint32_t id = gEngine->IsNetworkEnabled() ? CreateServerObjectId(ServerIdBand::Drops)
                                                         : Objects().CreateObjectID();
    RandomUniform random;
    SeedItemGenerator(random, id);
    ItemReplicaInfo replica;
    if (id == 0 || !RollQuestItem(record, random, replica))
        return;
    replica.objectId = id;
    mLastItemId = replica.objectId;
    if (Item* sample = Item::CreateItem(replica)) {
        std::wstring text;
        sample->GetGameDescription(text);
        mRewardText = text;
        Objects().DestroyObjectEx(sample, "Game/TriggerActionGame", __LINE__);
    }
    gGameEngine->CreateItemForCharacter(receiver, where, replica, nullptr);
    AnnounceReward(GetQuestHandle(), mRegion, mLocationTag, mTitleTag);
}

// Tokens

void Action_BestowTriggerToken::SerializeChildProperties(IOStream& stream) {
    stream.StreamString("tokenName", mToken);
}

namespace {

ControllerPlayer* LocalController() {
    Player* player = LocalPlayer();
    return player ? Objects().GetObject<ControllerPlayer>(player->GetControllerId()) : nullptr;
}

}  // namespace

void Action_BestowTriggerToken::Fire(std::uint32_t, bool) {
    if (ControllerPlayer* controller = LocalController())
        controller->BestowToken(TriggerToken(mToken));
}

void Action_RemoveTriggerToken::Fire(std::uint32_t, bool) {
    if (ControllerPlayer* controller = LocalController())
        controller->RemoveToken(TriggerToken(mToken));
}

// Taking an item back

void Action_RemoveItemFromInventory::SerializeChildProperties(IOStream& stream) {
    stream.StreamString("itemName", mItemName);
}

void Action_RemoveItemFromInventory::Fire(std::uint32_t, bool) {
    Player* player = LocalPlayer();
    if (!player || mItemName.empty())
        return;
    std::vector<std::uint32_t> matching;
    std::vector<std::uint32_t> worn;
    player->GetEquipManager().GetAllAttachedItems(worn);
    worn.insert(worn.end(), player->GetInventory().GetInventoryItems().begin(),
                player->GetInventory().GetInventoryItems().end());
    for (std::uint32_t id : worn) {
        const Item* item = Objects().GetObject<Item>(id);
        if (item && RecordNamesEqual(item->GetObjectName(), mItemName))
            matching.push_back(id);
    }
    // Through the player's removal command: every machine takes the item off the player and
    // destroys it, rather than this machine alone leaving it behind unowned.
    auto* controller = Objects().GetObject<ControllerCharacter>(player->GetControllerId());
    for (std::uint32_t id : matching) {
        if (controller)
            controller->SendRemoveItemFromInventory(id);
        else if (Item* item = Objects().GetObject<Item>(id)) {
            player->TakeItemFromCharacter(id);
            Objects().DestroyObjectEx(item, "Game/TriggerActionGame", __LINE__);
        }
    }
}

}  // namespace GAME
