#pragma once
// What the stand-ins for drawing, effects, physics and the camera were asked, per machine: a
// count per kind of call and the latest calls in a fixed ring (nothing grows in a long run).
#include <array>
#include <cstdint>
#include <string_view>

namespace GAME {

// Every recorded kind of call, declared once.
#define ENGINE_MEDIA_CALLS(X)     \
    X(SetMesh)                    \
    X(RestoreMesh)                \
    X(SetBaseTexture)             \
    X(SetBumpTexture)             \
    X(SetTintColor)               \
    X(SetOutlineColor)            \
    X(BeginDissolve)              \
    X(BeginUnDissolve)            \
    X(LoadTexture)                \
    X(LightColor)                 \
    X(LightRadius)                \
    X(LightForceShadows)          \
    X(StartEmitting)              \
    X(StopEmitting)               \
    X(ResetEmitter)               \
    X(FadeLight)                  \
    X(EffectAddToWorld)           \
    X(SetEntityLinearVelocity)    \
    X(SetEntityAngularVelocity)   \
    X(RemoveEntityFromSimulation) \
    X(RagDollEnable)              \
    X(RagDollBodyVelocity)        \
    X(RagDollRest)                \
    X(RenderSphere)               \
    X(StatisticGraph)             \
    X(CameraDistance)             \
    X(CameraPitch)                \
    X(CameraYaw)                  \
    X(CameraFOV)                  \
    X(SoundPlay)                  \
    X(WeaponTrailStart)           \
    X(WeaponTrailStop)            \
    X(MusicEvent)                 \
    X(MusicEventEnd)              \
    X(MusicAmbientPlaylist)       \
    X(MusicPlaylist)              \
    X(MusicFadeIn)                \
    X(MusicFadeOut)               \
    X(MusicAbsoluteFade)          \
    X(BossMusicStart)             \
    X(BossMusicLeave)             \
    X(DayNightStartTime)          \
    X(DayNightEnable)             \
    X(GrassWind)

enum class MediaCall : std::uint8_t {
#define ENGINE_MEDIA_CALL_ENUM(name) name,
    ENGINE_MEDIA_CALLS(ENGINE_MEDIA_CALL_ENUM)
#undef ENGINE_MEDIA_CALL_ENUM
        Count
};

const char* GetMediaCallName(MediaCall call);

struct MediaRecord {
    MediaCall call = MediaCall::Count;
    std::uint32_t objectId = 0;
    float values[4] = {};
    char text[64] = {};  // truncated to fit
    std::string_view Text() const { return text; }
};

class MediaRecorder {
public:
    static constexpr std::size_t kRingSize = 256;

    static MediaRecorder& Get();

    void Record(MediaCall call, std::uint32_t objectId, std::string_view text = {}, float v0 = 0.0f,
                float v1 = 0.0f, float v2 = 0.0f, float v3 = 0.0f);

    // Calls of the kind since the start (or the last Clear).
    std::uint64_t Count(MediaCall call) const { return mCounts[static_cast<std::size_t>(call)]; }
    // The latest call of the kind still in the ring, else null.
    const MediaRecord* Last(MediaCall call) const;
    // The latest call of the kind for one object still in the ring, else null.
    const MediaRecord* Last(MediaCall call, std::uint32_t objectId) const;
    void Clear();

    // One listener (a host's log) hears each call as it is recorded; null removes it.
    using Listener = void (*)(void* context, const MediaRecord& record);
    void SetListener(Listener listener, void* context) {
        mListener = listener;
        mListenerContext = context;
    }

private:
    std::array<MediaRecord, kRingSize> mRing{};
    std::size_t mNext = 0;
    std::size_t mStored = 0;
    std::array<std::uint64_t, static_cast<std::size_t>(MediaCall::Count)> mCounts{};
    Listener mListener = nullptr;
    void* mListenerContext = nullptr;
};

}  // namespace GAME
