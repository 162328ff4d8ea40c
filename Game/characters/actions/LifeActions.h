#pragma once
// Coming into the world, dying and coming back.
#include <vector>

#include "Game/characters/actions/CharacterActionBase.h"

namespace GAME {

class DieAction : public CharacterActionBase {
public:
    DieAction(std::uint32_t parentId, std::vector<std::uint32_t> objectIds);
    DieAction(const DieAction&) = default;

    void Execute() override;
    void AnimationCallback(const Name& event) override;
    std::unique_ptr<CharacterActionPacketBase> GetNetPacket() const override;

    // The ids the death handlers create their objects under, the same on every machine.
    const std::vector<std::uint32_t>& GetObjectIds() const { return mObjectIds; }

protected:
    void OnFinish() override;

private:
    std::vector<std::uint32_t> mObjectIds;
};

class SpawnAction : public CharacterActionBase {
public:
    explicit SpawnAction(std::uint32_t parentId);
    SpawnAction(const SpawnAction&) = default;

    void Execute() override;
    void AnimationCallback(const Name& event) override;
    std::unique_ptr<CharacterActionPacketBase> GetNetPacket() const override;
};

class RespawnAction : public CharacterActionBase {
public:
    RespawnAction(std::uint32_t parentId, const WorldCoords& coords);
    RespawnAction(const RespawnAction&) = default;

    void Execute() override;
    void AnimationCallback(const Name& event) override;
    std::unique_ptr<CharacterActionPacketBase> GetNetPacket() const override;

    const WorldCoords& GetCoords() const { return mCoords; }

protected:
    void OnFinish() override;

private:
    WorldCoords mCoords;
};

}  // namespace GAME
