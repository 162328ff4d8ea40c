#pragma once
// States that combat puts a character in: stunned, immobilized, trapped. Their packets carry
// no pre-move.
#include "Game/characters/actions/CharacterActionBase.h"

namespace GAME {

class TakeStunAction : public CharacterActionBase {
public:
    explicit TakeStunAction(std::uint32_t parentId);
    TakeStunAction(const TakeStunAction&) = default;

    void Execute() override;
    void AnimationCallback(const Name&) override {}
    std::unique_ptr<CharacterActionPacketBase> GetNetPacket() const override;
};

class ImmobilizeAction : public CharacterActionBase {
public:
    explicit ImmobilizeAction(std::uint32_t parentId);
    ImmobilizeAction(const ImmobilizeAction&) = default;

    void Execute() override;
    std::unique_ptr<CharacterActionPacketBase> GetNetPacket() const override;
};

class TakeTrapAction : public CharacterActionBase {
public:
    explicit TakeTrapAction(std::uint32_t parentId);
    TakeTrapAction(const TakeTrapAction&) = default;

    void Execute() override;
    std::unique_ptr<CharacterActionPacketBase> GetNetPacket() const override;
};

}  // namespace GAME
