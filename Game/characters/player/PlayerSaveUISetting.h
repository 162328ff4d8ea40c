#pragma once
// The user interface's skill bar settings as the character file keeps them.
#include <array>
#include <cstdint>
#include <string>

namespace GAME {

class IOStream;

struct PlayerSave_UISetting {
    struct SkillSet {
        std::string primarySkill;
        std::string secondarySkill;
        bool active = false;
        bool operator==(const SkillSet&) const = default;
    };
    static constexpr std::size_t kSkillSetCount = 5;

    PlayerSave_UISetting() { skillSets[0].active = true; }

    bool equipmentSelection = false;
    std::int32_t skillWindowSelection = 0;
    std::array<SkillSet, kSkillSetCount> skillSets{};
    bool skillSettingValid = false;

    bool operator==(const PlayerSave_UISetting&) const = default;
    void StreamProperties(IOStream& stream);
};

// The host's side of a player: it shows the skill bars the save holds and hands back what the
// user set since.
class PlayerGameInterface {
public:
    virtual ~PlayerGameInterface() = default;
    virtual void RestoreUISettings(PlayerSave_UISetting& settings) = 0;
    virtual void GetUISettings(PlayerSave_UISetting& settings) const = 0;
};

}  // namespace GAME
