// The library's exports: the root object of the current machine and its creation and end.
#include "Engine/Engine.h"
#include "Engine/sys/Machine.h"
#include "Game/core/GameEngine.h"

namespace GAME {

namespace {
// The machine's slot for its root object; a root still alive when the machine goes is shut down.
struct GameEngineSlot {
    GameEngine* engine = nullptr;
    ~GameEngineSlot() {
        if (engine) {
            GameEngine* doomed = engine;
            engine = nullptr;
            doomed->Shutdown();
            delete doomed;
        }
    }
};

GameEngineSlot& Slot() {
    return Machine::Current().Get<GameEngineSlot>();
}
GameEngine* Current() {
    GameEngineSlot* slot = Machine::Current().Find<GameEngineSlot>();
    return slot ? slot->engine : nullptr;
}
}  // namespace

const GameEngineHandle gGameEngine{};

GameEngine* GameEngineHandle::operator->() const {
    return Current();
}
GameEngine& GameEngineHandle::operator*() const {
    return *Current();
}
GameEngineHandle::operator GameEngine*() const {
    return Current();
}
const GameEngineHandle& GameEngineHandle::operator=(GameEngine* engine) const {
    Slot().engine = engine;
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
    engine->Shutdown();
    delete engine;
    gGameEngine = nullptr;
}

}  // extern "C"
