#include "Host/HostApp.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "Engine/Engine.h"
#include "Engine/media/graphics/GraphicsEngine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/text/LocalizationManager.h"
#include "Engine/world/GroundMesh.h"
#include "Engine/world/LevelLoader.h"
#include "Engine/world/World.h"
#include "Engine/world/nav/PathFinder.h"
#include "Game/characters/movement/InterpenetrationManager.h"
#include "Game/core/GameCamera.h"
#include "Game/core/GameEngine.h"
#include "Game/quests/Quest.h"
#include "Game/quests/QuestRepository.h"
#include "Game/quests/QuestStep.h"
#include "Host/WorldFrame.h"

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

bool LoadLevel(const HostOptions& options) {
    // A level is named, not a path: the name must not lead out of the data folder's levels.
    const std::string& name = options.level;
    const bool plain = !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-';
    });
    if (!plain) {
        std::fprintf(stderr,
                     "gamehost: --level \"%s\" is not a level name (letters, digits, _ and -)\n",
                     name.c_str());
        return false;
    }
    const std::string path = "Levels/" + name + "/" + name + ".level";
    World& world = World::Get();
    // The level loads on the loader thread, as the engine's levels do; nothing else runs
    // meanwhile, so the wait is the whole load.
    LevelLoader loader(path);
    loader.Start();
    if (!loader.Finish()) {
        std::fprintf(stderr, "gamehost: level %s could not be loaded (%s)\n", name.c_str(),
                     (options.dataRoot / path).string().c_str());
        return false;
    }
    std::printf("gamehost: level %s: %zu regions, %zu spawn points, %zu placed entities\n",
                path.c_str(), world.GetRegions().size(), world.GetSpawnPoints().size(),
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
    QuestRepository& quests = *QuestRepository::Get();
    quests.Reset();
    quests.Load();
    PrintQuestLog(stdout);
    return true;
}

void PrintQuestLog(std::FILE* out) {
    for (const auto& quest : QuestRepository::Get()->GetQuests()) {
        const char* state = quest->IsUnsolvable() ? "beyond reach"
                            : quest->IsComplete() ? "complete"
                            : quest->IsActive()   ? "under way"
                                                  : "not yet taken";
        std::fprintf(out, "gamehost: quest \"%s\" (%s): %zu steps, %s\n", quest->GetName().c_str(),
                     quest->GetPath().c_str(), quest->GetStepCount(), state);
        for (std::size_t i = 0; i < quest->GetStepCount(); ++i) {
            const QuestStep& step = *quest->GetQuestStepAtIndx(i);
            std::fprintf(out, "gamehost:   step %zu \"%s\": %zu trigger%s, %s\n", i + 1,
                         step.GetName().c_str(), step.GetTriggerCount(),
                         step.GetTriggerCount() == 1 ? "" : "s",
                         step.IsComplete()  ? "done"
                         : step.IsEnabled() ? "open"
                                            : "locked");
        }
    }
}

void RunFrame(int frameMs) {
    RunFrameEngineStep(frameMs);
    RunFrameEntityStep();
    RunFrameCharacterStep(frameMs);
}

void RunFramePresentationStep() {
    GameEngine* root = gGameEngine;
    if (!root || gEngine->IsNetworkEnabled())
        return;
    GameCamera& camera = *root->GetCamera();
    camera.Update();
    GraphicsEngine& graphics = GraphicsEngine::Get();
    WorldFrustum view;
    camera.GetFrustum(Viewport{0.0f, 0.0f, static_cast<float>(graphics.GetWidth()),
                               static_cast<float>(graphics.GetHeight())},
                      view);
    graphics.SetRenderPreLoadFrustum(view);
    // Holds only scratch space, so one serves every machine of the process.
    static InterpenetrationManager fixup;
    fixup.FixupCharacterCollisions(camera);
}

void RunFrameEngineStep(int frameMs) {
    gEngine->AdvanceFrame(static_cast<std::uint32_t>(frameMs < 0 ? 0 : frameMs));
}

void RunFrameEntityStep() {
    if (const auto step = static_cast<int>(gEngine->GetFrameStep()); step > 0)
        UpdateWorldEntitiesSelf(step);
}

void RunFrameCharacterStep(int frameMs) {
    if (const auto step = static_cast<int>(gEngine->GetFrameStep()); step > 0)
        UpdateWorldCharactersPreAnimation(step);
    if (GameEngine* root = gGameEngine)
        root->Update(frameMs);
}

}  // namespace GAME
