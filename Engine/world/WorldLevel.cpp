// Level files: reading the regions, spawn points and placed entities, and the navigation meshes
// built for them (see docs/LEVELS.md for the format).
#include <nlohmann/json.hpp>

#include <fstream>

#include "Engine/Engine.h"
#include "Engine/net/NetworkIndexTable.h"
#include "Engine/net/fields/NetPacketBuffer.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/sys/GameInfo.h"
#include "Engine/world/EntityGrid.h"
#include "Engine/world/GroundMesh.h"
#include "Engine/world/InstanceGroupManager.h"
#include "Engine/world/UniqueIdMap.h"
#include "Engine/world/World.h"
#include "Engine/world/nav/NavMesh.h"
#include "Engine/world/nav/PathFinder.h"

namespace GAME {

namespace {

using Json = nlohmann::json;

// A three-number array; false (logged with file, item and field) for anything else.
bool ReadVec3(const Json& item, const char* field, Vec3& out, const std::string& file,
              const std::string& what, bool required) {
    const auto it = item.find(field);
    if (it == item.end()) {
        if (required)
            gEngine->Log(1, "Level %s: %s has no \"%s\"", file.c_str(), what.c_str(), field);
        return !required;
    }
    if (!it->is_array() || it->size() != 3 || !(*it)[0].is_number() || !(*it)[1].is_number() ||
        !(*it)[2].is_number()) {
        gEngine->Log(1, "Level %s: %s: \"%s\" is not three numbers", file.c_str(), what.c_str(),
                     field);
        return false;
    }
    out = Vec3((*it)[0].get<float>(), (*it)[1].get<float>(), (*it)[2].get<float>());
    if (!IsFinite(out.x) || !IsFinite(out.y) || !IsFinite(out.z)) {
        gEngine->Log(1, "Level %s: %s: \"%s\" is not finite", file.c_str(), what.c_str(), field);
        return false;
    }
    return true;
}

std::string ReadString(const Json& item, const char* field) {
    const auto it = item.find(field);
    return it != item.end() && it->is_string() ? it->get<std::string>() : std::string();
}

float ReadFloat(const Json& item, const char* field, float fallback) {
    const auto it = item.find(field);
    return it != item.end() && it->is_number() ? it->get<float>() : fallback;
}

bool ReadBool(const Json& item, const char* field, bool fallback) {
    const auto it = item.find(field);
    return it != item.end() && it->is_boolean() ? it->get<bool>() : fallback;
}

// The coordinates an item names: its region, "position" and "yaw" (degrees about +y).
bool ReadPlace(const Json& item, const World& world, const std::string& file,
               const std::string& what, WorldCoords& out) {
    const std::string regionName = ReadString(item, "region");
    Region* region = world.GetRegion(regionName);
    if (!region) {
        gEngine->Log(1, "Level %s: %s names no region of the level (\"%s\")", file.c_str(),
                     what.c_str(), regionName.c_str());
        return false;
    }
    Vec3 position;
    if (!ReadVec3(item, "position", position, file, what, true))
        return false;
    const float yaw = DegreesToRadians(ReadFloat(item, "yaw", 0.0f));
    Coords coords = Coords::FromAxisAngle(Vec3(0, 1, 0), yaw);
    coords.origin = position;
    out = WorldCoords(region, coords);
    return true;
}

// One group of "groups" with its children (at most 16 levels deep); a bad group is logged and
// skipped with its children, a bad member alone.
void ReadGroup(const Json& item, const std::string& file, InstanceGroup* parent, int depth) {
    InstanceGroupManager& groups = *InstanceGroupManager::Get();
    // Askers on the game thread read the members under the same lock.
    GroupListLock lock;
    const std::string groupName = item.is_object() ? ReadString(item, "name") : "";
    if (groupName.empty() || depth > 16) {
        gEngine->Log(1, "Level %s: a group without a \"name\" (or nested too deep) is skipped",
                     file.c_str());
        return;
    }
    InstanceGroup* group = groups.AddGroup(groupName, ReadString(item, "type"), parent);
    if (!group) {
        gEngine->Log(1, "Level %s: group \"%s\" is named twice; the second is skipped",
                     file.c_str(), groupName.c_str());
        return;
    }
    if (const auto members = item.find("members"); members != item.end() && members->is_array())
        for (const Json& member : *members) {
            UniqueId id;
            if (member.is_string() && id.FromString(member.get<std::string>()) && !id.IsNull())
                group->AddMember(id);
            else
                gEngine->Log(1, "Level %s: group \"%s\": a member is not a unique id", file.c_str(),
                             groupName.c_str());
        }
    if (const auto children = item.find("children"); children != item.end() && children->is_array())
        for (const Json& child : *children)
            ReadGroup(child, file, group, depth + 1);
}

int PathingSizeFromName(const std::string& name) {
#define GAME_PATHING_SIZE_NAME(size, label, radius, height) \
    if (name == #label)                                     \
        return size;
    GAME_PATHING_SIZES(GAME_PATHING_SIZE_NAME)
#undef GAME_PATHING_SIZE_NAME
    return -1;
}

}  // namespace

bool World::LoadLevel(const std::string& levelName) {
    UnloadLevel();
    // A name under the data root (indexed or written since), else a path as given.
    RecordDatabase& records = Singleton<RecordDatabase>::Get();
    std::filesystem::path file = records.ResolveFile(levelName);
    std::error_code ec;
    if (file.empty() && !records.GetDataRoot().empty() &&
        std::filesystem::exists(records.GetDataRoot() / levelName, ec))
        file = records.GetDataRoot() / levelName;
    if (file.empty())
        file = levelName;
    mLoadingLevel = true;
    const bool read = ReadLevel(file);
    mLoadingLevel = false;
    if (!read) {
        UnloadLevel();
        return false;
    }
    mLevelName = levelName;
    GameInfo& info = Singleton<GameInfo>::Get();
    info.SetLevelName(levelName);
    info.SetModName(mModName);
    std::filesystem::path cache = file;
    cache.replace_extension(".navcache");
    BuildNavMeshes(cache);
    for (const auto& region : mRegions)
        region->SetLoaded(true);
    return true;
}

bool World::ReadLevel(const std::filesystem::path& file) {
    const std::string name = file.string();
    // A folder makes the stream throw, a pipe blocks: only a regular file is read.
    std::error_code ec;
    std::ifstream in;
    if (std::filesystem::is_regular_file(file, ec))
        in.open(file);
    if (!in.is_open() || !in) {
        gEngine->Log(1, "Level %s cannot be opened as a file", name.c_str());
        return false;
    }
    const Json level = Json::parse(in, nullptr, false);
    if (level.is_discarded() || !level.is_object()) {
        gEngine->Log(1, "Level %s is not a JSON object", name.c_str());
        return false;
    }
    const auto regions = level.find("regions");
    if (regions == level.end() || !regions->is_array() || regions->empty()) {
        gEngine->Log(1, "Level %s has no \"regions\"", name.c_str());
        return false;
    }
    for (const Json& item : *regions) {
        const std::string regionName = item.is_object() ? ReadString(item, "name") : "";
        const std::string what = "region \"" + regionName + "\"";
        if (regionName.empty()) {
            gEngine->Log(1, "Level %s: a region without a \"name\" is skipped", name.c_str());
            continue;
        }
        Vec3 offset, boundsMin, boundsMax;
        if (!ReadVec3(item, "offset", offset, name, what, false) ||
            !ReadVec3(item, "boundsMin", boundsMin, name, what, true) ||
            !ReadVec3(item, "boundsMax", boundsMax, name, what, true))
            continue;
        if (!(boundsMin.x < boundsMax.x && boundsMin.y < boundsMax.y &&
              boundsMin.z < boundsMax.z)) {
            gEngine->Log(1, "Level %s: %s: \"boundsMin\" is not below \"boundsMax\"", name.c_str(),
                         what.c_str());
            continue;
        }
        auto region = std::make_unique<Region>(regionName, offset, boundsMin, boundsMax);
        region->SetUnderground(ReadBool(item, "underground", false));
        region->SetBossMusicZone(ReadBool(item, "bossMusicZone", false));
        region->SetCinematicText(ReadString(item, "text"));
        if (const auto act = item.find("act"); act != item.end() && act->is_number_integer())
            region->SetAct(act->get<int>());
        if (const std::string ground = ReadString(item, "ground"); !ground.empty()) {
            auto mesh = std::make_unique<GroundMesh>();
            std::string error;
            const GroundBounds bounds{boundsMin, boundsMax};
            if (!mesh->LoadObj(file.parent_path() / ground, error, &bounds))
                gEngine->Log(1, "Level %s: %s: ground not loaded: %s", name.c_str(), what.c_str(),
                             error.c_str());
            else
                region->SetGround(std::move(mesh));
        }
        region->SetLoaded(false);
        AddRegion(std::move(region));
    }
    if (mRegions.empty()) {
        gEngine->Log(1, "Level %s has no usable region", name.c_str());
        return false;
    }

    mModName = ReadString(level, "mod");
    mPathingSizes.clear();
    if (const auto sizes = level.find("pathingSizes"); sizes != level.end() && sizes->is_array()) {
        for (const Json& size : *sizes) {
            const int value = size.is_string() ? PathingSizeFromName(size.get<std::string>()) : -1;
            // Only a string is quoted: dumping a deeply nested value would recurse as deep.
            if (value < 0)
                gEngine->Log(1, "Level %s: \"pathingSizes\" holds an unknown size %s", name.c_str(),
                             size.is_string() ? size.dump().c_str() : size.type_name());
            else if (std::find(mPathingSizes.begin(), mPathingSizes.end(), value) ==
                     mPathingSizes.end())
                mPathingSizes.push_back(value);
        }
    } else {
        for (int size = 0; size < kPathingSizeCount; ++size)
            mPathingSizes.push_back(size);
    }

    if (const auto spawns = level.find("spawnPoints"); spawns != level.end() && spawns->is_array())
        for (const Json& item : *spawns) {
            SpawnPoint spawn;
            spawn.name = item.is_object() ? ReadString(item, "name") : "";
            if (item.is_object() &&
                ReadPlace(item, *this, name, "spawn point \"" + spawn.name + "\"", spawn.coords))
                mSpawnPoints.push_back(spawn);
        }

    if (const auto quests = level.find("quests"); quests != level.end() && quests->is_array())
        for (const Json& item : *quests) {
            if (item.is_string() && !item.get<std::string>().empty())
                mQuestFiles.push_back(item.get<std::string>());
            else
                gEngine->Log(1, "Level %s: \"quests\" holds %s, not a quest file name",
                             name.c_str(), item.type_name());
        }

    // Groups first: a proxy asks for its groups while it loads.
    if (const auto groups = level.find("groups"); groups != level.end() && groups->is_array())
        for (const Json& item : *groups)
            ReadGroup(item, name, nullptr, 0);

    if (const auto entities = level.find("entities");
        entities != level.end() && entities->is_array())
        for (const Json& item : *entities) {
            const std::string record = item.is_object() ? ReadString(item, "record") : "";
            // Every machine reads the same file: its records, in file order, are the names that
            // travel by network index.
            if (!record.empty())
                NetworkIndexTable::Get().Add(record);
            const std::string what = "entity \"" + record + "\"";
            WorldCoords coords;
            if (record.empty() || !ReadPlace(item, *this, name, what, coords)) {
                if (record.empty())
                    gEngine->Log(1, "Level %s: an entity without a \"record\" is skipped",
                                 name.c_str());
                continue;
            }
            if (ReadBool(item, "onFloor", true)) {
                WorldVec3 at = coords.GetPosition();
                if (at.PutOnFloor())
                    coords.SetPosition(at);
            }
            UniqueId uniqueId;
            if (const std::string text = ReadString(item, "uniqueId");
                !text.empty() && (!uniqueId.FromString(text) || uniqueId.IsNull())) {
                gEngine->Log(1, "Level %s: %s: \"uniqueId\" is not 32 hexadecimal digits",
                             name.c_str(), what.c_str());
                uniqueId = UniqueId();
            }
            if (!uniqueId.IsNull() && UniqueIdMap::Get().GetObjectId(uniqueId)) {
                gEngine->Log(1, "Level %s: %s: \"uniqueId\" %s is taken; the entity has none",
                             name.c_str(), what.c_str(), uniqueId.ToString().c_str());
                uniqueId = UniqueId();
            }
            // The unique id is set before the record loads: a proxy looks up its groups there.
            ObjectManager& objects = Singleton<ObjectManager>::Get();
            Entity* entity = objects.CreateObjectFromFile<Entity>(record, 0, false);
            if (!entity) {
                gEngine->Log(1, "Level %s: %s: the record makes no entity", name.c_str(),
                             what.c_str());
                continue;
            }
            entity->SetUniqueId(uniqueId);
            if (!uniqueId.IsNull())
                UniqueIdMap::Get().Add(uniqueId, entity->GetObjectId());
            entity->Load(objects.GetLoadTable(record));
            AddEntity(entity, coords, true);
            mPlacedIds.push_back(entity->GetObjectId());
        }
    return true;
}

bool World::GetInstanceWorldPosition(const UniqueId& id, WorldVec3& out) const {
    const Entity* entity = UniqueIdMap::Get().GetEntity(id);
    if (!entity || !entity->GetCoords().region)
        return false;
    out = entity->GetCoords().GetPosition();
    return true;
}

void World::BuildNavMeshes(const std::filesystem::path& cacheFile) {
    NavInputHash hash;
    const int version = NavBuildSettings::kFormatVersion;
    hash.Add(&version, sizeof version);
    const float settings[] = {NavBuildSettings::kCellSize, NavBuildSettings::kCellHeight,
                              NavBuildSettings::kMaxSlopeDegrees, NavBuildSettings::kMaxClimb,
                              static_cast<float>(NavBuildSettings::kTileCells)};
    hash.Add(settings, sizeof settings);
    for (int size : mPathingSizes) {
        hash.AddFloat(GetPathingAgent(size).radius);
        hash.AddFloat(GetPathingAgent(size).height);
    }
    for (const auto& region : mRegions)
        if (region->GetGround()) {
            hash.AddString(region->GetName());
            hash.AddGround(*region->GetGround());
        }

    // One entry per region with ground and pathing size, in that order.
    std::vector<NavMeshData> entries;
    std::string error;
    std::size_t expected = 0;
    for (const auto& region : mRegions)
        expected += region->GetGround() ? mPathingSizes.size() : 0;
    mNavFromCache =
        ReadNavCache(cacheFile, hash.Get(), entries, error) && entries.size() == expected;
    if (!mNavFromCache) {
        gEngine->Log(0, "World: building navigation meshes for %s (%s)",
                     cacheFile.filename().string().c_str(), error.c_str());
        entries.clear();
        for (const auto& region : mRegions) {
            if (!region->GetGround())
                continue;
            for (int size : mPathingSizes) {
                NavMeshData data;
                if (!BuildNavMeshData(*region->GetGround(), GetPathingAgent(size), data, error))
                    gEngine->Log(1, "World: region %s, size %s: no navigation mesh: %s",
                                 region->GetName().c_str(), GetPathingAgent(size).name,
                                 error.c_str());
                entries.push_back(std::move(data));
            }
        }
        if (!WriteNavCache(cacheFile, hash.Get(), entries))
            gEngine->Log(1, "World: navigation cache %s could not be written",
                         cacheFile.string().c_str());
    }
    std::size_t next = 0;
    for (const auto& region : mRegions) {
        if (!region->GetGround())
            continue;
        for (int size : mPathingSizes) {
            const NavMeshData& data = entries[next++];
            if (data.tiles.empty())
                continue;
            auto mesh = std::make_unique<NavMesh>();
            if (!mesh->Init(data, error)) {
                gEngine->Log(1, "World: region %s, size %s: navigation mesh refused: %s",
                             region->GetName().c_str(), GetPathingAgent(size).name, error.c_str());
                continue;
            }
            mPathFinder->SetNavMesh(region.get(), size, std::move(mesh));
        }
    }
}

namespace {
std::vector<World::LevelUnloadHook>& UnloadHooks() {
    static std::vector<World::LevelUnloadHook> hooks;
    return hooks;
}
}  // namespace

void World::AddLevelUnloadHook(LevelUnloadHook hook) {
    UnloadHooks().push_back(hook);
}

void World::UnloadLevel() {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (std::uint32_t id : mPlacedIds)
        if (Object* object = objects.GetObject(id))
            objects.DestroyObject(object);
    mPlacedIds.clear();
    UniqueIdMap::Get().Clear();
    InstanceGroupManager::Get()->ClearGroups();
    NetworkIndexTable::Get().Clear();
    // Entities that stay alive keep their place but lose the regions that are going away.
    for (std::uint32_t slot = 0; slot < mPlaced.size(); ++slot)
        if (Entity* entity = mPlaced[slot].entity) {
            RemoveEntity(entity);
            const Coords kept = entity->GetCoords().coords;
            entity->SetCoords(WorldCoords(nullptr, kept));
        }
    mPlaced.clear();
    mDigests.clear();
    mFreeSlots.clear();
    mRankSlots.clear();
    mFreeRanks = 0;
    mRankMarks.clear();
    mPathFinder->Clear();
    if (NetRegionTable* table = Machine::Current().Find<NetRegionTable>())
        for (const auto& region : mRegions)
            table->Remove(region.get());
    mRegions.clear();
    RestartMembership();
    mSpawnPoints.clear();
    mQuestFiles.clear();
    mPathingSizes.clear();
    mLevelName.clear();
    mModName.clear();
    Singleton<GameInfo>::Get().SetLevelName(std::string());
    Singleton<GameInfo>::Get().SetModName(std::string());
    mNavFromCache = false;
    for (LevelUnloadHook hook : UnloadHooks())
        hook();
}

}  // namespace GAME
