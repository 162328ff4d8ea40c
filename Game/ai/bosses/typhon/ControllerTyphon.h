#pragma once
// Typhon's controller: now and then it breaks off the fight, walks to a standing god's statue,
// strikes it with the god's transfer skill and then fights with that god's five special attacks
// for a while before its own come back. The two extra states bring it to the statue and strike.
#include <array>
#include <cstddef>
#include <cstdint>

#include "Game/ai/monster/ControllerMonster.h"
#include "Game/ai/monster/states/CombatStates.h"

namespace GAME {

class ControllerTyphon : public ControllerMonster {
    RTTI_DECLARE(ControllerTyphon)
public:
    static constexpr int kGodCount = 4;
    // The current god while Typhon uses its own attacks.
    static constexpr int kNoGod = 4;
    // Statues this near are candidates.
    static constexpr float kStatueReach = 500.0f;
    // Extra draws when the statue chosen last comes up again.
    static constexpr int kRedraws = 10;

    // One special attack slot of a god.
    struct GodAttack {
        std::uint32_t skillId = 0;
        int timeout = 0;
        int delay = 0;
        int chance = 0;
        SkillUseRange range = SkillUseRange::Any;
    };
    using AttackSet = std::array<GodAttack, kSpecialAttackCount>;

    void Load(const LoadTable& table) override;
    void InitialUpdate() override;
    void Update(int ms) override;
    void RegisterStates() override;

    static bool IsGod(int god) { return god >= 0 && god < kGodCount; }
    // "zeus", "demeter", "hades", "apollo"; empty for any other index.
    static const char* GetGodName(int god);
    // Slot 0..4 of god 0..3; anything else is ignored.
    void SetGodSpecialAttack(int god, std::size_t slot, const GodAttack& attack);
    void SetGodSpecialAttack1(int god, const GodAttack& attack) {
        SetGodSpecialAttack(god, 0, attack);
    }
    void SetGodSpecialAttack2(int god, const GodAttack& attack) {
        SetGodSpecialAttack(god, 1, attack);
    }
    void SetGodSpecialAttack3(int god, const GodAttack& attack) {
        SetGodSpecialAttack(god, 2, attack);
    }
    void SetGodSpecialAttack4(int god, const GodAttack& attack) {
        SetGodSpecialAttack(god, 3, attack);
    }
    void SetGodSpecialAttack5(int god, const GodAttack& attack) {
        SetGodSpecialAttack(god, 4, attack);
    }
    void SetTransferSkill(int god, std::uint32_t skillId);
    std::uint32_t GetTransferSkill(int god) const;
    const AttackSet& GetGodAttacks(int god) const;
    const AttackSet& GetDefaultAttacks() const { return mDefaultAttacks; }

    void ApplyGodSpecialAttacks(int god);
    void RestoreSpecialAttacks();
    // The god's statue fell: its attacks end at once when they are the ones in use.
    void RemoveGodSkills(int god);
    // Chooses a standing statue and sets out for it; false when none stands within reach.
    bool SelectStatue();

    int GetCurrentGod() const { return mCurrentGod; }
    int GetSeekCountdown() const { return mSeekCountdown; }
    int GetGodSkillCountdown() const { return mGodSkillCountdown; }
    int GetLastStatueIndex() const { return mLastStatueIndex; }
    int GetMinTimeWithoutGodSkills() const { return mMinWithout; }
    int GetMaxTimeWithoutGodSkills() const { return mMaxWithout; }
    int GetMinTimeWithGodSkills() const { return mMinWith; }
    int GetMaxTimeWithGodSkills() const { return mMaxWith; }

private:
    // rand / 32767 of the way from min to max, truncated.
    static int DrawTime(int min, int max);
    void SetSpecialAttacks(const AttackSet& attacks);

    std::array<AttackSet, kGodCount> mGodAttacks{};
    AttackSet mDefaultAttacks{};
    int mMinWithout = 3000;
    int mMaxWithout = 6000;
    int mSeekCountdown = 0;
    int mMinWith = 10000;
    int mMaxWith = 20000;
    int mGodSkillCountdown = -1;
    std::array<std::uint32_t, kGodCount> mTransferSkills{};
    int mLastStatueIndex = -1;
    int mCurrentGod = kNoGod;
};

// Walks to the chosen statue until its transfer skill reaches it. A statue angers no one, so the
// anger table forgets it at once and the enemy search offers the player again within a tick:
// the statue states let that offer pass, or Typhon would never reach a statue while it fights.
class ControllerTyphonStatePursueStatue : public ControllerMonsterStatePursue {
public:
    using ControllerMonsterStatePursue::ControllerMonsterStatePursue;
    void EnemyFound(std::uint32_t) override {}
    void OnBegin() override;
    void OnUpdate(int ms) override;
    void EndOfPathReached() override;

private:
    void GiveUp();
    void Strike(std::uint32_t statue, std::uint32_t skill);
};

// Strikes the statue once with the transfer skill, then returns to the fight.
class ControllerTyphonStateAttackStatue : public ControllerMonsterStateAttack {
public:
    using ControllerMonsterStateAttack::ControllerMonsterStateAttack;
    void EnemyFound(std::uint32_t) override {}
    void HandleEvent(const Name& name) override;
    void OnEnd() override;
    void OnUpdate(int ms) override;
};

}  // namespace GAME
