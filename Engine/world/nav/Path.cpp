#include "Engine/world/nav/Path.h"

#include <algorithm>

namespace GAME {

Path::Path() : mRegion(nullptr) {
    Restart();
}

Path::Path(Region* region, const std::vector<Vec3>& corners,
           const std::vector<std::uint32_t>& polygons)
    : mRegion(region) {
    Assign(region, corners, polygons.data(), polygons.size());
}

namespace {

// Storage grows by doubling from a few entries, so a recycled path soon holds the paths of the
// level without asking for a larger block.
template <class Storage>
[[gnu::noinline]] void Grow(Storage& storage, std::size_t count) {
    constexpr std::size_t kLeast = 16;
    storage.reserve(std::max({count, 2 * storage.capacity(), kLeast}));
}

// Every search fits a path: the test stays inline, the rare growth does not.
template <class Storage>
[[gnu::always_inline]] inline void Fit(Storage& storage, std::size_t count) {
    if (storage.capacity() < count)
        Grow(storage, count);
}

}  // namespace

void Path::Assign(Region* region, const std::vector<Vec3>& corners, const std::uint32_t* polygons,
                  std::size_t polygonCount) {
    mRegion = region;
    Fit(mCorners, corners.size());
    mCorners.assign(corners.begin(), corners.end());
    Fit(mPolygons, polygonCount);
    mPolygons.assign(polygons, polygons + polygonCount);
    Restart();
}

void Path::AssignUnfinished(Region* region, const float* corners, std::size_t count,
                            const std::uint32_t* polygons, std::size_t polygonCount) {
    mRegion = region;
    // Written over the storage held, not zeroed first: a crowd's reach checks fill the same path
    // search after search, with a corner or two over a polygon or two.
    Fit(mCorners, std::max<std::size_t>(count, 1));
    mCorners.clear();
    for (std::size_t i = 0; i < count; ++i)
        mCorners.emplace_back(corners[i * 3], corners[i * 3 + 1], corners[i * 3 + 2]);
    if (count == 0)
        mCorners.emplace_back();
    Fit(mPolygons, polygonCount);
    mPolygons.clear();
    for (std::size_t i = 0; i < polygonCount; ++i)
        mPolygons.push_back(polygons[i]);
    mNext = 1;
    mPosition = mCorners.front();
    mLength = 0;
}

void Path::AssignCorners(const std::vector<Vec3>& corners) {
    Fit(mCorners, corners.size());
    mCorners.assign(corners.begin(), corners.end());
    Restart();
}

void Path::Restart() {
    if (mCorners.empty())
        mCorners.push_back(Vec3());
    mNext = 1;
    mPosition = mCorners.front();
    mLength = 0;
    for (std::size_t i = 1; i < mCorners.size(); ++i)
        mLength += (mCorners[i] - mCorners[i - 1]).Length();
}

WorldVec3 Path::GetPointAtDistance(float distance) const {
    Vec3 at = mPosition;
    float left = Max(distance, 0.0f);
    for (std::size_t i = mNext; i < mCorners.size(); ++i) {
        const Vec3 leg = mCorners[i] - at;
        const float len = leg.Length();
        if (left <= len)
            return WorldVec3(mRegion, len > 0 ? at + leg * (left / len) : at);
        left -= len;
        at = mCorners[i];
    }
    return WorldVec3(mRegion, at);
}

bool Path::Advance(float step, WorldVec3& position, Vec3& heading) {
    float left = Max(step, 0.0f);
    while (mNext < mCorners.size()) {
        const Vec3 leg = mCorners[mNext] - mPosition;
        const float len = leg.Length();
        if (len > 0)
            heading = leg * (1.0f / len);
        if (left < len) {
            mPosition += leg * (left / len);
            mLength = Max(mLength - left, 0.0f);
            position = WorldVec3(mRegion, mPosition);
            return true;
        }
        left -= len;
        mLength = Max(mLength - len, 0.0f);
        mPosition = mCorners[mNext++];
    }
    mLength = 0;
    position = WorldVec3(mRegion, mPosition);
    return false;
}

}  // namespace GAME
