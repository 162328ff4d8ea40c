#include "Host/HostApp.h"

#include <cstdio>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/text/LocalizationManager.h"
#include "Engine/world/GroundMesh.h"
#include "Engine/world/PathFinder.h"
#include "Engine/world/World.h"
#include "Game/core/GameEngine.h"

namespace GAME {

namespace {
// What every mode builds on: the game root's settings.
constexpr const char* kRequiredRecords[] = {GameEngine::kRecordName};
}  // namespace

bool PrepareMachine(const HostOptions& options) {
    std::error_code ec;
    const char* folder = options.dataRoot.c_str();
    if (!std::filesystem::exists(options.dataRoot, ec)) {
        std::fprintf(stderr, "gamehost: data folder %s not found\n", folder);
        return false;
    }
    if (!std::filesystem::is_directory(options.dataRoot, ec)) {
        std::fprintf(stderr, "gamehost: --data %s is not a folder\n", folder);
        return false;
    }
    RecordDatabase& records = Singleton<RecordDatabase>::Get();
    records.SetDataRoot(options.dataRoot);
    for (const char* record : kRequiredRecords)
        if (!records.Load(record)) {
            std::fprintf(stderr, "gamehost: data folder %s has no usable record %s\n", folder,
                         record);
            return false;
        }
    const int textFiles = LocalizationManager::Instance().LoadFolder(options.dataRoot / "Text");
    gEngine->Log(0, "Host: data root %s, %d text files", options.dataRoot.string().c_str(),
                 textFiles);
    return true;
}

namespace {

constexpr const char* kSampleLevel = "Levels/Sample/Sample.level";

// Loads the sample level and says what it holds; false when it cannot be loaded.
bool LoadSampleLevel() {
    World& world = World::Get();
    if (!world.LoadLevel(kSampleLevel)) {
        std::fprintf(stderr, "gamehost: level %s could not be loaded\n", kSampleLevel);
        return false;
    }
    std::printf("gamehost: level %s: %zu regions, %zu spawn points, %zu placed entities\n",
                kSampleLevel, world.GetRegions().size(), world.GetSpawnPoints().size(),
                world.GetPlacedEntityIds().size());
    for (const auto& region : world.GetRegions()) {
        const Vec3& o = region->GetOffset();
        const GroundMesh* ground = region->GetGround();
        std::printf("gamehost:   region %s at (%g, %g, %g), %s, %zu ground triangles, navmesh",
                    region->GetName().c_str(), static_cast<double>(o.x), static_cast<double>(o.y),
                    static_cast<double>(o.z), region->IsUnderground() ? "underground" : "outdoors",
                    ground ? ground->GetTriangleCount() : std::size_t{0});
        for (int size : world.GetPathingSizes()) {
            const NavMesh* mesh = world.GetPathFinder().GetNavMesh(region.get(), size);
            std::printf(" %s %d polygons in %d tiles", GetPathingAgent(size).name,
                        mesh ? mesh->GetPolygonCount() : 0, mesh ? mesh->GetTileCount() : 0);
        }
        std::printf("\n");
    }
    std::printf("gamehost:   navigation meshes %s\n",
                world.WereNavMeshesCached() ? "read from the cache" : "built and cached");
    return true;
}

}  // namespace

void RunFrame(int frameMs) {
    gEngine->AdvanceFrame(static_cast<std::uint32_t>(frameMs < 0 ? 0 : frameMs));
    if (GameEngine* root = gGameEngine)
        root->Update(frameMs);
}

int RunPlay(const HostOptions& options) {
    if (!PrepareMachine(options))
        return 1;
    InitializeObjects();
    GameEngine* root = gGameEngine;
    if (!root) {
        std::fprintf(stderr, "gamehost: the game root could not be created\n");
        return 1;
    }
    root->SetGameLoading(false);
    std::printf("gamehost: game root ready (single player, melee range %g)\n",
                static_cast<double>(root->GetMeleeRange()));
    if (!LoadSampleLevel()) {
        ShutdownObjects();
        return 1;
    }
    for (int frame = 0; frame < options.frames; ++frame)
        RunFrame(options.frameMs);
    std::printf("gamehost: played %d frames (%llu ms of game time)\n", options.frames,
                static_cast<unsigned long long>(gEngine->GetGameTime()));
    World::Get().UnloadLevel();
    ShutdownObjects();
    std::printf("gamehost: game root shut down\n");
    return 0;
}

}  // namespace GAME
