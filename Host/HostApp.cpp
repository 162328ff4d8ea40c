#include "Host/HostApp.h"

#include <cstdio>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/text/LocalizationManager.h"

namespace GAME {

bool PrepareMachine(const HostOptions& options) {
    std::error_code ec;
    if (!std::filesystem::is_directory(options.dataRoot, ec)) {
        std::fprintf(stderr, "gamehost: data folder %s not found\n", options.dataRoot.string().c_str());
        return false;
    }
    Singleton<RecordDatabase>::Get().SetDataRoot(options.dataRoot);
    const int textFiles = LocalizationManager::Instance().LoadFolder(options.dataRoot / "Text");
    gEngine->Log(0, "Host: data root %s, %d text files", options.dataRoot.string().c_str(), textFiles);
    return true;
}

int RunPlay(const HostOptions& options) {
    if (!PrepareMachine(options))
        return 1;
    const bool haveSettings = Singleton<ObjectManager>::Get().LoadTableFile("Records/Game/GameEngine.dbr");
    gEngine->Log(0, "Host: game settings record %s", haveSettings ? "loaded" : "missing");
    for (int frame = 0; frame < options.frames; ++frame)
        gEngine->AdvanceGameTime(static_cast<std::uint32_t>(options.frameMs));
    std::printf("gamehost: played %d frames (%llu ms of game time)\n", options.frames,
                static_cast<unsigned long long>(gEngine->GetGameTime()));
    return 0;
}

}  // namespace GAME
