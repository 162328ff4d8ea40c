#pragma once
// Turns requests into character actions. An action that may not interrupt the current one waits
// as the queued action; one with a pre-action (a move to get in reach) waits as the pending
// action while the pre-action runs. Both run the first frame the action handler is idle again.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/GameTimer.h"
#include "Game/ai/controllers/Controller.h"
#include "Game/characters/actions/CharacterActionType.h"

namespace GAME {

class Character;
class CharacterAction;
class Name;
struct ProjectileInfo;
struct CollisionData;
struct WorldCoords;
struct WorldVec3;

class ControllerBaseCharacter : public Controller {
    RTTI_DECLARE(ControllerBaseCharacter)
public:
    enum ActionPermission : unsigned { Allow = 0, Queue = 1, Deny = 2 };

    ControllerBaseCharacter();
    ~ControllerBaseCharacter() override;

    virtual void InitialUpdate() {}
    virtual void Update(int ms);
    virtual void DebugRender();
    virtual void TriggerFired() {}
    virtual void HandleEvent(const Name&) {}
    virtual void SetTarget(std::uint32_t id) { mTarget = id; }
    virtual std::uint32_t GetTarget() const { return mTarget; }
    virtual void RespawnMe();
    virtual void LowHealth() {}
    virtual void EndOfPathReached() {}
    virtual void LostSlot() {}
    virtual void PickupItem(std::uint32_t) {}
    virtual void Teleport(const WorldCoords&) {}
    virtual void ProjectileNotification(std::uint32_t) {}
    virtual void ProjectileCollisionCallback(const ProjectileInfo&, const CollisionData&) {}
    virtual void CharacterHandlerUpdate(int ms);
    virtual unsigned CheckAction(CharacterActionType type);

    // Sends the action to the peers when it travels, then runs it here.
    void HandleAction(std::unique_ptr<CharacterAction> action);
    void LocalHandleAction(std::unique_ptr<CharacterAction> action);

    void SetPendingAction(std::unique_ptr<CharacterAction> action);
    void SetQueuedAction(std::unique_ptr<CharacterAction> action);
    // Hand the action over and clear the field.
    std::unique_ptr<CharacterAction> GetPendingAction();
    std::unique_ptr<CharacterAction> GetQueuedAction();
    const CharacterAction* PeekPendingAction() const { return mPendingAction.get(); }
    const CharacterAction* PeekQueuedAction() const { return mQueuedAction.get(); }

    void SetShowIdle(bool show) { mShowIdle = show; }
    // The nearest actor to the point among the ids; 0 when none names an actor.
    static std::uint32_t FindClosestActor(const WorldVec3& point,
                                          const std::vector<std::uint32_t>& ids);

    void PushDebugRenderText(std::string text) { mDebugText.push_back(std::move(text)); }
    void FlushDebugRender();
    const std::vector<std::string>& GetDebugRenderText() const { return mDebugText; }
    void GetActionsAsStrings(std::vector<std::string>& out);

protected:
    // The parent as a character, or null. Inline while the kept answer stands: controllers ask
    // several times a frame.
    [[gnu::always_inline]] Character* GetParentCharacter() const {
#ifdef NDEBUG
        if (Singleton<ObjectManager>::Get().StillKept(GetParentId(), mParent))
            return mParent.object;
#endif
        return FindParentCharacter();
    }
    // Runs the action, or makes it pending behind its pre-action.
    void ExecuteOrStartPreAction(Character& character, std::unique_ptr<CharacterAction> action);

private:
    std::uint32_t mTarget = 0;
    GameTimer mTimer;
    bool mShowIdle = false;
    std::unique_ptr<CharacterAction> mPendingAction;
    std::unique_ptr<CharacterAction> mQueuedAction;
    std::vector<std::string> mDebugText;
    bool mFirstUpdate = true;
    // GetParentCharacter past a kept answer that stands; in debug builds every time, so that the
    // kept answer is checked.
    Character* FindParentCharacter() const;
    // Asked for several times a frame.
    mutable ObjectManager::Kept<Character> mParent;
};

}  // namespace GAME
