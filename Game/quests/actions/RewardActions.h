#pragma once
// The quest actions that hand out rewards and items and give or take trigger tokens. Rewards
// go to the trigger's target, or to this machine's player when there is none: every machine
// runs its own player's quests.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Game/core/players/Bonus.h"
#include "Game/quests/actions/QuestAction.h"

namespace GAME {

class Character;
class RandomUniform;
struct ItemReplicaInfo;

// A reward that grants one per-difficulty amount and announces it. In a network game the server
// grants it, once per player, and every machine applies it alike (QuestRewardGrant.h).
class RewardAction : public QuestAction, public ActionRewardInterface {
public:
    using QuestAction::QuestAction;
    bool CanDelay() const override { return true; }
    void SerializeChildProperties(IOStream& stream) override;
    void Fire(std::uint32_t target, bool) override { Grant(target); }
    // The reward at the game's difficulty as a bonus; false when it is none a bonus carries.
    bool GetBonus(Bonus& bonus) const;
    // Whether the player may still be granted this reward; notes that it now is.
    bool TakeGrantFor(std::uint32_t player);

protected:
    virtual const char* AmountName() const = 0;
    virtual bool FillBonus(Bonus& bonus, std::uint32_t amount) const = 0;
    virtual void GrantHere(Character& receiver, int amount) = 0;
    // On this machine alone in single player, else through the server; announced when given.
    void Grant(std::uint32_t target);
    // The network game's grant: claimed from the server or, on the server, handed out.
    virtual bool SendGrant(std::uint32_t target);
    int Amount() const { return mAmount[static_cast<std::size_t>(QuestDifficulty())]; }
    // "%d %s" of the amount and the tag's text.
    std::wstring AmountText(const char* tag) const;
    void Announce() { AnnounceReward(GetQuestHandle(), mRegion, mLocationTag, mTitleTag); }

    PerDifficulty<int> mAmount{};

private:
    std::vector<std::uint32_t> mGrantedTo;  // the players the server granted it to
};

class Action_GiveMoney : public RewardAction {
public:
    using RewardAction::RewardAction;
    const char* GetName() const override { return "Action_GiveMoney"; }
    std::wstring GetRewardDescription() override { return AmountText("tagRewardGold"); }

protected:
    const char* AmountName() const override { return "moneyAmount"; }
    bool FillBonus(Bonus& bonus, std::uint32_t amount) const override {
        bonus.gold = amount;
        return true;
    }
    void GrantHere(Character& receiver, int amount) override;
    std::string Describe() const override {
        return "Give Player " + Highlight(JoinPerDifficulty(mAmount)) + " gold";
    }
};

class Action_GiveExp : public RewardAction {
public:
    using RewardAction::RewardAction;
    const char* GetName() const override { return "Action_GiveExp"; }
    std::wstring GetRewardDescription() override { return AmountText("tagRewardExperience"); }

protected:
    const char* AmountName() const override { return "experiencePts"; }
    bool FillBonus(Bonus& bonus, std::uint32_t amount) const override {
        bonus.experience = amount;
        return true;
    }
    void GrantHere(Character& receiver, int amount) override;
    std::string Describe() const override {
        return "Give Player " + Highlight(JoinPerDifficulty(mAmount)) + " Experience";
    }
};

class Action_GiveAttributePoints : public RewardAction {
public:
    using RewardAction::RewardAction;
    const char* GetName() const override { return "Action_GiveAttributePoints"; }
    std::wstring GetRewardDescription() override { return AmountText("tagRewardAttribute"); }

protected:
    const char* AmountName() const override { return "attributeAmount"; }
    bool FillBonus(Bonus& bonus, std::uint32_t amount) const override {
        bonus.attributePoints = amount;
        return true;
    }
    void GrantHere(Character& receiver, int amount) override;
    std::string Describe() const override {
        return "Give Player " + Highlight(JoinPerDifficulty(mAmount)) + " attribute points";
    }
};

class Action_GiveSkillPoints : public RewardAction {
public:
    using RewardAction::RewardAction;
    const char* GetName() const override { return "Action_GiveSkillPoints"; }
    void Fire(std::uint32_t target, bool reFire) override;
    std::wstring GetRewardDescription() override;
    void SerializeChildProperties(IOStream& stream) override;

protected:
    const char* AmountName() const override { return "skillAmount"; }
    bool FillBonus(Bonus& bonus, std::uint32_t amount) const override;
    void GrantHere(Character& receiver, int amount) override;
    bool SendGrant(std::uint32_t target) override;
    std::string Describe() const override {
        return "Give Player " + Highlight(JoinPerDifficulty(mAmount)) + " skill points" + " to " +
               Highlight(ShowRecordName(mSkill));
    }

private:
    std::string mSkill;
};

// An item of a record, or rolled from a loot table. A networked client asks the server, which
// rolls and makes it for the client's own player.
class Action_GiveItem : public QuestAction, public ActionRewardInterface {
public:
    using QuestAction::QuestAction;
    const char* GetName() const override { return "Action_GiveItem"; }
    bool CanDelay() const override { return true; }
    void Fire(std::uint32_t target, bool reFire) override;
    std::wstring GetRewardDescription() override { return mRewardText; }
    void SerializeChildProperties(IOStream& stream) override;
    std::uint32_t GetLastItemId() const { return mLastItemId; }
    const PerDifficulty<std::string>& GetItems() const { return mItem; }

protected:
    std::string Describe() const override {
        return "Give Player Item " + Highlight(JoinPerDifficulty(mItem, true));
    }

private:
    PerDifficulty<std::string> mItem;
    std::uint32_t mLastItemId = 0;
    std::wstring mRewardText;
};

class Action_BestowTriggerToken : public QuestAction {
public:
    using QuestAction::QuestAction;
    const char* GetName() const override { return "Action_BestowTriggerToken"; }
    void Fire(std::uint32_t target, bool reFire) override;
    void SerializeChildProperties(IOStream& stream) override;
    bool ContainsToken(const char* token) const override { return token && mToken == token; }
    void RemoveTokenReferences(const char* token) override {
        if (ContainsToken(token))
            mToken.clear();
    }

protected:
    std::string Describe() const override { return "Give Token " + HighlightToken(mToken); }
    std::string mToken;
};

class Action_RemoveTriggerToken : public Action_BestowTriggerToken {
public:
    using Action_BestowTriggerToken::Action_BestowTriggerToken;
    const char* GetName() const override { return "Action_RemoveTriggerToken"; }
    void Fire(std::uint32_t target, bool reFire) override;

protected:
    std::string Describe() const override { return "Remove Token " + HighlightToken(mToken); }
};

class Action_RemoveItemFromInventory : public QuestAction {
public:
    using QuestAction::QuestAction;
    const char* GetName() const override { return "Action_RemoveItemFromInventory"; }
    void Fire(std::uint32_t target, bool reFire) override;
    void SerializeChildProperties(IOStream& stream) override;

protected:
    std::string Describe() const override {
        return "Remove Item " + Highlight(ShowRecordName(mItemName)) + " From Inventory";
    }

private:
    std::string mItemName;
};

// The first action of this machine's quests (any trigger of any step) that `match` takes.
TriggerAction* FindQuestAction(const std::function<bool(TriggerAction&)>& match);
// The attribute points the reward actions of this machine's quests give together, at the game's
// difficulty: the most any player can have had from them.
std::uint64_t QuestAttributePointsOffered();
// Whether an item action of this machine's quests names the record (at any difficulty).
bool IsQuestGivenItem(const std::string& record);
// The item names of loot tables that quests roll rather than give as they are.
bool IsQuestLootTableClass(const std::string& className);
// Rolls the record when it is a loot table (else it is the base), draws the seed, both from
// `random`. False when nothing is to be made.
bool RollQuestItem(const std::string& record, RandomUniform& random, ItemReplicaInfo& out);

}  // namespace GAME
