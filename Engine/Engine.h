#pragma once
// The engine object: the log, the network mode queries and the frame clock of one machine.
#include <atomic>
#include <cstdarg>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "Engine/sys/Machine.h"

namespace GAME {

class NetworkConnectionManager;

class Engine {
public:
    static constexpr FixedSlot kMachineSlot = FixedSlot::Engine;

    using LogSink = std::function<void(int level, const char* channel, const std::string& text)>;

    Engine();
    virtual ~Engine();

    // The engine log: level 0 (information) or 1 (warnings and errors), printf-style.
    void Log(int level, const char* format, ...) __attribute__((format(printf, 3, 4)));
    void LogChannel(int level, const char* channel, const char* format, ...)
        __attribute__((format(printf, 4, 5)));
    void LogV(int level, const char* channel, const char* format, va_list args);
    virtual void LogText(int level, const char* channel, const std::string& text);

    // Where log lines go (stderr by default); returns the previous sink. A sink that takes
    // nothing spares every line its forming (recorders still get theirs).
    LogSink SetLogSink(LogSink sink, bool takesNothing = false);

    // Network mode of this machine.
    bool IsNetworkEnabled() const { return mNetworkEnabled; }
    bool IsServer() const { return mNetworkEnabled && mServer; }
    bool IsClient() const { return mNetworkEnabled && !mServer; }
    void SetNetworkMode(bool enabled, bool server) {
        mNetworkEnabled = enabled;
        mServer = server;
    }
    // The connection manager of this machine (created on first use).
    NetworkConnectionManager* GetNetworkConnectionManager();

    bool IsEditor() const { return mEditor; }
    void SetEditor(bool editor) { mEditor = editor; }

    // While on, every character draws its movement's debug view each frame.
    bool IsCharacterDataLogEnabled() const { return mCharacterDataLog; }
    void SetCharacterDataLogEnabled(bool on) { mCharacterDataLog = on; }

    // Game time in milliseconds, advanced by the host's frames; while paused a frame adds
    // nothing. The frame step is what the last frame added.
    std::uint64_t GetGameTime() const { return mGameTime; }
    void AdvanceGameTime(std::uint32_t ms) {
        mFrameStep = mGameTimePaused ? 0 : ms;
        mGameTime += mFrameStep;
    }
    std::uint32_t GetFrameStep() const { return mFrameStep; }
    // One frame of the engine: the game time, then the frame steps of animations (their
    // events call back) and physics. A paused frame advances neither.
    void AdvanceFrame(std::uint32_t ms);
    bool IsGameTimePaused() const { return mGameTimePaused; }
    void SetGameTimePaused(bool paused) { mGameTimePaused = paused; }

    // While a player is moved far away: the frame loads regions rather than drawing them.
    bool IsTeleportMode() const { return mTeleportMode; }
    void SetTeleportMode(bool on) { mTeleportMode = on; }

    // The title of the region the listener stands in (a text tag; empty outside the world).
    std::string GetCinematicText() const;

    // The server's entry of what a client host sees, with the entities of its view looked up
    // again (NetworkEntityList).
    void UpdateClientEntities(int host);

    // Entities that ask to be updated even out of view (a player's pet, a volume following the
    // player). Headless, every placed entity updates each frame anyway: the engine only keeps
    // who asked, in id order.
    void RegisterForForcedUpdates(std::uint32_t objectId);
    void UnregisterForForcedUpdates(std::uint32_t objectId);
    bool IsRegisteredForForcedUpdates(std::uint32_t objectId) const;
    const std::vector<std::uint32_t>& GetForcedUpdates() const { return mForcedUpdates; }

    // The lines of the statistics display, gathered over a frame; the host clears them.
    void AddStatisticText(const std::string& text) { mStatisticText.push_back(text); }
    const std::vector<std::string>& GetStatisticText() const { return mStatisticText; }
    void ClearStatisticText() { mStatisticText.clear(); }

private:
    // Lines come from worker threads too (the save thread); one line is delivered at a time.
    std::recursive_mutex mLogMutex;
    LogSink mSink;
    // Read by every line without the lock, from any thread.
    std::atomic<bool> mSinkTakesNothing = false;
    bool mNetworkEnabled = false;
    bool mServer = false;
    bool mEditor = false;
    bool mCharacterDataLog = false;
    std::uint64_t mGameTime = 0;
    std::uint32_t mFrameStep = 0;
    bool mGameTimePaused = false;
    bool mTeleportMode = false;
    std::vector<std::string> mStatisticText;
    std::vector<std::uint32_t> mForcedUpdates;
};

// `gEngine` reads as the engine object of the current machine. Forced inline: the frame reaches
// it many times, and each access is a thread-pointer load and a slot read; left to itself the
// compiler kept an out-of-line copy per batch, and the call cost more than the read.
struct EngineHandle {
    [[gnu::always_inline]] Engine* operator->() const { return &Machine::Current().Get<Engine>(); }
    [[gnu::always_inline]] Engine& operator*() const { return Machine::Current().Get<Engine>(); }
    [[gnu::always_inline]] operator Engine*() const { return &Machine::Current().Get<Engine>(); }
};
extern const EngineHandle gEngine;

}  // namespace GAME
