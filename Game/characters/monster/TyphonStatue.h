#pragma once
// A god's statue in Typhon's arena. Struck by Typhon, it hands Typhon its god's attacks and
// bursts; felled, it takes them back. It never angers anyone.
#include <cstdint>

#include "Game/characters/monster/Monster.h"

namespace GAME {

class TyphonStatue : public Monster {
    RTTI_DECLARE(TyphonStatue)
public:
    // Typhon is looked for this near when the statue falls.
    static constexpr float kTyphonReach = 500.0f;

    ~TyphonStatue() override;

    void Load(const LoadTable& table) override;
    void PreLoad(bool now) override;
    void InitialUpdate() override;
    void CharacterIsDying() override;
    bool CausesAnger() const override { return false; }
    void UnderAttack(std::uint32_t attacker) override;

    int GetGodIndex() const { return mGodIndex; }
    const CharFxPak& GetBurstEffect() const { return mBurstEffect; }
    std::uint32_t GetBurstSoundId() const { return mBurstSound; }

private:
    int mGodIndex = 0;
    CharFxPak mBurstEffect;
    std::uint32_t mBurstSound = 0;  // a SoundPak; 0: none
};

}  // namespace GAME
