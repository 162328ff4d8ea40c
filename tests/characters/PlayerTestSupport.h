#pragma once
// The host's side of a player for tests: hands out the skill bars the user set, keeps what a
// load restores, and counts the saves the player asks for.
#include <vector>

#include "Game/characters/player/PlayerSaveUISetting.h"
#include "Game/core/GameUIInterface.h"
#include "Game/skills/Skill.h"
#include "support/RecordingUI.h"

namespace GAME::test {

class FakeGameInterface : public PlayerGameInterface, public RecordingUI {
public:
    void RestoreUISettings(PlayerSave_UISetting& settings) override {
        restored = settings;
        ++restoreCount;
    }
    void GetUISettings(PlayerSave_UISetting& settings) const override { settings = current; }
    bool DisplaySkillReallocationWindow(unsigned) override { return false; }
    bool SaveGame(GameDifficulty) override { return false; }
    bool SaveGame() override {
        saves.push_back(Save::Auto);
        return true;
    }
    bool BackupGame() override {
        saves.push_back(Save::Backup);
        return true;
    }
    bool SaveQuest(bool argument) override {
        saves.push_back(argument ? Save::QuestTrue : Save::QuestFalse);
        return true;
    }

    enum class Save { Auto, Backup, QuestTrue, QuestFalse };
    PlayerSave_UISetting current;
    PlayerSave_UISetting restored;
    int restoreCount = 0;
    std::vector<Save> saves;
};

}  // namespace GAME::test

#include <string>

#include "Engine/media/sound/SoundPak.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Game/characters/Player.h"

namespace GAME::test {

inline constexpr const char* kTestHero = "Records/Players/TestHero.dbr";
inline constexpr const char* kCleave = "Records/SkillManager/Cleave.dbr";
inline constexpr const char* kWarfare = "Records/SkillManager/WarfareMastery.dbr";

inline Player* MakePlayer(std::uint32_t id = 0) {
    auto* player = Singleton<ObjectManager>::Get().CreateObjectFromFile<Player>(kTestHero, id);
    if (player)
        player->InitialUpdate();
    return player;
}

inline Skill* PlayerSkill(Player& player, const char* record) {
    return Singleton<ObjectManager>::Get().GetObject<Skill>(
        player.GetSkillManager().FindSkillId(record));
}

// How often the sound packs made from a record have played.
inline std::size_t PlaysOf(const std::string& record) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    std::size_t plays = 0;
    for (std::uint32_t id : objects.GetObjectIds())
        if (auto* sound = objects.GetObject<SoundPak>(id);
            sound && sound->GetObjectName() == record)
            plays += sound->GetPlayCount();
    return plays;
}

}  // namespace GAME::test
