#pragma once
// The base of the player states: decides what a click means (an NPC, an item on the ground, a
// fixed item, a strategic-movement object, a character to use a skill on, or the ground) and
// which state follows. A state overrides the requests it treats differently; the traits given
// at construction say which whole groups of requests and events it refuses.
#include <cstdint>

#include "Game/ai/controllers/ControllerAIStateT.h"
#include "Game/ai/controllers/player/ControllerPlayer.h"
#include "Game/characters/Player.h"

namespace GAME {

class Item;

struct ControllerPlayerStateTraits {
    // Clicks (skill, NPC, item, fixed item, strategic movement, move) take the defaults.
    bool takesClicks;
    // Items, pets and relics take the defaults.
    bool takesItems;
    // Begin immobilize, trap and stun switch to their states.
    bool interruptible;
};

class ControllerPlayerState : public ControllerAIStateT<ControllerPlayer, Player> {
public:
    using Traits = ControllerPlayerStateTraits;
    static constexpr Traits kFree{true, true, true};
    static constexpr Traits kRestrained{false, true, false};
    static constexpr Traits kIgnoresAll{false, false, false};

    explicit ControllerPlayerState(ControllerPlayer* controller, Traits traits = kFree)
        : ControllerAIStateT(controller), mTraits(traits) {}

    bool SelectPrimaryAction(bool inPlace, bool second, const WorldVec3& point,
                             unsigned& target) override;
    bool SelectSecondaryAction(bool inPlace, bool second, const WorldVec3& point,
                               unsigned& target) override;
    bool ActivateSuperSkill(bool inPlace, bool second, const WorldVec3& point,
                            unsigned& target) override;
    bool RequestUseItem(std::uint32_t id, bool flag) override;
    bool RequestReleasePet(std::uint32_t id) override;
    bool RequestUseRelic(std::uint32_t relicId, std::uint32_t itemId) override;
    void BeginImmobilize() override;
    void BeginTrap() override;
    void BeginStun() override;

    // The click requests; the object ones name the object by id.
    virtual bool RequestSkillAction(bool inPlace, bool second, std::uint32_t skillId,
                                    const WorldVec3& point, std::uint32_t& target);
    virtual void RequestNpcAction(bool inPlace, bool second, const WorldVec3& point,
                                  std::uint32_t npc);
    virtual void RequestItemAction(bool inPlace, bool second, const WorldVec3& point, Item& item);
    virtual void RequestFixedItemAction(bool inPlace, bool second, const WorldVec3& point,
                                        std::uint32_t fixedItem);
    virtual void RequestStrategicMovementAction(bool inPlace, bool second, const WorldVec3& point,
                                                std::uint32_t object);
    virtual void RequestMoveAction(bool inPlace, bool second, const WorldVec3& point);

protected:
    bool DefaultRequestSkillAction(bool inPlace, bool second, std::uint32_t skillId,
                                   const WorldVec3& point, std::uint32_t& target);
    void DefaultRequestNpcAction(bool inPlace, bool second, const WorldVec3& point,
                                 std::uint32_t npc);
    void DefaultRequestItemAction(bool inPlace, bool second, const WorldVec3& point, Item& item);
    void DefaultRequestFixedItemAction(bool inPlace, bool second, const WorldVec3& point,
                                       std::uint32_t fixedItem);
    void DefaultRequestStrategicMovementAction(bool inPlace, bool second, const WorldVec3& point,
                                               std::uint32_t object);
    void DefaultRequestMoveAction(bool inPlace, bool second, const WorldVec3& point);
    bool DefaultRequestUseItemAction(std::uint32_t id, bool flag);
    bool DefaultRequestReleasePetAction(std::uint32_t id);
    bool DefaultRequestUseRelicAction(std::uint32_t relicId, std::uint32_t itemId);
    void DefaultBeginImmobilizeAction() { SetState("Immobilized", ControllerAIStateData()); }
    void DefaultBeginTrapAction() { SetState("Trapped", ControllerAIStateData()); }
    void DefaultBeginStunAction() { SetState("Stunned", ControllerAIStateData()); }
    void EngageNpc(std::uint32_t npc, bool first, bool second);
    void PickupItem(std::uint32_t item);

    // The aim point, and whether the skill reaches it from here (or the move-to point is
    // underfoot): the in-reach test of a skill request.
    bool SkillReaches(std::uint32_t skillId, std::uint32_t target, const WorldVec3& aim,
                      const WorldVec3& moveTo);
    // Where a skill on the target is aimed and from where it is used; false when the target
    // names no character and the given target names none either and the point has no region.
    struct SkillPlacement {
        WorldVec3 aim;
        WorldVec3 moveTo;
    };
    SkillPlacement PlaceSkill(std::uint32_t skillId, std::uint32_t target,
                              std::uint32_t givenTarget, const WorldVec3& point,
                              bool clearNonCharacter, std::uint32_t& outTarget);
    // The skill's refusals and target check; false when it refuses.
    bool SkillAccepts(std::uint32_t skillId, std::uint32_t& target, const WorldVec3& point,
                      bool inPlace, bool voice);
    // The target a skill takes by its target type; false when an enemy-target skill has no
    // enemy but an ally is chosen (the target is then 0).
    bool ChooseSkillTarget(std::uint32_t skillId, std::uint32_t& target) const;

    // Uses the state's skill on its object, or at its point when there is none (the seed from
    // the run-time generator); false, using nothing, when the object names no character.
    bool UseStateSkill();
    // The event that ends an animation.
    static bool IsEndEvent(const Name& name);

    WorldVec3 MyPosition();
    bool Reachable(const WorldVec3& point);
    // A skill that can be the current state's: the data block's skill as a Skill.
    Skill* CurrentSkill() const;

private:
    Traits mTraits;
};

}  // namespace GAME
