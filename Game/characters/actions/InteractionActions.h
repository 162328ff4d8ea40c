#pragma once
// Acting on something else: picking up, using, chatting, engaging a non-player character.
#include "Game/characters/actions/CharacterActionBase.h"

namespace GAME {

class PickUpAction : public CharacterActionBase {
public:
    PickUpAction(std::uint32_t parentId, std::uint32_t objectId);
    PickUpAction(const PickUpAction&) = default;

    void Execute() override;
    void AnimationCallback(const Name& event) override;
    std::unique_ptr<CharacterActionPacketBase> GetNetPacket() const override;

    std::uint32_t GetObjectId() const { return mObjectId; }

private:
    std::uint32_t mObjectId = 0;
};

class UseAction : public CharacterActionBase {
public:
    UseAction(std::uint32_t parentId, std::uint32_t objectId);
    UseAction(const UseAction&) = default;

    void Execute() override;
    std::unique_ptr<CharacterActionPacketBase> GetNetPacket() const override;

    std::uint32_t GetObjectId() const { return mObjectId; }

private:
    std::uint32_t mObjectId = 0;
};

class ChatAction : public CharacterActionBase {
public:
    ChatAction(std::uint32_t parentId, std::uint32_t partnerId);
    ChatAction(const ChatAction&) = default;

    void Execute() override;
    std::unique_ptr<CharacterActionPacketBase> GetNetPacket() const override;

    std::uint32_t GetPartnerId() const { return mPartnerId; }

protected:
    void OnFinish() override;
    // Turns the character to the partner when both exist and the character turns to chat.
    virtual void FaceTarget(std::uint32_t partnerId);

private:
    std::uint32_t mPartnerId = 0;
};

class EngageNpcAction : public CharacterActionBase {
public:
    EngageNpcAction(std::uint32_t parentId, std::uint32_t npcId, bool first, bool second);
    EngageNpcAction(const EngageNpcAction&) = default;

    void Execute() override;
    std::unique_ptr<CharacterActionPacketBase> GetNetPacket() const override;

    std::uint32_t GetNpcId() const { return mNpcId; }

private:
    std::uint32_t mNpcId = 0;
    bool mFirst = false;  // both flags go to the npc unchanged, on this machine only
    bool mSecond = false;
};

}  // namespace GAME
