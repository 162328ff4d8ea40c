#include "Game/core/AssertHandler.h"

#include "Engine/sys/Machine.h"

namespace GAME {

void InitializeAssertHandler(AssertHandlerFunction handler, bool firstFlag, bool secondFlag) {
    auto& settings = Singleton<AssertHandlerSettings>::Get();
    settings.handler = handler;
    settings.firstFlag = firstFlag;
    settings.secondFlag = secondFlag;
}

void SetAssertHandlerLogPath(const char* path) {
    Singleton<AssertHandlerSettings>::Get().logPath = path ? path : "";
}

const AssertHandlerSettings& GetAssertHandlerSettings() {
    return Singleton<AssertHandlerSettings>::Get();
}

}  // namespace GAME
