#include "Engine/Engine.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "Engine/anim/AnimationSystem.h"
#include "Engine/media/physics/PhysicsEngine.h"
#include "Engine/media/sound/AmbianceManager.h"
#include "Engine/net/FrameStrikes.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/net/NetworkEntityList.h"
#include "Engine/sys/LogRecorder.h"
#include "Engine/sys/Machine.h"

namespace GAME {

const EngineHandle gEngine{};

Engine::Engine() = default;
Engine::~Engine() = default;

void Engine::Log(int level, const char* format, ...) {
    va_list args;
    va_start(args, format);
    LogV(level, nullptr, format, args);
    va_end(args);
}

void Engine::LogChannel(int level, const char* channel, const char* format, ...) {
    va_list args;
    va_start(args, format);
    LogV(level, channel, format, args);
    va_end(args);
}

void Engine::LogV(int level, const char* channel, const char* format, va_list args) {
    if (!format)
        return;
#ifdef NDEBUG
    // Debug builds form and deliver the line all the same, so its format is still checked.
    if (mSinkTakesNothing.load(std::memory_order_relaxed) && !LogRecorder::Recording())
        return;
#endif
    // A format without conversions prints as itself: most repeated lines are such.
    const bool plain = std::strchr(format, '%') == nullptr;
    char small[512];
    int needed = 0;
    if (!plain) {
        va_list copy;
        va_copy(copy, args);
        needed = std::vsnprintf(small, sizeof small, format, copy);
        va_end(copy);
        if (needed < 0)
            return;
    }
    // The thread's line keeps its storage, so a line logged every frame allocates nothing; a
    // line logged while one is being delivered (by the sink) takes a string of its own.
    thread_local std::string kept;
    thread_local bool keptInUse = false;
    std::string own;
    const bool useKept = !keptInUse;
    std::string& text = useKept ? kept : own;
    struct Release {
        bool active;
        ~Release() {
            if (active)
                keptInUse = false;
        }
    } release{useKept};
    keptInUse = true;
    if (plain) {
        text.assign(format);
#ifndef NDEBUG
        va_list copy;
        va_copy(copy, args);
        std::vector<char> printed(text.size() + 1);
        const int length = std::vsnprintf(printed.data(), printed.size(), format, copy);
        va_end(copy);
        if (length < 0 || text.compare(0, std::string::npos, printed.data()) != 0 ||
            static_cast<std::size_t>(length) != text.size())
            std::abort();
#endif
    } else if (static_cast<std::size_t>(needed) < sizeof small) {
        text.assign(small, static_cast<std::size_t>(needed));
    } else {
        std::vector<char> big(static_cast<std::size_t>(needed) + 1);
        std::vsnprintf(big.data(), big.size(), format, args);
        text.assign(big.data(), static_cast<std::size_t>(needed));
    }
    if (!LogRecorder::Keep(level, channel, text))
        return;
    LogText(level, channel, text);
}

void Engine::LogText(int level, const char* channel, const std::string& text) {
    std::lock_guard lock(mLogMutex);
    if (mSink) {
        mSink(level, channel, text);
        return;
    }
    std::fprintf(stderr, "[%d]%s%s%s %s\n", level, channel ? "[" : "", channel ? channel : "",
                 channel ? "]" : "", text.c_str());
}

NetworkConnectionManager* Engine::GetNetworkConnectionManager() {
    return &Machine::Current().Get<NetworkConnectionManager>();
}

void Engine::AdvanceFrame(std::uint32_t ms) {
    // What the machines decided since they last met has reached every one of them by now.
    FrameStrikes::Get().RunHeld();
    AdvanceGameTime(ms);
    if (mGameTimePaused)
        return;
    const int step = static_cast<int>(std::min<std::uint32_t>(mFrameStep, INT32_MAX));
    AnimationSystem::Get().Update(step);
    PhysicsEngine::Get().Update(step);
}

Engine::LogSink Engine::SetLogSink(LogSink sink, bool takesNothing) {
    std::lock_guard lock(mLogMutex);
    mSinkTakesNothing.store(takesNothing && sink, std::memory_order_relaxed);
    return std::exchange(mSink, std::move(sink));
}

void Engine::UpdateClientEntities(int host) {
    Singleton<NetworkEntityList>::Get().UpdateClientEntities(host);
}

void Engine::RegisterForForcedUpdates(std::uint32_t objectId) {
    auto it = std::lower_bound(mForcedUpdates.begin(), mForcedUpdates.end(), objectId);
    if (objectId != 0 && (it == mForcedUpdates.end() || *it != objectId))
        mForcedUpdates.insert(it, objectId);
}

void Engine::UnregisterForForcedUpdates(std::uint32_t objectId) {
    auto it = std::lower_bound(mForcedUpdates.begin(), mForcedUpdates.end(), objectId);
    if (it != mForcedUpdates.end() && *it == objectId)
        mForcedUpdates.erase(it);
}

bool Engine::IsRegisteredForForcedUpdates(std::uint32_t objectId) const {
    return std::binary_search(mForcedUpdates.begin(), mForcedUpdates.end(), objectId);
}

std::string Engine::GetCinematicText() const {
    const Region* region = Singleton<AmbianceManager>::Get().GetTargetPosition().region;
    return region ? region->GetCinematicText() : std::string();
}

}  // namespace GAME
