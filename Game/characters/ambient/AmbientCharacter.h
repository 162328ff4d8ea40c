#pragma once
// A character of the scenery that carries one skill of note. Its controller is made while it
// loads and handed over at its first update (a stooge's, by class name, where the game is
// decided; the stub on a client; the editor's in the editor).
#include <cstdint>
#include <string>
#include <vector>

#include "Game/characters/Character.h"

namespace GAME {

class Controller;

class AmbientCharacter : public Character {
    RTTI_DECLARE(AmbientCharacter)
public:
    static constexpr unsigned kSkillEntries = 15;

    ~AmbientCharacter() override;

    void Load(const LoadTable& table) override;
    void InitialUpdate() override;
    void UnderAttack(std::uint32_t attackerId) override;
    // A pet's summary: health, energy, its abilities or its bare-hand damage.
    void CreateUISummaryText(GameTextClass textClass,
                             std::vector<GameTextLine>& lines) const override;
    std::uint32_t GetSkillId1() const { return mSkillId1; }
    bool HasPendingController() const { return mPendingController != nullptr; }

private:
    std::uint32_t mSkillId1 = 0;
    std::string mDescriptionTag;               // "description": the display name
    Controller* mPendingController = nullptr;  // owned until InitialUpdate hands it over
};

}  // namespace GAME
