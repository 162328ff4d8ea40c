#include "Game/characters/bio/ExperienceLevelControl.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/streams/IOStream.h"
#include "Game/characters/Character.h"
#include "Game/characters/CharacterEvents.h"
#include "Game/core/GameEngine.h"
#include "Game/core/GameEvents.h"
#include "Game/rules/formulas/DesignerEquation_Algebra.h"

namespace GAME {

namespace {

std::uint32_t ToCount(int value) {
    return static_cast<std::uint32_t>(value);
}

}  // namespace

ExperienceLevelControl::~ExperienceLevelControl() = default;

bool ExperienceLevelControl::GetDesignerVariable(const char* name, float& value) {
    if (std::strcmp(name, "playerLevel") == 0) {
        value = static_cast<float>(mPlayerLevelVariable);
        return true;
    }
    value = 0.0f;
    return false;
}

std::uint32_t ExperienceLevelControl::EvaluateAt(std::uint32_t level) {
    if (!mFormula)
        return 0;
    mPlayerLevelVariable = level;
    const double value = static_cast<double>((*mFormula)()) + 0.5;
    // Rounded into the unsigned range, never wrapped.
    if (!(value > 0.0))
        return 0;
    if (value >= static_cast<double>(std::numeric_limits<std::uint32_t>::max()))
        return std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(value);
}

std::uint32_t ExperienceLevelControl::GetNextLevelExperience() {
    return EvaluateAt(std::min(mLevel, mMaxLevel));
}

std::uint32_t ExperienceLevelControl::GetLastLevelExperience() {
    const std::uint32_t previous = std::min(mLevel == 0 ? 0 : mLevel - 1, mMaxLevel);
    if (previous == 0)
        return 0;
    return EvaluateAt(previous);
}

void ExperienceLevelControl::AddToSkillPoints(int points) {
    mSkillPoints = static_cast<std::uint32_t>(static_cast<int>(mSkillPoints) + points);
}

void ExperienceLevelControl::SubtractSkillPoint() {
    if (mSkillPoints > 0)
        --mSkillPoints;
}

std::uint32_t ExperienceLevelControl::SpendPoint(std::uint32_t increment) {
    if (mModifierPoints == 0)
        return 0;
    --mModifierPoints;
    return increment;
}

bool ExperienceLevelControl::ReceiveExperience(std::uint32_t amount) {
    mExperience += amount;
    // Without a maximum level nothing can be gained, and the experience is kept (the level step
    // below would otherwise wipe it on every gain).
    if (mMaxLevel == 0)
        return false;
    bool risen = false;
    while (mLevel < mMaxLevel) {
        if (mExperience < GetNextLevelExperience())
            break;
        mModifierPoints += mModifierPointsPerLevel;
        ++mLevel;
        mSkillPoints += mSkillPointsPerLevel;
        if (mSkillPointsPerLevel != 0) {
            GameEvent_CharacterId event;
            event.objectId = mOwner ? mOwner->GetObjectId() : 0;
            SendGameEvent(event, "PlayerSkillUp");
        }
        risen = true;
        if (gGameEngine)
            gGameEngine->AutoSave();
    }
    if (mLevel >= mMaxLevel)
        mExperience = GetLastLevelExperience();
    return risen;
}

void ExperienceLevelControl::LoseExperience(std::uint32_t amount) {
    const auto reduced = static_cast<std::int32_t>(mExperience - amount);
    const auto floor = static_cast<std::int32_t>(GetLastLevelExperience());
    mExperience = static_cast<std::uint32_t>(std::max(reduced, floor));
}

void ExperienceLevelControl::Load(const LoadTable& record) {
    const std::string levelFile = record.GetString("levelFileName");
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    if (!levelFile.empty() && objects.LoadTableFile(levelFile)) {
        const LoadTable level = objects.GetLoadTable(levelFile);
        mModifierPointsPerLevel = ToCount(level.GetInt("characterModifierPoints", 0));
        mSkillPointsPerLevel = ToCount(level.GetInt("skillModifierPoints", 0));
        mStrengthIncrement = ToCount(level.GetInt("strengthIncrement", 0));
        mDexterityIncrement = ToCount(level.GetInt("dexterityIncrement", 0));
        mIntelligenceIncrement = ToCount(level.GetInt("intelligenceIncrement", 0));
        mLifeIncrement = ToCount(level.GetInt("lifeIncrement", 0));
        mManaIncrement = ToCount(level.GetInt("manaIncrement", 0));
        mSkillPoints = ToCount(level.GetInt("initialSkillPoints", 0));
        const std::string text = level.GetString("experienceLevelEquation");
        if (!text.empty()) {
            auto formula = std::make_unique<DesignerEquation_Algebra>();
            const std::string source = level.GetRecordName() + " experienceLevelEquation";
            if (formula->ParseEquation(text.c_str(), this, source.c_str())) {
                mFormula = std::move(formula);
            } else {
                gEngine->Log(1,
                             "-=- Experience Level Control Equation load failure : "
                             "experienceEquation %s",
                             levelFile.c_str());
                mFormula.reset();
            }
        }
        mMaxLevel = ToCount(level.GetInt("maxPlayerLevel", 0));
    }
    const int difficulty = gGameEngine ? gGameEngine->GetGameDifficulty() : 0;
    mLevel = ToCount(record.GetArrayInt("charLevel", static_cast<std::size_t>(difficulty), 1));
    mExperience = ToCount(record.GetInt("experiencePoints", 0));
    mModifierPoints = ToCount(record.GetInt("modifierPoints", 0));
    mSkillPoints = ToCount(record.GetInt("skillPoints", static_cast<int>(mSkillPoints)));
}

void ExperienceLevelControl::StreamProperties(IOStream& stream) {
    auto streamCount = [&stream](const char* key, std::uint32_t& value) {
        auto signedValue = static_cast<std::int32_t>(value);
        stream.StreamInt(key, signedValue);
        value = static_cast<std::uint32_t>(signedValue);
    };
    stream.BeginBlock("experienceLevelControl");
    streamCount("currentStats.charLevel", mLevel);
    streamCount("currentStats.experiencePoints", mExperience);
    streamCount("modifierPoints", mModifierPoints);
    streamCount("skillPoints", mSkillPoints);
    stream.EndBlock();
}

void ExperienceLevelControl::DumpLevelTable() {
    gEngine->Log(0, "Level                       Experience");
    gEngine->Log(0, "--------------------------------------");
    for (std::uint32_t level = 1; level <= mMaxLevel; ++level)
        gEngine->Log(0, "%3d                              %8d", level, EvaluateAt(level - 1));
    gEngine->Log(0, "--------------------------------------");
}

}  // namespace GAME
