#pragma once
// The final boss. It lights a god's effect while it uses that god's borrowed attacks, and its
// death ends the play-through: death effects, the host's notice, the closing activity, an
// automatic save and the record of the difficulty completed.
#include <array>
#include <cstdint>
#include <string>

#include "Game/characters/monster/Monster.h"

namespace GAME {

class ControllerTyphon;

// The four gods of the statues, by index.
inline constexpr int kTyphonGodCount = 4;
// "zeus" 0, "demeter" 1, "hades" 2, "apollo" 3; any other name 0.
int GetGodIndexFromName(const std::string& name);

class Typhon : public Monster {
    RTTI_DECLARE(Typhon)
public:
    ~Typhon() override;

    void Load(const LoadTable& table) override;
    void PreLoad(bool now) override;
    void InitialUpdate() override;
    void ImDying() override;

    // Lights the god's effect (0..3; any other index is ignored).
    void EnableSkillEffect(int god);
    // Puts out every god's effect (every machine, through its command).
    void DisableSkillEffects();
    // The god's statue fell: the god's attacks end if they are in use.
    void RemoveGodSkills(int god);

    const CharFxPak& GetGodEffect(int god) const {
        return mGodEffects[static_cast<std::size_t>(god)];
    }

private:
    ControllerTyphon* GetTyphonController() const;
    void LoadGodBlocks(const LoadTable& table, ControllerTyphon& controller);
    void RecordCompletedDifficulty();

    std::array<CharFxPak, kTyphonGodCount> mGodEffects;
    std::string mDeathVortex;
    std::string mWisps;
    std::string mGodRays;
};

}  // namespace GAME
