#pragma once
// The controller of a player on the machine that controls it: turns the user's clicks and
// commands into state changes of the player states, remembers the target of a held button, brings
// the dead player back through the respawn activity and keeps the mailboxes the interface reads.
#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "Engine/world/Region.h"
#include "Game/ai/controllers/ControllerAI.h"

namespace GAME {

class ControllerPlayerState;
class HotSlotOption;
class PlayerInventoryCtrl;
class Player;
class TriggerToken;

class ControllerPlayer : public ControllerAI {
    RTTI_DECLARE(ControllerPlayer)
public:
    ControllerPlayer();
    ~ControllerPlayer() override;

    void Load(const LoadTable& table) override;
    void PostParentAttached() override;
    // The state machine, then the bag's potion cooldowns.
    void Update(int ms) override;
    void RespawnMe() override;
    unsigned CheckAction(CharacterActionType type) override;
    bool NeedsDeathUpdate() override { return true; }
    void DeathUpdate(int ms) override;
    void BeginStun() override;
    void EndStun() override;
    void BeginImmobilize() override;
    void EndImmobilize() override;
    void BeginTrap() override;
    void EndTrap() override;
    void CharacterIsDying() override;
    void CharacterIsDead() override;
    void RegisterStates() override;
    void RegisterTemporaryStates() override {}
    void InitializeStates() override;

    virtual bool UseItem(std::uint32_t itemId, bool flag);
    virtual bool ReleasePet(std::uint32_t petId);
    virtual bool UseRelic(std::uint32_t relicId, std::uint32_t itemId);

    // A click, or a held button the host repeats. `target` is the object under the cursor (0:
    // none) on the way in and the object the command aimed at on the way out. True when a
    // hot-slot skill was accepted or a primary click fell through to a move.
    bool HandleActionFromMouse(bool primary, bool inPlace, bool second, bool repeat,
                               const WorldVec3& point, std::uint32_t& target);
    // A skill hot slot was activated; the character argument is not used.
    bool SendSkillAction(Character* character, bool inPlace, bool second, std::uint32_t skillId,
                         const WorldVec3& point, std::uint32_t& target);
    bool HandlePetAction(Character& player, bool inPlace, bool second, const WorldVec3& point,
                         std::uint32_t& target);
    bool GiveItemToPlayer(std::uint32_t itemId);
    // Back to "Idle", forgetting the enemy and the held-button memory; the ally stays.
    void ClearTarget();
    void FaceTarget(std::uint32_t id);
    void ChatWithNPC(std::uint32_t npcId);
    void BestowToken(const TriggerToken& token);
    void RemoveToken(const TriggerToken& token);

    void SetCombatEnemy(std::uint32_t id) { mCombatEnemy = id; }
    std::uint32_t GetCombatEnemy() const { return mCombatEnemy; }
    void SetCombatAlly(std::uint32_t id) { mCombatAlly = id; }
    std::uint32_t GetCombatAlly() const { return mCombatAlly; }
    void SetPet(std::uint32_t id) { mPet = id; }
    std::uint32_t GetPet() const { return mPet; }
    bool IsCommandRepeated() const { return mCommandRepeated; }
    void SetMouseRepeat(std::uint32_t target, const WorldVec3& point) {
        mMouseRepeatTarget = target;
        mMouseRepeatPoint = point;
    }
    std::uint32_t GetMouseRepeatTarget() const { return mMouseRepeatTarget; }
    const WorldVec3& GetMouseRepeatPoint() const { return mMouseRepeatPoint; }
    void SetTargetPoint(const WorldVec3& point) { mTargetPoint = point; }
    const WorldVec3& GetTargetPoint() const { return mTargetPoint; }
    // The options a primary or secondary click uses: an activated hot slot's once, else the
    // primary or secondary slot's (null without the player).
    HotSlotOption* GetPrimarySlotOption() const;
    HotSlotOption* GetSecondarySlotOption() const;
    PlayerInventoryCtrl& GetInventoryCtrl() const { return *mInventoryCtrl; }
    // The bag goes with the player from one controller to the next.
    std::unique_ptr<PlayerInventoryCtrl> TakeInventoryCtrl();
    void AdoptInventoryCtrl(std::unique_ptr<PlayerInventoryCtrl> bag);

    int GetDeathDelay() const { return mDeathDelay; }
    int GetDeathCountdown() const { return mDeathCountdown; }
    std::uint32_t GetRespawnActivity() const { return mRespawnActivity; }

    // Mailboxes: the front entry (0 or the empty text when empty); a pop of an empty one does
    // nothing.
    void SetUserText(const std::string& text, int time);
    const std::string& GetMailboxUserText() const;
    int GetMailboxUserTextTime() const;
    void PopUserText();
    std::uint32_t GetMailboxItem() const;
    void PopMailboxItem();
    std::uint32_t GetMailboxNpcChat() const;
    void PopMailboxNpcChat();

private:
    struct UserText {
        std::string text;
        int time = 0;
    };

    Player* GetPlayer() const;
    ControllerPlayerState* GetPlayerState() const;

    std::unique_ptr<PlayerInventoryCtrl> mInventoryCtrl;
    std::deque<std::uint32_t> mItemMailbox;
    std::deque<std::uint32_t> mNpcChatMailbox;
    std::deque<UserText> mUserTextMailbox;
    std::string mEmptyText;
    int mDeathDelay = 0;
    int mDeathCountdown = 0;
    bool mCommandRepeated = false;
    std::uint32_t mMouseRepeatTarget = 0;
    WorldVec3 mMouseRepeatPoint;
    std::uint32_t mCombatEnemy = 0;
    std::uint32_t mCombatAlly = 0;
    std::uint32_t mPet = 0;
    std::uint32_t mRespawnActivity = 0;
    WorldVec3 mTargetPoint;
};

}  // namespace GAME
