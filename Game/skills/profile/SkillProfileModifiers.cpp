#include "Game/skills/profile/SkillProfileModifiers.h"

#include <algorithm>

#include "Engine/records/LoadTable.h"
#include "Engine/text/LocalizationManager.h"

namespace GAME {

namespace {

// Like every per-level list, a level past the record's values takes the last of them.
std::size_t LastListed(const LoadTable& record, const char* key, std::size_t index) {
    const std::size_t count = record.GetArraySize(key);
    return count == 0 ? index : std::min(index, count - 1);
}

void ReadAt(const LoadTable& record, const char* key, std::size_t index, float& out) {
    out = record.GetArrayFloat(key, LastListed(record, key, index), 0.0f);
}

// A negative count in a record means none.
void ReadAt(const LoadTable& record, const char* key, std::size_t index, std::uint32_t& out) {
    out = static_cast<std::uint32_t>(
        std::max(record.GetArrayInt(key, LastListed(record, key, index), 0), 0));
}

// Formats one line: a format tag, then the value and, when given, the text of a label tag.
class LineWriter {
public:
    LineWriter(GameTextClass textClass, std::vector<GameTextLine>& lines)
        : mClass(textClass), mLines(lines), mTexts(LocalizationManager::Instance()) {}

    void Labelled(const char* format, double value, const char* label) {
        mLines.emplace_back(mClass, mTexts.Format(format, value, mTexts.GetText(label)));
    }
    void Plain(const char* format, double value) {
        mLines.emplace_back(mClass, mTexts.Format(format, value));
    }
    void Count(const char* format, std::uint32_t value) {
        mLines.emplace_back(mClass, mTexts.Format(format, value));
    }
    void Range(const char* format, std::uint32_t low, std::uint32_t high) {
        mLines.emplace_back(mClass, mTexts.Format(format, low, high));
    }

private:
    GameTextClass mClass;
    std::vector<GameTextLine>& mLines;
    const LocalizationManager& mTexts;
};

// Which lines a block shows: every level's text tests the value alone, the next level's text
// tests it against the current level's value.
struct ShowTests {
    bool manaCost, activeLifeCost, activeManaCost, activeDuration, targetRadius, targetAngle,
        targetNumber, speedAcceleration, projectileLaunchNumber, projectilePiercing,
        explosionRadius;
};

void WriteModifierLines(const SkillProfile_Modifiers& m, const ShowTests& show, LineWriter& out) {
    if (show.manaCost)
        out.Labelled("SkillCostFormat", m.manaCost, "ManaCost");
    if (show.activeLifeCost)
        out.Labelled("SkillCostFormat", m.activeLifeCost, "ActiveLifeCost");
    if (show.activeManaCost)
        out.Labelled("SkillCostFormat", m.activeManaCost, "ActiveManaCost");
    if (show.activeDuration)
        out.Labelled("SkillSecondFormat", m.activeDuration, "ActiveDuration");
    if (show.targetRadius)
        out.Labelled("SkillDistanceFormat", m.targetRadius, "TargetRadius");
    if (show.targetAngle)
        out.Plain("TargetAngle", m.targetAngle);
    if (show.targetNumber)
        out.Count("TargetNumber", m.targetNumber);
    if (show.speedAcceleration)
        out.Labelled("SkillSecondFormat", m.speedAcceleration, "RunSpeedAcceleration");
    if (show.projectileLaunchNumber)
        out.Count("ProjectileLaunchNumber", m.projectileLaunchNumber);
    if (show.projectilePiercing)
        out.Plain("ProjectilePiercingChance", m.projectilePiercing);
    if (show.explosionRadius)
        out.Labelled("SkillDistanceFormat", m.explosionRadius, "ExplosionRadius");
}

void WriteFragmentsLine(const SkillProfile_ProjectileModifiers& m, LineWriter& out) {
    if (m.fragmentsLaunchNumberMin != m.fragmentsLaunchNumberMax)
        out.Range("ProjectileFragmentsLaunchNumberMinMax", m.fragmentsLaunchNumberMin,
                  m.fragmentsLaunchNumberMax);
    else
        out.Count("ProjectileFragmentsLaunchNumber", m.fragmentsLaunchNumberMin);
}

}  // namespace

void SkillProfile_Modifiers::Load(const LoadTable& record, std::size_t levelIndex) {
#define GAME_SKILL_PROFILE_MODIFIER_READ(Type, Field, Key) ReadAt(record, Key, levelIndex, Field);
    GAME_SKILL_PROFILE_MODIFIER_FIELDS(GAME_SKILL_PROFILE_MODIFIER_READ)
}

void SkillProfile_Modifiers::Add(const SkillProfile_Modifiers& other) {
#define GAME_SKILL_PROFILE_MODIFIER_ADD(Type, Field, Key) Field += other.Field;
    GAME_SKILL_PROFILE_MODIFIER_FIELDS(GAME_SKILL_PROFILE_MODIFIER_ADD)
}

void SkillProfile_Modifiers::CreateText(GameTextClass textClass,
                                        std::vector<GameTextLine>& lines) const {
    LineWriter out(textClass, lines);
    const ShowTests show{
        manaCost != 0.0f,          activeLifeCost > 0.0f,    activeManaCost > 0.0f,
        activeDuration > 0.0f,     targetRadius > 0.0f,      targetAngle > 0.0f,
        targetNumber > 0,          speedAcceleration > 0.0f, projectileLaunchNumber > 0,
        projectilePiercing > 0.0f, explosionRadius > 0.0f};
    WriteModifierLines(*this, show, out);
}

void SkillProfile_Modifiers::CreateNextText(const SkillProfile_Modifiers& current,
                                            std::vector<GameTextLine>& lines) const {
    LineWriter out(GameTextClass_SkillStatsNext, lines);
    const ShowTests show{manaCost - current.manaCost != 0.0f,
                         activeLifeCost - current.activeLifeCost > 0.0f,
                         activeManaCost - current.activeManaCost > 0.0f,
                         activeDuration - current.activeDuration > 0.0f,
                         targetRadius - current.targetRadius > 0.0f,
                         targetAngle - current.targetAngle > 0.0f,
                         targetNumber != current.targetNumber,
                         speedAcceleration - current.speedAcceleration > 0.0f,
                         projectileLaunchNumber != current.projectileLaunchNumber,
                         projectilePiercing - current.projectilePiercing > 0.0f,
                         explosionRadius - current.explosionRadius != 0.0f};
    WriteModifierLines(*this, show, out);
}

void SkillProfile_ProjectileModifiers::Load(const LoadTable& record, std::size_t levelIndex) {
    ReadAt(record, "projectileExplosionRadius", levelIndex, explosionRadius);
    fragmentsName = record.GetString("projectileFragmentsName");
    ReadAt(record, "projectileFragmentsLaunchNumberMin", levelIndex, fragmentsLaunchNumberMin);
    ReadAt(record, "projectileFragmentsLaunchNumberMax", levelIndex, fragmentsLaunchNumberMax);
    ReadAt(record, "projectilePiercingChance", levelIndex, piercingChance);
}

void SkillProfile_ProjectileModifiers::Add(const SkillProfile_ProjectileModifiers& other) {
#define GAME_SKILL_PROFILE_PROJECTILE_ADD(Type, Field, Key) Field += other.Field;
    GAME_SKILL_PROFILE_PROJECTILE_MODIFIER_FIELDS(GAME_SKILL_PROFILE_PROJECTILE_ADD)
}

void SkillProfile_ProjectileModifiers::CreateText(GameTextClass textClass,
                                                  std::vector<GameTextLine>& lines) const {
    LineWriter out(textClass, lines);
    if (explosionRadius > 0.0f)
        out.Labelled("SkillDistanceFormat", explosionRadius, "ExplosionRadius");
    if (fragmentsLaunchNumberMin > 0)
        WriteFragmentsLine(*this, out);
    if (piercingChance > 0.0f)
        out.Plain("ProjectilePiercingChance", piercingChance);
}

void SkillProfile_ProjectileModifiers::CreateNextText(
    const SkillProfile_ProjectileModifiers& current, std::vector<GameTextLine>& lines) const {
    LineWriter out(GameTextClass_SkillStatsNext, lines);
    if (explosionRadius - current.explosionRadius != 0.0f)
        out.Labelled("SkillDistanceFormat", explosionRadius, "ExplosionRadius");
    if (fragmentsLaunchNumberMin != current.fragmentsLaunchNumberMin ||
        fragmentsLaunchNumberMax != current.fragmentsLaunchNumberMax)
        WriteFragmentsLine(*this, out);
    if (piercingChance - current.piercingChance != 0.0f)
        out.Plain("ProjectilePiercingChance", piercingChance);
}

}  // namespace GAME
