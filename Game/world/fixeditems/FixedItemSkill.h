#pragma once
// Skill emitters of fixed items: when an item opens or activates, its controller waits the
// item's skill delay, asks the skill for targets on the deciding machine and sends them; every
// machine then runs the skill's result with those targets. The base plays a warning and an
// activation presentation; the buff kind buffs characters; the spawn kind releases a monster
// that hunts the user (a trapped chest), under the id the deciding machine chose.
#include <cstdint>
#include <string>
#include <vector>

#include "Engine/media/sound/SoundPak.h"
#include "Engine/object/Object.h"
#include "Game/items/OwnedObject.h"

namespace GAME {

class FixedItem;

class FixedItemSkill : public Object {
    RTTI_DECLARE(FixedItemSkill)
public:
    void Load(const LoadTable& table) override;
    virtual void AssignParent(FixedItem* parent) { mParent = parent; }
    // On the deciding machine: the ids the result acts on (appended).
    virtual void GetTargets(unsigned int user, std::vector<unsigned int>& targets) const;
    // On every machine.
    virtual void ProcessTargetResults(unsigned int user, const std::vector<unsigned int>& targets);

    void PlayWarningFx();
    void PlayActiveFx();
    // The owning item preloads its skill's presentation; the engine's form stays reachable.
    using Object::PreLoad;
    void PreLoad();
    FixedItem* GetParent() const { return mParent; }

private:
    void PlayFx(const std::string& pak, SoundPak* sound);

    FixedItem* mParent = nullptr;
    OwnedObject<SoundPak> mWarningSound{"Game/FixedItemSkill"};
    std::string mWarningFxPak;
    OwnedObject<SoundPak> mActivateSound{"Game/FixedItemSkill"};
    std::string mActivateFxPak;
};

class FixedItemSkill_Buff : public FixedItemSkill {
    RTTI_DECLARE(FixedItemSkill_Buff)
public:
    void Load(const LoadTable& table) override;
    void GetTargets(unsigned int user, std::vector<unsigned int>& targets) const override;
    void ProcessTargetResults(unsigned int user, const std::vector<unsigned int>& targets) override;

private:
    std::string mBuffSkillName;
    float mTargetRadius = 0.0f;
    int mActiveDurationMs = 1000;
};

class FixedItemSkill_SpawnMonster : public FixedItemSkill {
    RTTI_DECLARE(FixedItemSkill_SpawnMonster)
public:
    void Load(const LoadTable& table) override;
    void GetTargets(unsigned int user, std::vector<unsigned int>& targets) const override;
    void ProcessTargetResults(unsigned int user, const std::vector<unsigned int>& targets) override;

private:
    std::string mMonsterName;
    int mTimeToLiveMs = 0;
};

}  // namespace GAME
