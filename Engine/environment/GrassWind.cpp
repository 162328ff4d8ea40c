#include "Engine/environment/GrassWind.h"

#include <algorithm>

#include "Engine/media/MediaRecorder.h"
#include "Engine/sys/Machine.h"

namespace GAME {

GrassWindField& GrassWindField::Get() {
    return Singleton<GrassWindField>::Get();
}

void GrassWindField::Blow(const GrassWind& wind) {
    auto it = std::find_if(mWinds.begin(), mWinds.end(),
                           [&](const GrassWind& held) { return held.sourceId == wind.sourceId; });
    if (it == mWinds.end())
        mWinds.push_back(wind);
    else
        *it = wind;
    const Vec3 at = wind.position.GetWorldPosition();
    MediaRecorder::Get().Record(MediaCall::GrassWind, wind.sourceId, {}, wind.strength, wind.radius,
                                at.x, at.z);
}

const GrassWind* GrassWindField::Find(std::uint32_t sourceId) const {
    auto it = std::find_if(mWinds.begin(), mWinds.end(),
                           [&](const GrassWind& held) { return held.sourceId == sourceId; });
    return it == mWinds.end() ? nullptr : &*it;
}

void GrassWindField::Remove(std::uint32_t sourceId) {
    std::erase_if(mWinds, [&](const GrassWind& held) { return held.sourceId == sourceId; });
}

}  // namespace GAME
