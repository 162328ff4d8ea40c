#pragma once
// The machine's generator for choosing dialog lines: the C runtime's kind, with a state of its
// own, because only the machine whose player listens draws and a shared sequence would part
// between machines.
#include "Engine/sys/Machine.h"
#include "Game/world/WorldRandom.h"

namespace GAME {

struct DialogRandom {
    CrtGenerator generator;

    // rand() % (max - min + 1) + min.
    static int RandomInt(int min, int max) {
        const int draw = Singleton<DialogRandom>::Get().generator.Next();
        if (max < min)
            return min;
        return min + draw % (max - min + 1);
    }
};

}  // namespace GAME
