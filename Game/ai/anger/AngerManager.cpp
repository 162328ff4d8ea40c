#include "Game/ai/anger/AngerManager.h"

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Game/characters/Character.h"
#include "Game/characters/CharacterLookup.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Team.h"

namespace GAME {

namespace {

// Provoking one enemy calms the monster toward the others by this share of the amount.
constexpr float kCalmShare = 0.7f;
constexpr float kNoClosestSquared = 1e7f;

bool AreFriends(const Character& me, const Character& other) {
    const GameEngine* root = gGameEngine;
    if (root && root->GetTeamManager())
        return root->GetTeamManager()->IsFriend(me.GetTeam(), other.GetTeam());
    return me.GetTeam().IsFriend(other.GetTeam());
}

// The entries' characters of one Update, looked up in a first pass: the look-ups do not wait on
// each other, and the second pass can ask for each character's fields ahead of weighing it.
std::vector<const Character*>& EnemyScratch() {
    thread_local std::vector<const Character*> enemies;
    enemies.clear();
    return enemies;
}

// The engine has no statistic graphs yet: the bars are reported once per machine.
struct AngerGraphSeam {
    bool reported = false;
};

}  // namespace

bool AngerManager::ShouldRemoveEnemy(const Character* me, const Character* enemy) {
    float squared = 0.0f;
    return ShouldRemoveEnemy(me, enemy, squared);
}

bool AngerManager::ShouldRemoveEnemy(const Character* me, const Character* enemy, float& squared) {
    if (!enemy || !enemy->CausesAnger() || !enemy->IsAlive())
        return true;
    if (!me)
        return false;
    if (AreFriends(*me, *enemy) || !me->IsInWorld() || !enemy->IsInWorld())
        return true;
    // As Vec3::Length would, so the distance and the closest search share one subtraction.
    squared = me->GetPosition().VectorTo(enemy->GetPosition()).LengthSquared();
    const float distance = squared == 0.0f ? 0.0f : Sqrt(squared);
    return distance > kRemovalDistance;
}

void AngerManager::AddAnger(std::uint32_t id, float amount) {
    if (const Character* enemy = FindCharacter(id))
        AddAnger(*enemy, amount);
}

void AngerManager::AddAnger(const Character& enemy, float amount) {
    if (ShouldRemoveEnemy(nullptr, &enemy))
        return;
    amount *= enemy.GetAngerMultiplier();
    const std::size_t slot = mAnger.FindOrInsert(enemy.GetObjectId());
    float& anger = mAnger.ValueAt(slot);
    anger += amount;
    if (anger > kMaxAnger)
        anger = kMaxAnger;
    const std::size_t size = mAnger.size();
    if (size < 2)
        return;
    // Entries may fall below 0 here; the next Update removes them. Each value takes its own
    // subtraction, as it always did: a shared offset would round differently.
    const float calm = amount / static_cast<float>(size) * kCalmShare;
    float* values = mAnger.Values();
    for (std::size_t i = 0; i < slot; ++i)
        values[i] -= calm;
    for (std::size_t i = slot + 1; i < size; ++i)
        values[i] -= calm;
}

void AngerManager::Update(int ms, float forgiveRate, const Character* me) {
    if (mMostHatedEnemy && ShouldRemoveEnemy(me, FindCharacter(mMostHatedEnemy)))
        mMostHatedEnemy = 0;
    mClosestEnemy = 0;
    float closestSquared = kNoClosestSquared;
    const float decay = static_cast<float>(ms) * 0.001f * forgiveRate;
    // Survivors slide down over the dropped entries in one pass, keeping the id order.
    std::size_t kept = 0;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    std::vector<const Character*>& enemies = EnemyScratch();
    for (std::size_t slot = 0; slot < mAnger.size(); ++slot) {
        const std::uint32_t id = mAnger.IdAt(slot);
        enemies.push_back(id ? objects.GetObject<Character>(id) : nullptr);
    }
    constexpr std::size_t kAhead = 6;
    for (std::size_t slot = 0; slot < mAnger.size(); ++slot) {
        if (slot + kAhead < enemies.size() && enemies[slot + kAhead])
            enemies[slot + kAhead]->PrefetchSightFields();
        const std::uint32_t id = mAnger.IdAt(slot);
        const Character* enemy = enemies[slot];
        float squared = 0.0f;
        if (!ShouldRemoveEnemy(me, enemy, squared)) {
            float& value = mAnger.ValueAt(slot);
            value -= decay;
            if (value >= 0.0f) {
                if (me) {
                    if (squared < closestSquared) {
                        closestSquared = squared;
                        mClosestEnemy = id;
                    }
                }
                mAnger.MoveSlot(slot, kept++);
                continue;
            }
        }
        if (mLastTarget == id)
            mLastTarget = 0;
    }
    mAnger.Truncate(kept);
    if (mClosestEnemy)
        mClosestEnemyDistance = Sqrt(closestSquared);
}

Character* AngerManager::GetNewTarget(float tolerance) {
    if (mMostHatedEnemy)
        if (Character* hated = FindCharacter(mMostHatedEnemy))
            return hated;
    Character* best = nullptr;
    std::uint32_t bestId = 0;
    float bestScore = 0.0f;
    for (std::size_t slot = 0; slot < mAnger.size(); ++slot) {
        const std::uint32_t id = mAnger.IdAt(slot);
        const float anger = mAnger.ValueAt(slot);
        Character* candidate = FindCharacter(id);
        if (!candidate || !candidate->IsAlive())
            continue;
        // The current target counts double, so a monster does not flit between enemies.
        const float score = id == mLastTarget ? anger * 2.0f : anger;
        if (score > bestScore) {
            bestScore = score;
            best = candidate;
            bestId = id;
        }
    }
    if (!best || !(bestScore > tolerance))
        return nullptr;
    mLastTarget = bestId;
    return best;
}

void AngerManager::GetClosestEnemy(std::uint32_t& id, float& distance) const {
    id = mClosestEnemy;
    distance = mClosestEnemyDistance;
}

void AngerManager::Clear() {
    mAnger.clear();
    mMostHatedEnemy = 0;
    mClosestEnemy = 0;
}

void AngerManager::TransferAnger(AngerManager& other) const {
    other.mMostHatedEnemy = mMostHatedEnemy;
    other.mAnger = mAnger;
}

float AngerManager::GetAnger(std::uint32_t id) const {
    const std::size_t slot = mAnger.Find(id);
    return slot == mAnger.size() ? 0.0f : mAnger.ValueAt(slot);
}

void AngerManager::GetAngerLevels(std::vector<AngerLevel>& out) const {
    auto& objects = Singleton<ObjectManager>::Get();
    const auto bar = [&](std::uint32_t id, float value) {
        const Object* object = id ? objects.GetObject(id) : nullptr;
        if (!object)
            return;
        const float share = value * 0.01f;
        out.push_back({object->GetObjectName(), value, Color{share, 1.0f - share, 0.0f, 1.0f}});
    };
    bar(mMostHatedEnemy, kMaxAnger);
    for (std::size_t slot = 0; slot < mAnger.size(); ++slot)
        bar(mAnger.IdAt(slot), mAnger.ValueAt(slot));
}

void AngerManager::ShowAngerLevels() const {
    std::vector<AngerLevel> levels;
    GetAngerLevels(levels);
    bool& reported = Singleton<AngerGraphSeam>::Get().reported;
    if (reported)
        return;
    reported = true;
    gEngine->Log(1, "AngerManager: the engine's statistic graph is not available yet (%zu bars)",
                 levels.size());
}

}  // namespace GAME
