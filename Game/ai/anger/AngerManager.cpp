#include "Game/ai/anger/AngerManager.h"

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Team.h"

namespace GAME {

namespace {

// Provoking one enemy calms the monster toward the others by this share of the amount.
constexpr float kCalmShare = 0.7f;
constexpr float kNoClosestSquared = 1e7f;

Character* FindCharacter(std::uint32_t id) {
    return id ? Singleton<ObjectManager>::Get().GetObject<Character>(id) : nullptr;
}

bool AreFriends(const Character& me, const Character& other) {
    const GameEngine* root = gGameEngine;
    if (root && root->GetTeamManager())
        return root->GetTeamManager()->IsFriend(me.GetTeam(), other.GetTeam());
    return me.GetTeam().IsFriend(other.GetTeam());
}

// The engine has no statistic graphs yet: the bars are reported once per machine.
struct AngerGraphSeam {
    bool reported = false;
};

}  // namespace

bool AngerManager::ShouldRemoveEnemy(const Character* me, const Character* enemy) {
    if (!enemy || !enemy->CausesAnger() || !enemy->IsAlive())
        return true;
    if (!me)
        return false;
    if (AreFriends(*me, *enemy) || !me->IsInWorld() || !enemy->IsInWorld())
        return true;
    return me->GetPosition().DistanceTo(enemy->GetPosition()) > kRemovalDistance;
}

void AngerManager::AddAnger(std::uint32_t id, float amount) {
    const Character* enemy = FindCharacter(id);
    if (ShouldRemoveEnemy(nullptr, enemy))
        return;
    amount *= enemy->GetAngerMultiplier();
    float& anger = mAnger[id];
    anger += amount;
    if (anger > kMaxAnger)
        anger = kMaxAnger;
    if (mAnger.size() < 2)
        return;
    // Entries may fall below 0 here; the next Update removes them.
    const float calm = amount / static_cast<float>(mAnger.size()) * kCalmShare;
    for (auto& [other, value] : mAnger)
        if (other != id)
            value -= calm;
}

void AngerManager::Update(int ms, float forgiveRate, const Character* me) {
    if (mMostHatedEnemy && ShouldRemoveEnemy(me, FindCharacter(mMostHatedEnemy)))
        mMostHatedEnemy = 0;
    mClosestEnemy = 0;
    float closestSquared = kNoClosestSquared;
    const float decay = static_cast<float>(ms) * 0.001f * forgiveRate;
    for (auto it = mAnger.begin(); it != mAnger.end();) {
        const Character* enemy = FindCharacter(it->first);
        if (!ShouldRemoveEnemy(me, enemy)) {
            it->second -= decay;
            if (it->second >= 0.0f) {
                if (me) {
                    const float squared =
                        me->GetPosition().VectorTo(enemy->GetPosition()).LengthSquared();
                    if (squared < closestSquared) {
                        closestSquared = squared;
                        mClosestEnemy = it->first;
                    }
                }
                ++it;
                continue;
            }
        }
        if (mLastTarget == it->first)
            mLastTarget = 0;
        it = mAnger.erase(it);
    }
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
    for (const auto& [id, anger] : mAnger) {
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
    const auto it = mAnger.find(id);
    return it == mAnger.end() ? 0.0f : it->second;
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
    for (const auto& [id, anger] : mAnger)
        bar(id, anger);
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
