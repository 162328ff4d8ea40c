// Character's smaller operations that tell others about it or pass requests on: its attack
// target, distances and nearness, calls for help, chat positions, quest commands and collision
// answers.
#include <algorithm>
#include <bit>
#include <cstdlib>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/QueryScratch.h"
#include "Engine/world/World.h"
#include "Engine/world/WorldSweep.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/monster/SightScreen.h"
#include "Game/characters/Character.h"
#include "Game/characters/CharacterEvents.h"
#include "Game/characters/CharacterLookup.h"
#include "Game/characters/DistressCall.h"
#include "Game/characters/Player.h"
#include "Game/characters/movement/SightDigest.h"
#include "Game/items/Item.h"
#include "Game/skills/Skill.h"
#include "Game/world/sounds/SoundObject.h"

namespace GAME {

void Character::SetCurrentAttackTarget(std::uint32_t id, const WorldVec3& position,
                                       int skillReference) {
    mAttackTargetId = id;
    mAttackTargetPosition = position;
    // A negative reference wraps far past both skill lists and names no skill.
    mAttackSkillId =
        mSkillManager->GetSkillIdFromReference(static_cast<std::uint32_t>(skillReference));
}

void Character::GetCurrentAttackTarget(std::uint32_t& id, WorldVec3& position,
                                       std::uint32_t& skillId) const {
    id = mAttackTargetId;
    position = mAttackTargetPosition;
    skillId = mAttackSkillId;
}

float Character::GetTargetDistance(std::uint32_t attacker, std::uint32_t target,
                                   std::uint32_t skill) {
    // One manager for the three lookups: each of its own would fetch it again.
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    const Character* from = attacker != 0 ? objects.GetObject<Character>(attacker) : nullptr;
    const Skill* used = skill != 0 ? objects.GetObject<Skill>(skill) : nullptr;
    if (!from || !used)
        return 0.0f;
    float distance = used->GetRange() + from->GetExtents();
    if (const Character* to = target != 0 ? objects.GetObject<Character>(target) : nullptr)
        distance += to->GetExtents();
    return distance;
}

bool Character::NearTarget(std::uint32_t target, float margin) {
    const Character* other = FindCharacter(target);
    return other && NearCharacter(*other, margin);
}

bool Character::NearCharacter(const Character& other, float margin) const {
    const float reach = GetExtents() + other.GetExtents() + margin;
    return World::Get().GetDistanceSquared(GetPathPosition(), other.GetPathPosition()) <=
           reach * reach;
}

bool Character::ShouldUseDistressCall() const {
    return mDistressCall && mDistressCallsLeft > 0 && mDistressCountdown <= 0;
}

namespace {

// The lists calls for help gather their allies in, kept so that a steady frame allocates none.
// An answer may call for help in turn, so each call takes a list of its own.
std::vector<std::vector<Entity*>>& DistressLists() {
    thread_local std::vector<std::vector<Entity*>> lists;
    return lists;
}

// A call and the one an answer makes; the pool itself has room for deeper chains.
constexpr std::size_t kReservedDistressLists = 2;
constexpr std::size_t kDistressListsRoom = 8;

}  // namespace

const DistressCall* DistressCall::Matching(std::uint32_t allyId, std::uint32_t attackerId) {
    const DistressCall* call = sCurrent;
    if (!call || allyId == 0 || call->allyId != allyId || call->attackerId != attackerId)
        return nullptr;
#ifndef NDEBUG
    if (FindCharacter(allyId) != call->ally || FindCharacter(attackerId) != call->attacker) {
        gEngine->Log(0, "DistressCall: the call of %u about %u kept a stale character", allyId,
                     attackerId);
        std::abort();
    }
#endif
    return call;
}

void Character::ReserveDistressLists(std::size_t population) {
    std::vector<std::vector<Entity*>>& lists = DistressLists();
    if (lists.capacity() < kDistressListsRoom)
        lists.reserve(kDistressListsRoom);
    lists.resize(std::max(lists.size(), kReservedDistressLists));
    for (std::vector<Entity*>& list : lists)
        if (list.capacity() < population)
            list.reserve(std::max(population, 2 * list.capacity()));
}

namespace {

// The friends a call for help reaches, in world order, judged from the grid cells' copies of
// their digests: the crowd's characters lie far apart in memory.
void GatherDistressAllies(const Character& self, const Sphere& sphere, Region* region,
                          std::vector<Entity*>& out) {
    using namespace SightDigest;
    World& world = World::Get();
    const Team team = self.GetTeam();
    const auto keep = [&](const EntityGrid::Entry& entry) {
        const EntityGamePart& part =
            Has(entry.game, kWritten) ? entry.game : FetchChecked(world, entry.slot);
        if (entry.entity == &self || !Has(part, kCharacter))
            return false;
        if (Has(part, kTeamFromCharacter))
            return team.IsFriend(static_cast<const Character*>(entry.entity)->GetTeam());
        return team.IsFriend(StoredTeam(part));
    };
    const auto use = [&](const EntityGrid::Entry& entry) { out.push_back(entry.entity); };
#if defined(__x86_64__)
    if (WorldCells::HasEightLanes()) {
        // The packed words judge written characters holding their team (the dead too: they are
        // told as well) by team, eight lanes at a time, before any entry is read; the last few
        // teams met are remembered as the sight screens do.
        SightScreen::ScreenTerms terms{kWritten | kCharacter | kTeamFromCharacter,
                                       kWritten | kCharacter, 0, world.GetSlotOf(&self)};
        terms.vouches = -1;
        SightScreen::TeamMemo memo(terms);
        SightScreen::OctTerms oct;
        SightScreen::SpreadTerms(terms, oct);
        const auto judge = [&](std::uint32_t major, std::uint32_t minor) {
            return team.IsFriend(TeamManager::BuildTeam(major, minor));
        };
        const auto screen = [&](const EntityGrid::Pack* packs, std::size_t count,
                                const Vec3& toQuery, const Sphere& inView, std::uint64_t& sure) {
            const SightScreen::ScreenBits bits =
                SightScreen::SphereScreenOct(packs, count, toQuery, inView, oct);
            std::uint64_t passes = bits.passes, unknown = bits.unknown;
            sure = bits.sure;
            if (unknown == 0)
                return passes;
            for (; unknown != 0; unknown &= unknown - 1) {
                const auto i = static_cast<std::size_t>(std::countr_zero(unknown));
                const EntityGrid::Pack& p = packs[i / EntityGrid::Pack::kWidth];
                if (memo.Keeps(p.gameWords[0][i % EntityGrid::Pack::kWidth],
                               p.gameWords[1][i % EntityGrid::Pack::kWidth], judge)) {
                    passes |= std::uint64_t{1} << i;
                    sure |= std::uint64_t{1} << i;
                }
            }
            SightScreen::SpreadTerms(terms, oct);
            return passes;
        };
        world.SweepSphere(
            region, sphere, EntityListType::Actors, screen, keep, [](std::size_t) {}, use);
        return;
    }
#endif
    world.SweepSphere(region, sphere, EntityListType::Actors, keep, use);
}

}  // namespace

void Character::DoDistressCall(std::uint32_t attacker) {
    const WorldVec3 center = GetPathPosition();
    if (!center.IsValid())
        return;
    std::vector<std::vector<Entity*>>& lists = DistressLists();
    std::vector<Entity*> found;
    if (!lists.empty()) {
        found = std::move(lists.back());
        lists.pop_back();
    }
    PrepareQueryScratch(found);
    const Sphere sphere{center.local, mDistressCallRange};
    GatherDistressAllies(*this, sphere, center.region, found);
    ObjectManager::Kept<Character> attackerKept;
    const Character* attackerCharacter =
        attacker != 0 ? Objects().GetObject(attacker, attackerKept) : nullptr;
    const DistressCall call{
        GetObjectId(), this, attacker, attackerCharacter, World::Get().GetSlotOf(attackerCharacter),
        attackerKept};
    const DistressCall::Scope scope(call);
#ifdef NDEBUG
    for (Entity* entity : found)
        static_cast<Character*>(entity)->AllyAttacked(call.allyId, attacker);
#else
    // Each character in the sphere asked in turn, as the answers come (one may change another's
    // side): the friends told must be the ones gathered.
    std::vector<Entity*> inSphere;
    World::Get().GetEntitiesInSphere(inSphere, center.region, sphere, EntityListType::Actors);
    const Team team = GetTeam();
    auto next = found.begin();
    for (Entity* entity : inSphere) {
        const bool gathered = next != found.end() && *next == entity;
        if (gathered != (entity != this && entity->IsA<Character>() &&
                         team.IsFriend(static_cast<Character*>(entity)->GetTeam()))) {
            gEngine->Log(0, "Character: %s's call for help gathered %s wrongly",
                         GetObjectName().c_str(), entity->GetObjectName().c_str());
            std::abort();
        }
        if (gathered)
            static_cast<Character*>(*next++)->AllyAttacked(call.allyId, attacker);
    }
    if (next != found.end())
        std::abort();
#endif
    lists.push_back(std::move(found));
}

WorldCoords Character::GetChatCoords() const {
    Vec3 min, max;
    GetPoseBounds(min, max);
    WorldCoords coords = GetCoords();
    coords.coords.origin.y += (max.y - min.y) + 2.3f;
    return coords;
}

void Character::GetConversationPartnerLocation(std::vector<WorldVec3>& out) const {
    const Vec3 side = GetCoords().coords.xAxis * 0.9f;
    WorldVec3 one = GetPosition();
    one.Translate(side);
    WorldVec3 other = GetPosition();
    other.Translate(-side);
    out.push_back(one);
    out.push_back(other);
}

void Character::GetLivingCharacters(std::vector<Entity*>& out, const ABBox& box) {
    World::Get().GetEntitiesInBox(out, GetRegion(), box);
    std::erase_if(out, [this](Entity* entity) {
        if (entity == this || !entity->IsA<Character>() || entity->IsA<Player>())
            return true;
        return !static_cast<Character*>(entity)->IsAlive();
    });
}

void Character::RequestAttack(std::uint32_t a, std::uint32_t b) {
    if (auto* controller = FindController<ControllerAI>(*this))
        controller->RequestAttack(a, b);
}

void Character::RequestMove(std::uint32_t a, const WorldVec3& point) {
    if (auto* controller = FindController<ControllerAI>(*this))
        controller->RequestMove(a, point);
}

void Character::QuestCommandMove(std::uint32_t a, const WorldVec3& point, bool flag) {
    if (auto* controller = FindController<ControllerAI>(*this))
        controller->QuestCommandMove(a, point, flag);
}

void Character::QuestCommandWalk(std::uint32_t a, const WorldVec3& point, bool flag) {
    if (!CanWalk())
        return;
    if (auto* controller = FindController<ControllerAI>(*this))
        controller->QuestCommandWalk(a, point, flag);
}

void Character::QuestCommandUseSkill(const std::string& skill, std::uint32_t target, bool flag) {
    const std::uint32_t skillId = mSkillManager->FindSkillId(skill);
    if (auto* controller = FindController<ControllerAI>(*this))
        controller->QuestCommandUseSkill(skillId, target, flag);
}

void Character::SendQuestMoveCompletedEvent() {
    GameEvent_MoveCompleted completed;
    completed.objectName = GetObjectName();
    SendGameEvent(completed, "MoveCompleted");
}

bool Character::CanCollide(const Entity* other) const {
    if (!other)
        return true;
    return !other->IsA<Item>() && !other->IsA<Character>() && !other->IsA<SoundObject>();
}

}  // namespace GAME
