#pragma once
// The quest actions on non-player characters: light one up for a conversation, replace, clear
// or start its dialog, make it a boat master, and have it hand out or drop an item. They bind to
// the character as it appears and wait for it while pending.
#include <cstdint>
#include <string>

#include "Engine/world/Math.h"
#include "Game/characters/npc/NpcQuestActions.h"
#include "Game/quests/actions/BoundAction.h"

namespace GAME {

class Npc;

// The kinds that act on the one character of "npc".
class NpcAction : public BoundAction {
public:
    using BoundAction::BoundAction;
    void SerializeChildProperties(IOStream& stream) override;

protected:
    void BindCreature(const std::string& name, std::uint32_t id) override;
    void BindEntity(const std::string&, std::uint32_t) override {}
    // The bound non-player character, or null.
    Npc* BoundNpc() const;

    std::string mNpc;
};

class Action_IlluminateNpc : public NpcAction, public NpcIlluminateAction {
public:
    using NpcAction::NpcAction;
    const char* GetName() const override { return "Action_IlluminateNpc"; }
    bool CanReFire() const override { return true; }
    void Fire(std::uint32_t, bool reFire) override { FirePending(reFire, true); }
    void SerializeChildProperties(IOStream& stream) override;
    void StreamChildProperties(IOStream& stream) override;
    // NpcIlluminateAction: the character puts the light out once its conversation ran.
    std::uint32_t GetActionId() const override { return GetId(); }
    int GetIlluminationType() const override { return mType; }
    bool IsDeluminate() const override { return mDeluminate; }
    void SetDeluminate() override { mDeluminate = true; }

protected:
    std::string Describe() const override;
    void Apply() override;

private:
    std::int32_t mType = 1;
    bool mDeluminate = false;
};

class Action_UpdateNPCDialog : public NpcAction, public NpcDialogUpdateAction {
public:
    using NpcAction::NpcAction;
    const char* GetName() const override { return "Action_UpdateNPCDialog"; }
    bool CanReFire() const override { return true; }
    bool CanDelay() const override { return false; }
    void Fire(std::uint32_t, bool reFire) override { FirePending(reFire, true); }
    void SerializeChildProperties(IOStream& stream) override;
    void StreamChildProperties(IOStream& stream) override;
    // NpcDialogUpdateAction: the character has spoken the dialog's primary line.
    std::uint32_t GetActionId() const override { return GetId(); }
    void SetNoPrimaryDialog(bool none) override { mNoPrimaryDialog = none; }
    bool GetNoPrimaryDialog() const { return mNoPrimaryDialog; }
    const std::string& GetDialogFile() const { return mDialogFile; }

protected:
    std::string Describe() const override {
        return "Update " + Highlight(ShowRecordName(mNpc)) + "'s Dialog to " +
               Highlight(ShowRecordName(mDialogFile));
    }
    void Apply() override;

private:
    std::string mDialogFile;
    bool mNoPrimaryDialog = false;
};

class Action_ClearNPCDialog : public NpcAction {
public:
    using NpcAction::NpcAction;
    const char* GetName() const override { return "Action_ClearNPCDialog"; }
    bool CanReFire() const override { return true; }
    void Fire(std::uint32_t, bool reFire) override { FirePending(reFire, true); }

protected:
    std::string Describe() const override {
        return "Clear " + Highlight(ShowRecordName(mNpc)) + "'s Dialog";
    }
    void Apply() override;
};

// Starts a conversation at once; it never waits for its character.
class Action_TalkNPC : public NpcAction {
public:
    using NpcAction::NpcAction;
    const char* GetName() const override { return "Action_TalkNPC"; }
    bool CanDelay() const override { return false; }
    void Fire(std::uint32_t target, bool reFire) override;
    void StreamChildProperties(IOStream&) override {}

protected:
    std::string Describe() const override {
        return "Initiate Conversation with " + Highlight(ShowRecordName(mNpc));
    }
    void Apply() override {}
};

class Action_BoatDialog : public NpcAction {
public:
    using NpcAction::NpcAction;
    const char* GetName() const override { return "Action_BoatDialog"; }
    bool CanReFire() const override { return true; }
    void Fire(std::uint32_t, bool reFire) override { FirePending(reFire, true); }
    void SerializeChildProperties(IOStream& stream) override;
    void StreamChildProperties(IOStream&) override {}
    // What a server checks a guided travel against: whose way it is and where it leads.
    const std::string& GetNpcRecord() const { return mNpc; }
    bool IsOn() const { return mOnOff; }
    Vec3 GetDestination() const {
        return Vec3(static_cast<float>(mX), static_cast<float>(mY), static_cast<float>(mZ));
    }

protected:
    std::string Describe() const override;
    void Apply() override;

private:
    bool mOnOff = false;
    std::int32_t mX = 0;
    std::int32_t mY = 0;
    std::int32_t mZ = 0;
    std::string mTag;
};

// The two kinds that give an item through a character ("npc" and "item[0..2]").
class NpcItemAction : public BoundAction {
public:
    using BoundAction::BoundAction;
    void Fire(std::uint32_t, bool reFire) override { FirePending(reFire, true); }
    void SerializeChildProperties(IOStream& stream) override;

protected:
    void BindCreature(const std::string& name, std::uint32_t id) override;
    const std::string& Item() const { return mItem[static_cast<std::size_t>(QuestDifficulty())]; }

    std::string mNpc;
    PerDifficulty<std::string> mItem;
};

class Action_DispenseItemFromNpc : public NpcItemAction {
public:
    using NpcItemAction::NpcItemAction;
    const char* GetName() const override { return "Action_DispenseItemFromNpc"; }
    bool CanReFire() const override { return true; }

protected:
    std::string Describe() const override {
        return "Dispense Item " + Highlight(ShowRecordName(Item())) + " From NPC " +
               Highlight(ShowRecordName(mNpc));
    }
    void Apply() override;
};

class Action_DropItemFromNpc : public NpcItemAction {
public:
    using NpcItemAction::NpcItemAction;
    const char* GetName() const override { return "Action_DropItemFromNpc"; }
    std::uint32_t GetLastItemId() const { return mLastItemId; }

protected:
    std::string Describe() const override {
        return "Drop Item " + Highlight(ShowRecordName(Item())) + " From " +
               Highlight(ShowRecordName(mNpc));
    }
    void Apply() override;

private:
    std::uint32_t mLastItemId = 0;
};

}  // namespace GAME
