// How a monster comes to hate and choose an enemy: sight anger on 200 ms ticks, anger from
// attacks and taunts, and the enemy search that offers the state machine its targets.
#include <cmath>
#include <cstdlib>

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/World.h"
#include "Game/ai/monster/ControllerMonster.h"
#include "Game/ai/monster/states/MonsterStateQueries.h"
#include "Game/characters/Character.h"
#include "Game/characters/CharacterLookup.h"
#include "Game/characters/monster/Monster.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Team.h"

namespace GAME {

namespace {

float VerticalDistance(const WorldVec3& a, const WorldVec3& b) {
    return std::fabs(a.GetWorldPosition().y - b.GetWorldPosition().y);
}

// The game's team rules; the teams' own without a root (null). A sweep looks them up once.
const TeamManager* TeamRules() {
    return gGameEngine ? gGameEngine->GetTeamManager() : nullptr;
}

bool AreFoes(const TeamManager* rules, const Team& a, const Team& b) {
    return rules ? rules->IsFoe(a, b) : a.IsFoe(b);
}

bool AreFriends(const TeamManager* rules, const Team& a, const Team& b) {
    return rules ? rules->IsFriend(a, b) : a.IsFriend(b);
}

bool AreFoes(const Team& a, const Team& b) {
    return AreFoes(TeamRules(), a, b);
}

// Scratch of the sphere queries: every monster searches several times a second.
std::vector<Entity*>& EntityScratch() {
    thread_local std::vector<Entity*> found;
    found.clear();
    return found;
}

// A crowd lies far apart in memory and each character weighed costs several cache misses, so
// the scan asks for them ahead in three steps, each reading only what the step before brought
// in: the object, then the fields sight reads, then the path position behind its pointer.
void PrefetchAhead(const std::vector<Entity*>& found, std::size_t i) {
    constexpr std::size_t kStep = 8;
    const std::size_t size = found.size();
    if (i + 3 * kStep < size)
        __builtin_prefetch(found[i + 3 * kStep]);
    if (i + 2 * kStep < size && found[i + 2 * kStep]->IsA<Character>())
        static_cast<const Character*>(found[i + 2 * kStep])->PrefetchSightFields();
    if (i + kStep < size && found[i + kStep]->IsA<Character>())
        static_cast<const Character*>(found[i + kStep])->PrefetchPathPosition();
}

// Hands `use` each living character in the sphere other than `self` that is a foe (or a friend)
// within `maxYView` of it vertically (0: any height), in world order.
template <class Use>
void ForEachCharacterInSphere(const Character& self, float maxYView, Region* region,
                              const Sphere& sphere, bool foes, Use&& use) {
    const WorldVec3 position = self.GetPathPosition();
    const Team team = self.GetTeam();
    const TeamManager* rules = TeamRules();
    std::vector<Entity*>& found = EntityScratch();
    World::Get().GetEntitiesInSphere(found, region, sphere, EntityListType::Actors);
    for (std::size_t i = 0; i < found.size(); ++i) {
        PrefetchAhead(found, i);
        Entity* entity = found[i];
        if (entity == &self || !entity->IsA<Character>())
            continue;
        auto* other = static_cast<Character*>(entity);
        if (!other->IsAlive())
            continue;
        if (maxYView != 0.0f && VerticalDistance(position, other->GetPathPosition()) > maxYView)
            continue;
        const bool keep = foes ? AreFoes(rules, team, other->GetTeam())
                               : AreFriends(rules, team, other->GetTeam());
        if (keep)
            use(other);
    }
}

}  // namespace

void ControllerMonster::GetCharactersInSphere(std::vector<Character*>& out, Region* region,
                                              const Sphere& sphere, bool foes) const {
    if (const Character* self = GetParentCharacter())
        ForEachCharacterInSphere(*self, mMaxYViewDistance, region, sphere, foes,
                                 [&out](Character* other) { out.push_back(other); });
}

bool ControllerMonster::InPursuitRange(std::uint32_t enemyId) {
    if (mMaxPursuitDistance == 0.0f)
        return true;
    const Character* enemy = FindCharacter(enemyId);
    const Character* self = GetParentCharacter();
    if (!enemy || !self)
        return false;
    const WorldVec3 enemyPosition = enemy->GetPathPosition();
    if (mMaxYViewDistance != 0.0f &&
        VerticalDistance(enemyPosition, self->GetPathPosition()) > mMaxYViewDistance)
        return false;
    return WorldDistance(GetHomePosition(), enemyPosition) < mMaxPursuitDistance;
}

WorldVec3 ControllerMonster::GetHomePosition() {
    const Character* self = GetParentCharacter();
    if (!self)
        return WorldVec3();
    if (GetExecutingState()->UsePathPositionAsHome())
        return self->GetPathPosition();
    const Monster* monster = GetMonster();
    if (monster && monster->GetLeaderId() != 0 && CanMove())
        if (const Character* leader = FindCharacter(monster->GetLeaderId()))
            return leader->GetPathPosition();
    return self->GetSpawnPoint().GetPosition();
}

bool ControllerMonster::IsEnemyValid(std::uint32_t enemyId) {
    const Character* enemy = FindCharacter(enemyId);
    const Character* self = GetParentCharacter();
    if (!enemy || !self || !enemy->IsAlive() || enemy->IsHiding())
        return false;
    return AreFoes(self->GetTeam(), enemy->GetTeam()) && InPursuitRange(enemyId);
}

float ControllerMonster::ProcessAngerTarget(Character* character, int ms) {
    const Character* self = mSightSelf ? mSightSelf : GetParentCharacter();
    if (!character || !self || !InPursuitRange(character->GetObjectId()))
        return 0.0f;
    const WorldVec3 from = mSightSelf ? mSightSelfPosition : self->GetPathPosition();
    const float d = WorldDistance(from, character->GetPathPosition());
    const float rate = d < mInnerViewDistance
                           ? mInnerSightAngerRate
                           : mSightAngerRate * (1.0f - 0.1f * d / GetViewDistance());
    return rate * static_cast<float>(ms) * 0.001f;
}

void ControllerMonster::AngerUpdate(int ms) {
    mAngerAccumulator -= static_cast<float>(ms);
    if (mAngerAccumulator >= 0.0f)
        return;
    // A long frame counts every whole tick it spanned.
    const int ticks = static_cast<int>(1.0 - mAngerAccumulator * 0.005);
    mAngerAccumulator += static_cast<float>(ticks * kTickMs);
    const Character* self = GetParentCharacter();
    if (self) {
        const WorldVec3 position = self->GetPathPosition();
        // Nothing the sweep calls moves the monster: every foe is weighed from here.
        mSightSelf = self;
        mSightSelfPosition = position;
        // Sight anger reads no anger, so each foe is weighed and angered as the search finds
        // it, while it is fresh in the cache, and handed on rather than looked up by id again.
        ForEachCharacterInSphere(
            *self, mMaxYViewDistance, position.GetRegion(),
            Sphere{position.GetRegionPosition(), GetViewDistance()}, true, [&](Character* other) {
                if (other->CausesAnger())
                    mAngerManager.AddAnger(
                        *other, static_cast<float>(ticks) * ProcessAngerTarget(other, kTickMs));
            });
        mSightSelf = nullptr;
    }
    mAngerManager.Update(ticks * kTickMs, mForgiveRate, self);
}

void ControllerMonster::FindEnemyUpdate(int ms) {
    mFindEnemyTimer -= ms;
    if (mFindEnemyTimer >= 0)
        return;
    bool searched = false;
    Character* closest = nullptr;
    float closestDistance = 0.0f;
    // A long frame runs at most two ticks.
    for (int tick = 0; tick < 2; ++tick) {
        mFindEnemyTimer += kTickMs;
        if (GetExecutingState()->ShouldFindEnemy())
            FindEnemy();
        // CanFlee draws a number: it is asked last.
        if (ShouldAlwaysLookForClosestEnemy() ||
            (mEnemyTooClose > 0.0f && GetExecutingState()->ShouldFindClosestEnemy() &&
             mFleeBehavior == FleeWhenEnemyClose && CanFlee())) {
            ClosestEnemyCheck(searched, closest, closestDistance);
            FindClosestEnemy(closest, closestDistance);
        }
        if (mFindEnemyTimer >= 0)
            return;
    }
    mFindEnemyTimer = kTickMs;
}

void ControllerMonster::ClosestEnemyCheck(bool& searched, Character*& best, float& bestDistance) {
    const Character* self = GetParentCharacter();
    if (!self)
        return;
    const WorldVec3 position = self->GetPathPosition();
    // The second tick of a frame reuses the search while the monster stands where it did.
    if (searched && position == mClosestSearchPosition)
        return;
    searched = true;
    mClosestSearchPosition = position;
    best = nullptr;
    bestDistance = 0.0f;
    mFoundScratch.clear();
    GetFoesInSphere(mFoundScratch, position.GetRegion(),
                    Sphere{position.GetRegionPosition(), mEnemyTooClose});
    const float limit = mEnemyTooClose + 0.1f;
    for (Character* other : mFoundScratch) {
        const float d = WorldDistance(position, other->GetPathPosition());
        if (d < limit && (!best || d < bestDistance)) {
            best = other;
            bestDistance = d;
        }
    }
}

void ControllerMonster::FindEnemy() {
    const Character* target = mAngerManager.GetNewTarget(mAngerTolerance);
    if (!target)
        return;
    mEnemySeen = true;
    GetExecutingState()->EnemyFound(target->GetObjectId());
}

void ControllerMonster::FindClosestEnemy(Character* character, float distance) {
    if (!character)
        return;
    if (!ClosestEnemyFoundOverride(character->GetObjectId(), distance))
        GetExecutingState()->ClosestEnemyFound(character->GetObjectId(), distance);
}

std::uint32_t ControllerMonster::GetMostHatedEnemy() {
    const Character* target = mAngerManager.GetNewTarget(mAngerTolerance);
    return target ? target->GetObjectId() : 0;
}

void ControllerMonster::UnderAttack(std::uint32_t attackerId) {
    if (!InPursuitRange(attackerId))
        return;
    mAngerManager.AddAnger(attackerId, mAttackedAnger);
    GetExecutingState()->Attacked(attackerId);
}

void ControllerMonster::AllyAttacked(std::uint32_t allyId, std::uint32_t attackerId) {
    if (!InPursuitRange(attackerId) || !ShouldCareAboutDistressCall(allyId))
        return;
    mAngerManager.AddAnger(attackerId, mAllyAttackedAnger);
    GetExecutingState()->AllyAttacked(allyId, attackerId);
}

bool ControllerMonster::ShouldCareAboutDistressCall(std::uint32_t allyId) const {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    const Character* ally = objects.GetObject<Character>(allyId);
    if (!ally) {
        // Fixed items (chests, doors) call for help too; the class may live in a later library.
        const Object* object = objects.GetObject(allyId);
        const RTTI_ClassInfo* fixedItem = Object::classInfo.FindByName("FixedItem");
        return object && fixedItem && object->GetClassInfo().IsA(*fixedItem);
    }
    const Character* self = GetParentCharacter();
    if (!self)
        return false;
    switch (mDistressResponseBehavior) {
        case RespondToSameType:
            return ally->GetDistressCallGroup() == self->GetDistressCallGroup();
        case RespondToSameGroup:
            for (const std::string& race : ally->GetRace())
                for (const std::string& mine : self->GetRace())
                    if (race == mine)
                        return true;
            return false;
        default:
            return true;
    }
}

void ControllerMonster::TauntMe(float amount, std::uint32_t id) {
    if (InPursuitRange(id))
        mAngerManager.AddAnger(id, amount);
}

Character* ControllerMonster::PickRandomEnemyInView() const {
    const Character* self = GetParentCharacter();
    if (!self)
        return nullptr;
    const WorldVec3 position = self->GetPathPosition();
    std::vector<Character*>& foes = mFoundScratch;
    foes.clear();
    GetFoesInSphere(foes, position.GetRegion(),
                    Sphere{position.GetRegionPosition(), GetViewDistance()});
    if (foes.empty())
        return nullptr;
    return foes[static_cast<std::size_t>(crt_rand()) % foes.size()];
}

void ControllerMonster::DieIfEnemyInRange() {
    const Character* self = GetParentCharacter();
    const Monster* monster = GetMonster();
    if (!self || !monster)
        return;
    std::vector<Entity*>& found = EntityScratch();
    World::Get().GetEntitiesInSphere(
        found, self->GetRegion(),
        Sphere{self->GetCoords().coords.origin, monster->GetDeathFromEnemyRange()},
        EntityListType::Actors);
    // Alive or hiding does not matter here.
    for (Entity* entity : found) {
        if (entity == self || !entity->IsA<Character>())
            continue;
        if (AreFoes(self->GetTeam(), static_cast<Character*>(entity)->GetTeam())) {
            KillMe();
            return;
        }
    }
}

}  // namespace GAME
