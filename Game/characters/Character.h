#pragma once
// The character actor, as far as the game core needs it so far: its team, level, experience,
// life, mana, money, unspent points, active status skills and the bonuses it takes. The rest of
// the character (biography, skills, combat, movement) grows with its own subsystem.
#include <cstdint>
#include <string>
#include <vector>

#include "Engine/object/Object.h"
#include "Game/core/players/Team.h"
#include "Game/world/effects/PFxManager.h"

namespace GAME {

class Bonus;

class Character : public Actor {
    RTTI_DECLARE(Character)
public:
    static constexpr std::uint32_t kMaxMoney = 2000000000u;

    Character();
    ~Character() override;

    // The team, or the invisible team while the character is invisible.
    virtual Team GetTeam() const;
    virtual void SetTeam(const Team& team) { mTeam = team; }
    void SetInvisible(bool invisible) { mInvisible = invisible; }
    bool IsInvisible() const { return mInvisible; }

    std::uint32_t GetCharLevel() const { return mLevel; }
    void SetCharLevel(std::uint32_t level) { mLevel = level; }
    std::uint32_t GetExperiencePoints() const { return mExperience; }
    void ReceiveExperience(std::uint32_t points);
    // What killing this character is worth: the root's reward over its level and experience.
    std::uint32_t GetExperienceReward() const;
    // A pet or summon keeps its master's object id (0: none); its damage counts for the master.
    std::uint32_t GetMasterId() const { return mMasterId; }
    void SetMasterId(std::uint32_t master) { mMasterId = master; }
    std::uint32_t GetModifierPoints() const { return mModifierPoints; }
    std::uint32_t GetSkillPoints() const { return mSkillPoints; }
    // 1: male.
    int GetGender() const { return mGender; }
    void SetGender(int gender) { mGender = gender; }

    float GetCurrentLife() const { return mLife; }
    float GetLifeLimit() const { return mLifeLimit; }
    float GetCurrentMana() const { return mMana; }
    float GetManaLimit() const { return mManaLimit; }
    void SetLife(float life, float limit);
    void SetMana(float mana, float limit);

    std::uint32_t GetMoney() const { return mMoney; }
    void AddMoney(std::uint32_t amount);
    std::uint32_t SubtractMoney(std::uint32_t amount);

    // Appends the record names of the skills active on the character.
    void GetActiveStatusSkills(std::vector<std::string>& names) const;
    void SetActiveStatusSkills(std::vector<std::string> names) { mStatusSkills = std::move(names); }

    virtual void TakeBonus(const Bonus& bonus, bool fromPotion, int lifeType);

    // Effects on the character, through its effect manager.
    virtual std::uint32_t AddParticleEffect(const std::string& name,
                                            const std::string& attachPoint) {
        return mFxManager.AddParticleEffect(name, attachPoint);
    }
    virtual void StartParticleEffect(std::uint32_t id) { mFxManager.StartParticleEffect(id); }
    virtual void StopParticleEffect(std::uint32_t id) { mFxManager.StopParticleEffect(id); }
    virtual void RemoveParticleEffect(std::uint32_t& id) { mFxManager.RemoveParticleEffect(id); }
    virtual std::uint32_t AddMeshEffect(const std::string& name) {
        return mFxManager.AddMeshEffect(name);
    }
    virtual void StartMeshEffect(std::uint32_t id) { mFxManager.StartMeshEffect(id); }
    virtual void StopMeshEffect(std::uint32_t id) { mFxManager.StopMeshEffect(id); }
    virtual void RemoveMeshEffect(std::uint32_t& id) { mFxManager.RemoveMeshEffect(id); }
    PFxManager& GetFxManager() { return mFxManager; }

private:
    Team mTeam;
    bool mInvisible = false;
    std::uint32_t mLevel = 1;
    std::uint32_t mExperience = 0;
    std::uint32_t mMasterId = 0;
    std::uint32_t mModifierPoints = 0;
    std::uint32_t mSkillPoints = 0;
    int mGender = 1;
    float mLife = 0.0f;
    float mLifeLimit = 0.0f;
    float mMana = 0.0f;
    float mManaLimit = 0.0f;
    std::uint32_t mMoney = 0;
    std::vector<std::string> mStatusSkills;
    PFxManager mFxManager;
};

}  // namespace GAME
