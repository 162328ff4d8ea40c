#include "Host/HostApp.h"

#include <cstdio>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/text/LocalizationManager.h"
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
    for (int frame = 0; frame < options.frames; ++frame) {
        gEngine->AdvanceGameTime(static_cast<std::uint32_t>(options.frameMs));
        root->Update(options.frameMs);
    }
    std::printf("gamehost: played %d frames (%llu ms of game time)\n", options.frames,
                static_cast<unsigned long long>(gEngine->GetGameTime()));
    ShutdownObjects();
    std::printf("gamehost: game root shut down\n");
    return 0;
}

}  // namespace GAME
