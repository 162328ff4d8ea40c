#pragma once
// Helpers of the buff tests: the sample Shaman's skill records as the data folder has them,
// and what one machine knows about a character's buffs.
#include <fstream>
#include <sstream>
#include <string>

#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Game/characters/Character.h"
#include "Game/skills/buffs/SkillBuff.h"
#include "Game/skills/manager/SkillManager.h"
#include "support/TestMachine.h"

namespace GAME::test {

inline constexpr const char* kShamanWard = "Records/Creatures/Skills/ShamanWard.dbr";
inline constexpr const char* kShamanWardBuff = "Records/Creatures/Skills/Buffs/ShamanWardBuff.dbr";
inline constexpr const char* kShamanMend = "Records/Creatures/Skills/ShamanMend.dbr";
inline constexpr const char* kShamanMendBuff = "Records/Creatures/Skills/Buffs/ShamanMendBuff.dbr";

// Adds a record of the sample data folder to the current machine's records.
inline bool AddSampleRecord(const std::string& name) {
    std::ifstream file(TestMachine::SampleDataDir() + "/" + name);
    std::stringstream text;
    text << file.rdbuf();
    return file && Singleton<RecordDatabase>::Get().AddRecordText(name, text.str());
}

// The buff of that record on the character, null when it carries none.
inline SkillBuff* BuffOn(const Character& character, const std::string& buffName) {
    return Singleton<ObjectManager>::Get().GetObject<SkillBuff>(
        character.GetSkillManager().FindSkillId(buffName));
}

}  // namespace GAME::test
