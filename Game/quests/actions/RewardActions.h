#pragma once
// The quest actions that hand out rewards and items and give or take trigger tokens. Rewards
// go to the trigger's target, or to this machine's player when there is none: every machine
// runs its own player's quests.
#include <cstdint>
#include <string>

#include "Game/quests/actions/QuestAction.h"

namespace GAME {

class Character;
class RandomUniform;
struct ItemReplicaInfo;

// A reward that grants one per-difficulty amount and announces it.
class RewardAction : public QuestAction, public ActionRewardInterface {
public:
    using QuestAction::QuestAction;
    bool CanDelay() const override { return true; }
    void SerializeChildProperties(IOStream& stream) override;

protected:
    virtual const char* AmountName() const = 0;
    int Amount() const { return mAmount[static_cast<std::size_t>(QuestDifficulty())]; }
    // "%d %s" of the amount and the tag's text.
    std::wstring AmountText(const char* tag) const;
    void Announce() { AnnounceReward(GetQuestHandle(), mRegion, mLocationTag, mTitleTag); }

    PerDifficulty<int> mAmount{};
};

class Action_GiveMoney : public RewardAction {
public:
    using RewardAction::RewardAction;
    const char* GetName() const override { return "Action_GiveMoney"; }
    void Fire(std::uint32_t target, bool reFire) override;
    std::wstring GetRewardDescription() override { return AmountText("tagRewardGold"); }

protected:
    const char* AmountName() const override { return "moneyAmount"; }
    std::string Describe() const override {
        return "Give Player " + Highlight(JoinPerDifficulty(mAmount)) + " gold";
    }
};

class Action_GiveExp : public RewardAction {
public:
    using RewardAction::RewardAction;
    const char* GetName() const override { return "Action_GiveExp"; }
    void Fire(std::uint32_t target, bool reFire) override;
    std::wstring GetRewardDescription() override { return AmountText("tagRewardExperience"); }

protected:
    const char* AmountName() const override { return "experiencePts"; }
    std::string Describe() const override {
        return "Give Player " + Highlight(JoinPerDifficulty(mAmount)) + " Experience";
    }
};

class Action_GiveAttributePoints : public RewardAction {
public:
    using RewardAction::RewardAction;
    const char* GetName() const override { return "Action_GiveAttributePoints"; }
    void Fire(std::uint32_t target, bool reFire) override;
    std::wstring GetRewardDescription() override { return AmountText("tagRewardAttribute"); }

protected:
    const char* AmountName() const override { return "attributeAmount"; }
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

// Whether an item action of this machine's quests names the record (at any difficulty).
bool IsQuestGivenItem(const std::string& record);
// The item names of loot tables that quests roll rather than give as they are.
bool IsQuestLootTableClass(const std::string& className);
// Rolls the record when it is a loot table (else it is the base), draws the seed, both from
// `random`. False when nothing is to be made.
bool RollQuestItem(const std::string& record, RandomUniform& random, ItemReplicaInfo& out);

}  // namespace GAME
