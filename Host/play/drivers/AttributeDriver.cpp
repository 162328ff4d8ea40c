#include "Host/play/drivers/AttributeDriver.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "Engine/object/ObjectManager.h"
#include "Game/ai/controllers/ControllerCharacter.h"
#include "Game/characters/Player.h"
#include "Host/play/PlayEventLog.h"

namespace GAME {

namespace {

struct AttributeName {
    CharAttributeType type;
    const char* name;
};

constexpr std::array<AttributeName, 5> kAttributes = {{
    {CharAttributeType::Strength, "Strength"},
    {CharAttributeType::Dexterity, "Dexterity"},
    {CharAttributeType::Intelligence, "Intelligence"},
    {CharAttributeType::Life, "Life"},
    {CharAttributeType::Mana, "Mana"},
}};

}  // namespace

void AttributeDriver::Step(Player& player) {
    // A person's first click comes after the game has shown the player once: a brought
    // character's biography takes its life only then, and a spend before would leave it at none.
    const bool firstLook = !mSeenAny;
    NoteChanges(player);
    const std::uint32_t points = player.GetModifierPoints();
    if (firstLook || points == 0 || !player.IsAlive() || !player.IsInWorld())
        return;
    auto* controller =
        Singleton<ObjectManager>::Get().GetObject<ControllerCharacter>(player.GetControllerId());
    if (!controller)
        return;
    switch (points % 3) {
        case 0:
            controller->IncrementCharacterStrength();
            break;
        case 2:
            controller->IncrementCharacterLife();
            break;
        default:
            controller->IncrementCharacterDexterity();
            break;
    }
}

void AttributeDriver::NoteChanges(Player& player) {
    const CharacterBio& bio = player.GetCharacterBio();
    for (std::size_t i = 0; i < kAttributes.size(); ++i) {
        const float value = bio.GetBaseCharAttribute(kAttributes[i].type);
        if (mSeenAny && value > mSeen[i])
            mLog.PrintStamped(std::string("you raise ") + kAttributes[i].name + " to " +
                              std::to_string(std::lround(value)));
        mSeen[i] = value;
    }
    mSeenAny = true;
}

}  // namespace GAME
