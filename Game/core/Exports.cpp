// The library's exports: the root object of the current machine and its creation and end.
#include "Engine/Engine.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/sys/Machine.h"
#include "Game/core/GameEngine.h"

namespace GAME {

GameEngineSlot::~GameEngineSlot() {
    if (engine) {
        GameEngine* doomed = engine;
        engine = nullptr;
        doomed->Shutdown();
        delete doomed;
    }
}

const GameEngineHandle gGameEngine{};

const GameEngineHandle& GameEngineHandle::operator=(GameEngine* engine) const {
    Machine::Current().Get<GameEngineSlot>().engine = engine;
    return *this;
}

}  // namespace GAME

extern "C" {

void InitializeObjects() {
    using namespace GAME;
    if (gGameEngine) {
        // Replacing the root would leak it and strand everything that points at it.
        gEngine->Log(1, "InitializeObjects: the game root already exists; keeping it");
        return;
    }
    auto* engine = new GameEngine();
    gGameEngine = engine;
    engine->Initialize();
}

void ShutdownObjects() {
    using namespace GAME;
    GameEngine* engine = gGameEngine;
    if (!engine)
        return;
    // A frame that arrives later (a client's late move while the server waits for it to leave)
    // must not reach the objects the root is about to free.
    if (NetworkConnectionManager* connections = gEngine->GetNetworkConnectionManager())
        connections->SetGameKindsClosed(true);
    engine->Shutdown();
    delete engine;
    gGameEngine = nullptr;
}

}  // extern "C"
