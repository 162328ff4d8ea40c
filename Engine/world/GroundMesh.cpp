#include "Engine/world/GroundMesh.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace GAME {

namespace {

constexpr const char* kSurfaceNames[] = {"none", "grass", "dirt", "sand",
                                         "snow", "stone", "wood", "water"};
// At most this many cells a side: a huge ground gets bigger cells instead of a huge grid.
constexpr int kMaxGroundCellsPerSide = 256;

// Height of the triangle's plane at (x, z) when (x, z) lies inside its projection.
bool HeightInTriangle(const Vec3& a, const Vec3& b, const Vec3& c, float x, float z, float& y) {
    const float det = (b.z - c.z) * (a.x - c.x) + (c.x - b.x) * (a.z - c.z);
    if (Abs(det) < 1e-9f)
        return false;  // a wall seen from above
    const float l1 = ((b.z - c.z) * (x - c.x) + (c.x - b.x) * (z - c.z)) / det;
    const float l2 = ((c.z - a.z) * (x - c.x) + (a.x - c.x) * (z - c.z)) / det;
    const float l3 = 1.0f - l1 - l2;
    constexpr float eps = -1e-5f;
    if (l1 < eps || l2 < eps || l3 < eps)
        return false;
    y = l1 * a.y + l2 * b.y + l3 * c.y;
    return true;
}

// Möller-Trumbore over a corner and the two edges from it; both faces count.
float RayHit(const Vec3& o, const Vec3& d, const Vec3& a, const Vec3& e1, const Vec3& e2) {
    const Vec3 p = d.Cross(e2);
    const float det = e1.Dot(p);
    if (Abs(det) < 1e-12f)
        return kInfinity;
    const float inv = 1.0f / det;
    const Vec3 s = o - a;
    const float u = s.Dot(p) * inv;
    if (u < 0 || u > 1)
        return kInfinity;
    const Vec3 q = s.Cross(e1);
    const float v = d.Dot(q) * inv;
    if (v < 0 || u + v > 1)
        return kInfinity;
    const float t = e2.Dot(q) * inv;
    return t >= 0 ? t : kInfinity;
}

bool ParseIndex(const std::string& token, int vertexCount, int& index) {
    const std::string head = token.substr(0, token.find('/'));
    int value = 0;
    const auto [end, ec] = std::from_chars(head.data(), head.data() + head.size(), value);
    if (ec != std::errc() || end != head.data() + head.size() || value == 0)
        return false;
    index = value > 0 ? value - 1 : vertexCount + value;
    return index >= 0 && index < vertexCount;
}

}  // namespace

PhysicsSurface SurfaceFromName(const std::string& name) {
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    for (int i = 1; i < 8; ++i)
        if (lower == kSurfaceNames[i])
            return static_cast<PhysicsSurface>(i);
    return PhysicsSurface::None;
}

void GroundMesh::AddTriangle(const Vec3& a, const Vec3& b, const Vec3& c, PhysicsSurface surface) {
    for (const Vec3& v : {a, b, c}) {
        mIndices.push_back(static_cast<int>(mVertices.size()));
        mVertices.push_back(v);
        mMin = mMin.Min(v);
        mMax = mMax.Max(v);
    }
    mSurfaces.push_back(surface);
}

bool GroundMesh::LoadObj(const std::filesystem::path& path, std::string& error,
                         const GroundBounds* bounds) {
    // A folder would read as an empty ground, a pipe would block.
    std::error_code ec;
    std::ifstream in;
    if (std::filesystem::is_regular_file(path, ec))
        in.open(path);
    if (!in.is_open() || !in) {
        error = "cannot open " + path.string() + " as a file";
        return false;
    }
    const auto where = [&](int lineNo) { return path.string() + ":" + std::to_string(lineNo); };
    std::vector<Vec3> positions;
    std::vector<int> faceLines;  // the line of each triangle, for the cell bound's message
    PhysicsSurface surface = PhysicsSurface::None;
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        std::istringstream words(line);
        std::string kind;
        words >> kind;
        if (kind == "v") {
            Vec3 v;
            if (!(words >> v.x >> v.y >> v.z) || !IsFinite(v.x) || !IsFinite(v.y) ||
                !IsFinite(v.z)) {
                error = where(lineNo) + ": bad vertex";
                return false;
            }
            if (Max(Max(Abs(v.x), Abs(v.y)), Abs(v.z)) > kMaxCoordinate) {
                error = where(lineNo) + ": vertex farther than " +
                        std::to_string(static_cast<int>(kMaxCoordinate)) + " from the origin";
                return false;
            }
            positions.push_back(v);
        } else if (kind == "usemtl") {
            std::string name;
            words >> name;
            surface = SurfaceFromName(name);
        } else if (kind == "f") {
            std::vector<int> face;
            std::string token;
            while (words >> token) {
                int index = 0;
                if (!ParseIndex(token, static_cast<int>(positions.size()), index)) {
                    error =
                        path.string() + ":" + std::to_string(lineNo) + ": bad face index " + token;
                    return false;
                }
                face.push_back(index);
            }
            if (face.size() < 3) {
                error = where(lineNo) + ": face of fewer than 3";
                return false;
            }
            for (std::size_t i = 1; i + 1 < face.size(); ++i) {
                const Vec3& a = positions[face[0]];
                const Vec3& b = positions[face[i]];
                const Vec3& c = positions[face[i + 1]];
                const Vec3 lo = a.Min(b).Min(c), hi = a.Max(b).Max(c);
                if (bounds &&
                    (hi.x < bounds->min.x || hi.y < bounds->min.y || hi.z < bounds->min.z ||
                     lo.x > bounds->max.x || lo.y > bounds->max.y || lo.z > bounds->max.z))
                    continue;  // wholly outside the region
                AddTriangle(a, b, c, surface);
                faceLines.push_back(lineNo);
            }
        }
    }
    if (const std::size_t over = Finish(); over < faceLines.size()) {
        error = where(faceLines[over]) + ": the faces cover more than " +
                std::to_string(kMaxCellEntries) + " grid cells";
        return false;
    }
    return true;
}

std::size_t PlaceMemoSize(float area, std::size_t least) {
    // Two a square metre, rounded down to a power of two: the levels' grounds, up to 64 m
    // square, keep `least`. At most 2^18 (some megabytes).
    constexpr float kPerSquareMetre = 2.0f;
    constexpr std::size_t kMost = std::size_t{1} << 18;
    const float wanted = area * kPerSquareMetre;
    if (!(wanted > static_cast<float>(least)))
        return least;
    if (!(wanted < static_cast<float>(kMost)))
        return std::max(least, kMost);
    return std::bit_floor(static_cast<std::size_t>(wanted));
}

std::size_t GroundMesh::Finish() {
    // Sized once, with the ground: kept answers are asked for every frame, by a crowd over a
    // wider ground for as many more places.
    mFloorMemo.assign(
        PlaceMemoSize(Max(mMax.x - mMin.x, 0.0f) * Max(mMax.z - mMin.z, 0.0f), kFloorMemo),
        FloorMemo{});
    const auto fileNone = [this] {
        mCellsX = mCellsZ = 0;
        mCellStart.assign(1, 0);
        mCellTriangles.clear();
        mFloorBoxes.clear();
        mFloors.clear();
        mFloorPartStart.assign(1, 0);
        mFloorPartTriangles.clear();
        mRayTriangles.clear();
        mCellTop.clear();
    };
    if (mSurfaces.empty()) {
        fileNone();
        return 0;
    }
    const float extent = Max(mMax.x - mMin.x, mMax.z - mMin.z);
    mCellSize = Max(4.0f, extent / kMaxGroundCellsPerSide);
    mCellsX = static_cast<int>((mMax.x - mMin.x) / mCellSize) + 1;
    mCellsZ = static_cast<int>((mMax.z - mMin.z) / mCellSize) + 1;
    const std::size_t cells = static_cast<std::size_t>(mCellsX) * mCellsZ;
    // Counted before anything is filed.
    std::size_t entries = 0;
    for (std::uint32_t t = 0; t < mSurfaces.size(); ++t) {
        int x0 = 0, z0 = 0, x1 = 0, z1 = 0;
        TriangleCells(t, x0, z0, x1, z1);
        entries += static_cast<std::size_t>(x1 - x0 + 1) * static_cast<std::size_t>(z1 - z0 + 1);
        if (entries > kMaxCellEntries) {
            fileNone();
            return t;
        }
    }
    std::vector<std::vector<std::uint32_t>> lists(cells);
    for (std::uint32_t t = 0; t < mSurfaces.size(); ++t) {
        int x0 = 0, z0 = 0, x1 = 0, z1 = 0;
        TriangleCells(t, x0, z0, x1, z1);
        for (int z = z0; z <= z1; ++z)
            for (int x = x0; x <= x1; ++x)
                lists[static_cast<std::size_t>(z) * mCellsX + x].push_back(t);
    }
    mCellStart.assign(cells + 1, 0);
    mCellTriangles.clear();
    for (std::size_t i = 0; i < cells; ++i) {
        mCellStart[i] = static_cast<std::uint32_t>(mCellTriangles.size());
        mCellTriangles.insert(mCellTriangles.end(), lists[i].begin(), lists[i].end());
    }
    mCellStart[cells] = static_cast<std::uint32_t>(mCellTriangles.size());
    mCellTop.assign(cells, -kInfinity);
    for (std::size_t i = 0; i < cells; ++i)
        for (std::uint32_t k = mCellStart[i]; k < mCellStart[i + 1]; ++k)
            for (int corner = 0; corner < 3; ++corner) {
                const float y = mVertices[mIndices[mCellTriangles[k] * 3 + corner]].y;
                // A corner that is not a number leaves the cell always searched.
                mCellTop[i] = y == y ? Max(mCellTop[i], y) : kInfinity;
                if (mCellTop[i] == kInfinity)
                    break;
            }
    mFloorBoxes.resize(mSurfaces.size());
    mFloors.resize(mSurfaces.size());
    for (std::uint32_t t = 0; t < mSurfaces.size(); ++t)
        MakeFloorTriangle(mVertices[mIndices[t * 3]], mVertices[mIndices[t * 3 + 1]],
                          mVertices[mIndices[t * 3 + 2]], mFloorBoxes[t], mFloors[t]);
    // A part's bounds reach past it by the rounding of the point's part (FloorPartOf); the
    // outer parts of the outer cells reach to infinity, where the clamped points lie.
    const float far = Max(Max(Abs(mMin.x), Abs(mMax.x)), Max(Abs(mMin.z), Abs(mMax.z)));
    const float slack = 0.01f * mCellSize + 1e-5f * far;
    mFloorSplit = kFineFloorSplit;
    while (mFloorSplit > 1 &&
           cells * static_cast<std::size_t>(mFloorSplit * mFloorSplit) > kMaxFloorParts)
        mFloorSplit /= 2;
    const float part = mCellSize / static_cast<float>(mFloorSplit);
    const auto bound = [&](float origin, int cell, int index, int cellCount, bool high) {
        const int edge = high ? index + 1 : index;
        if ((edge == 0 && cell == 0) || (edge == mFloorSplit && cell == cellCount - 1))
            return high ? kInfinity : -kInfinity;
        const float at =
            origin + static_cast<float>(cell) * mCellSize + static_cast<float>(edge) * part;
        return high ? at + slack : at - slack;
    };
    // Whether triangle t may give ScanFloor a floor at some point of the x/z rectangle.
    const auto canHoldFloor = [this](std::uint32_t t, float loX, float hiX, float loZ, float hiZ) {
        const FloorTriangle& f = mFloors[t];
        // ScanFloor passes these by whatever the point.
        if (!f.faces_up || Abs(f.det) < 1e-9f)
            return false;
        const FloorBox& box = mFloorBoxes[t];
        if (!(box.minX > -kInfinity && box.maxX < kInfinity && box.minZ > -kInfinity &&
              box.maxZ < kInfinity))
            return true;
        // Only points of the part inside the box get to the weights. A weight is linear, so when
        // it is below -tolerance at each corner of that rectangle it is there everywhere; the
        // tolerance is the one the box's margin gives, far beyond the float weights' rounding.
        const Vec3& a = mVertices[mIndices[t * 3]];
        const Vec3& b = mVertices[mIndices[t * 3 + 1]];
        const Vec3& c = mVertices[mIndices[t * 3 + 2]];
        const Vec3 lo = a.Min(b).Min(c), hi = a.Max(b).Max(c);
        const double width = Max(hi.x - lo.x, hi.z - lo.z);
        const double reach = Max(Max(Abs(lo.x), Abs(hi.x)), Max(Abs(lo.z), Abs(hi.z)));
        const double tolerance = 0.025 + 0.005 * reach / width;
        const double xs[2] = {Max(loX, box.minX), Min(hiX, box.maxX)};
        const double zs[2] = {Max(loZ, box.minZ), Min(hiZ, box.maxZ)};
        bool below[3] = {true, true, true};
        for (const double x : xs)
            for (const double z : zs) {
                const double dx = x - f.cx, dz = z - f.cz;
                const double l1 = (f.bz_cz * dx + f.cx_bx * dz) / f.det;
                const double l2 = (f.cz_az * dx + f.ax_cx * dz) / f.det;
                const double weights[3] = {l1, l2, 1.0 - l1 - l2};
                for (int k = 0; k < 3; ++k)
                    below[k] = below[k] && weights[k] < -tolerance;
            }
        return !(below[0] || below[1] || below[2]);
    };
    mFloorPartStart.clear();
    mFloorPartTriangles.clear();
    for (int cz = 0; cz < mCellsZ; ++cz)
        for (int cx = 0; cx < mCellsX; ++cx) {
            const std::size_t cell = static_cast<std::size_t>(cz) * mCellsX + cx;
            for (int sz = 0; sz < mFloorSplit; ++sz)
                for (int sx = 0; sx < mFloorSplit; ++sx) {
                    const float loX = bound(mMin.x, cx, sx, mCellsX, false);
                    const float hiX = bound(mMin.x, cx, sx, mCellsX, true);
                    const float loZ = bound(mMin.z, cz, sz, mCellsZ, false);
                    const float hiZ = bound(mMin.z, cz, sz, mCellsZ, true);
                    mFloorPartStart.push_back(
                        static_cast<std::uint32_t>(mFloorPartTriangles.size()));
                    for (std::uint32_t i = mCellStart[cell]; i < mCellStart[cell + 1]; ++i) {
                        const std::uint32_t t = mCellTriangles[i];
                        const FloorBox& box = mFloorBoxes[t];
                        // Kept unless the box surely misses the part (a NaN box stays).
                        if (box.maxX < loX || box.minX > hiX || box.maxZ < loZ || box.minZ > hiZ)
                            continue;
                        if (!canHoldFloor(t, loX, hiX, loZ, hiZ))
                            continue;
                        mFloorPartTriangles.push_back(t);
                    }
                }
        }
    mFloorPartStart.push_back(static_cast<std::uint32_t>(mFloorPartTriangles.size()));
    mRayTriangles.resize(mSurfaces.size());
    for (std::uint32_t t = 0; t < mSurfaces.size(); ++t) {
        const Vec3& a = mVertices[mIndices[t * 3]];
        mRayTriangles[t] =
            RayTriangle{a, mVertices[mIndices[t * 3 + 1]] - a, mVertices[mIndices[t * 3 + 2]] - a,
                        static_cast<int>(mSurfaces[t])};
    }
    return mSurfaces.size();
}

void GroundMesh::TriangleCells(std::uint32_t t, int& x0, int& z0, int& x1, int& z1) const {
    const Vec3& a = mVertices[mIndices[t * 3]];
    const Vec3& b = mVertices[mIndices[t * 3 + 1]];
    const Vec3& c = mVertices[mIndices[t * 3 + 2]];
    const Vec3 lo = a.Min(b).Min(c), hi = a.Max(b).Max(c);
    CellOf(lo.x, lo.z, x0, z0);
    CellOf(hi.x, hi.z, x1, z1);
}

void GroundMesh::MakeFloorTriangle(const Vec3& a, const Vec3& b, const Vec3& c, FloorBox& box,
                                   FloorTriangle& f) {
    // The same operations as HeightInTriangle, so the answers are bit for bit its own.
    f = FloorTriangle{};
    f.bz_cz = b.z - c.z;
    f.cx_bx = c.x - b.x;
    f.cz_az = c.z - a.z;
    f.ax_cx = a.x - c.x;
    f.det = f.bz_cz * f.ax_cx + f.cx_bx * (a.z - c.z);
    f.cx = c.x;
    f.cz = c.z;
    f.ay = a.y;
    f.by = b.y;
    f.cy = c.y;
    f.faces_up = !((b - a).Cross(c - a).y <= 0);
    box.minX = box.minZ = -kInfinity;
    box.maxX = box.maxZ = kInfinity;
    // A point outside the box widened by `margin` has a weight below -0.025 - 0.005 C/W, far
    // beyond the weights' tolerance and rounding while the triangle is not a sliver (|det| at
    // least 1% of its squared width W; C bounds the coordinates).
    const Vec3 lo = a.Min(b).Min(c), hi = a.Max(b).Max(c);
    const float width = Max(hi.x - lo.x, hi.z - lo.z);
    const float reach = Max(Max(Abs(lo.x), Abs(hi.x)), Max(Abs(lo.z), Abs(hi.z)));
    if (std::isfinite(width) && std::isfinite(reach) && std::isfinite(f.det) &&
        Abs(f.det) >= 0.01f * width * width) {
        const float margin = 0.05f * width + 0.01f * (1.0f + reach);
        box.minX = lo.x - margin;
        box.maxX = hi.x + margin;
        box.minZ = lo.z - margin;
        box.maxZ = hi.z + margin;
    }
}

bool GroundMesh::CellOf(float x, float z, int& cx, int& cz) const {
    if (mCellsX == 0)
        return false;
    const float lastX = static_cast<float>(mCellsX - 1), lastZ = static_cast<float>(mCellsZ - 1);
    cx = static_cast<int>(Clamp((x - mMin.x) / mCellSize, 0.0f, lastX));
    cz = static_cast<int>(Clamp((z - mMin.z) / mCellSize, 0.0f, lastZ));
    return mMin.x <= x && x <= mMax.x && mMin.z <= z && z <= mMax.z;
}

bool GroundMesh::FloorPartOf(float x, float z, std::size_t& part) const {
    // CellOf, whose quotients also tell where in the cell the point lies.
    if (mCellsX == 0 || !(mMin.x <= x && x <= mMax.x && mMin.z <= z && z <= mMax.z))
        return false;
    const float qx = (x - mMin.x) / mCellSize, qz = (z - mMin.z) / mCellSize;
    const int cx = static_cast<int>(Clamp(qx, 0.0f, static_cast<float>(mCellsX - 1)));
    const int cz = static_cast<int>(Clamp(qz, 0.0f, static_cast<float>(mCellsZ - 1)));
    const float inX = qx - static_cast<float>(cx);
    const float inZ = qz - static_cast<float>(cz);
    const float split = static_cast<float>(mFloorSplit);
    const int sx = static_cast<int>(Clamp(inX * split, 0.0f, split - 1.0f));
    const int sz = static_cast<int>(Clamp(inZ * split, 0.0f, split - 1.0f));
    part = ((static_cast<std::size_t>(cz) * mCellsX + cx) * mFloorSplit + sz) * mFloorSplit + sx;
    return true;
}

template <class Visit>
void GroundMesh::ForEachTriangleUnder(float x, float z, Visit&& visit) const {
    int cx = 0, cz = 0;
    if (!CellOf(x, z, cx, cz))
        return;
    const std::size_t cell = static_cast<std::size_t>(cz) * mCellsX + cx;
    for (std::uint32_t i = mCellStart[cell]; i < mCellStart[cell + 1]; ++i)
        visit(mCellTriangles[i]);
}

std::size_t GroundMesh::FloorMemoSlot(std::uint32_t x, std::uint32_t z, std::size_t size) {
    constexpr std::uint32_t low = (1u << kFloorMemoXBits) - 1;
    const std::uint64_t key = (std::uint64_t{x & ~low} << 32 | z) * 0x9E3779B97F4A7C15ull;
    return (static_cast<std::size_t>(key >> 40) ^ (x & low)) & (size - 1);
}

bool GroundMesh::FloorBelow(const Vec3& p, float& height, PhysicsSurface* surface,
                            float reach) const {
    static_assert(sizeof(FloorMemo) == 16 && kFloorMemo >= (1u << kFloorMemoXBits));
    constexpr std::uint32_t low = (1u << kFloorMemoXBits) - 1;
    const float top = p.y + reach;
    const std::uint32_t x = std::bit_cast<std::uint32_t>(p.x),
                        z = std::bit_cast<std::uint32_t>(p.z);
    FloorMemo* memo = nullptr;
    if (!mFloorMemo.empty()) {
        // Within a slot x's lowest bits are the same for every key (they pick it), so the rest
        // of x and z tell the key.
        memo = &mFloorMemo[FloorMemoSlot(x, z, mFloorMemo.size())];
        // The floor under (x, z) found below one top is the answer below any lower top it does
        // not pass: a goal's floor, asked for again from the height of the mesh over it. An
        // empty entry's NaN top passes no top.
        if ((memo->xAndSurface & ~low) == (x & ~low) && memo->z == z && top <= memo->top &&
            !(memo->height > top)) {
            const bool kept = !std::isnan(memo->height);
            const auto keptSurface = static_cast<PhysicsSurface>(memo->xAndSurface & low);
#ifndef NDEBUG
            float again = 0;
            PhysicsSurface againSurface = PhysicsSurface::None;
            const bool found = ScanFloor(p, top, again, againSurface);
            if (found != kept || (found && (std::bit_cast<std::uint32_t>(again) !=
                                                std::bit_cast<std::uint32_t>(memo->height) ||
                                            againSurface != keptSurface))) {
                std::fprintf(stderr, "GroundMesh: a kept floor differs at (%g, %g)\n",
                             static_cast<double>(p.x), static_cast<double>(p.z));
                std::abort();
            }
#endif
            if (kept) {
                height = memo->height;
                if (surface)
                    *surface = keptSurface;
            }
            return kept;
        }
    }
    float best = 0;
    PhysicsSurface bestSurface = PhysicsSurface::None;
    const bool found = ScanFloor(p, top, best, bestSurface);
    // A surface past the bits kept for it is not kept (no file names one).
    const auto surfaceBits = static_cast<std::uint32_t>(bestSurface);
    if (memo && surfaceBits <= low)
        *memo = FloorMemo{(x & ~low) | (found ? surfaceBits : 0), z, top,
                          found ? best : std::numeric_limits<float>::quiet_NaN()};
    if (found) {
        height = best;
        if (surface)
            *surface = bestSurface;
    }
    return found;
}

bool GroundMesh::ScanFloor(const Vec3& p, float top, float& best,
                           PhysicsSurface& bestSurface) const {
    best = -kInfinity;
    std::size_t part = 0;
    if (!FloorPartOf(p.x, p.z, part))
        return false;
    bool found = false;
    const std::uint32_t* t = mFloorPartTriangles.data() + mFloorPartStart[part];
    const std::uint32_t* const end = mFloorPartTriangles.data() + mFloorPartStart[part + 1];
    for (; t != end; ++t) {
        const FloorBox& box = mFloorBoxes[*t];
        if (p.x < box.minX || p.x > box.maxX || p.z < box.minZ || p.z > box.maxZ)
            continue;
        // HeightInTriangle over the kept terms; the parts hold no face turned down and no wall.
        const FloorTriangle* const f = &mFloors[*t];
        const float dx = p.x - f->cx, dz = p.z - f->cz;
        const float l1 = (f->bz_cz * dx + f->cx_bx * dz) / f->det;
        const float l2 = (f->cz_az * dx + f->ax_cx * dz) / f->det;
        const float l3 = 1.0f - l1 - l2;
        constexpr float eps = -1e-5f;
        if (l1 < eps || l2 < eps || l3 < eps)
            continue;
        const float y = l1 * f->ay + l2 * f->by + l3 * f->cy;
        if (y <= top && y > best) {
            best = y;
            bestSurface = mSurfaces[*t];
            found = true;
        }
    }
#ifndef NDEBUG
    {
        bool slowFound = false;
        float slowBest = -kInfinity;
        PhysicsSurface slowSurface = PhysicsSurface::None;
        ForEachTriangleUnder(p.x, p.z, [&](std::uint32_t t) {
            const Vec3& a = mVertices[mIndices[t * 3]];
            const Vec3& b = mVertices[mIndices[t * 3 + 1]];
            const Vec3& c = mVertices[mIndices[t * 3 + 2]];
            float y = 0;
            if ((b - a).Cross(c - a).y <= 0 || !HeightInTriangle(a, b, c, p.x, p.z, y))
                return;
            if (y <= top && y > slowBest) {
                slowBest = y;
                slowSurface = mSurfaces[t];
                slowFound = true;
            }
        });
        if (slowFound != found || (found && (std::memcmp(&slowBest, &best, sizeof best) != 0 ||
                                             slowSurface != bestSurface))) {
            std::fprintf(stderr, "GroundMesh: the kept floor terms disagree at (%g, %g)\n",
                         static_cast<double>(p.x), static_cast<double>(p.z));
            std::abort();
        }
    }
#endif
    return found;
}

bool GroundMesh::NearestFloor(const Vec3& p, float& height) const {
    bool found = false;
    float bestGap = kInfinity;
    ForEachTriangleUnder(p.x, p.z, [&](std::uint32_t t) {
        float y = 0;
        if (!HeightInTriangle(mVertices[mIndices[t * 3]], mVertices[mIndices[t * 3 + 1]],
                              mVertices[mIndices[t * 3 + 2]], p.x, p.z, y))
            return;
        if (Abs(y - p.y) < bestGap) {
            bestGap = Abs(y - p.y);
            height = y;
            found = true;
        }
    });
    return found;
}

bool GroundMesh::Raycast(const Vec3& origin, const Vec3& direction, float maxDistance,
                         int surfaceFilter, WorldIntersection& hit) const {
    if (mCellsX == 0)
        return false;
    // Clip the ray to the mesh's box (slabs), then visit the cells under the clipped segment.
    float t0 = 0, t1 = maxDistance;
    const float o[3] = {origin.x, origin.y, origin.z};
    const float d[3] = {direction.x, direction.y, direction.z};
    const float lo[3] = {mMin.x, mMin.y, mMin.z};
    const float hi[3] = {mMax.x, mMax.y, mMax.z};
    for (int axis = 0; axis < 3; ++axis) {
        if (Abs(d[axis]) < 1e-12f) {
            if (o[axis] < lo[axis] || o[axis] > hi[axis])
                return false;
            continue;
        }
        float a = (lo[axis] - o[axis]) / d[axis], b = (hi[axis] - o[axis]) / d[axis];
        if (a > b)
            std::swap(a, b);
        t0 = Max(t0, a);
        t1 = Min(t1, b);
        if (t0 > t1)
            return false;
    }
    const Vec3 p0 = origin + direction * t0, p1 = origin + direction * t1;
    int x0 = 0, z0 = 0, x1 = 0, z1 = 0;
    CellOf(Min(p0.x, p1.x), Min(p0.z, p1.z), x0, z0);
    CellOf(Max(p0.x, p1.x), Max(p0.z, p1.z), x1, z1);
    // The nearest hit; of equal ones, the first a walk over every cell of the segment's box (row
    // by row, each cell's triangles in order) would meet, so the answer never depends on which
    // cells are searched.
    struct Best {
        float distance;
        bool found = false;
        std::uint32_t triangle = 0;
    };
    const auto firstVisit = [&](std::uint32_t t) {
        const Vec3& a = mVertices[mIndices[t * 3]];
        const Vec3& b = mVertices[mIndices[t * 3 + 1]];
        const Vec3& c = mVertices[mIndices[t * 3 + 2]];
        const Vec3 lo = a.Min(b).Min(c);
        int tx = 0, tz = 0;
        CellOf(lo.x, lo.z, tx, tz);
        return std::array<std::uint32_t, 3>{static_cast<std::uint32_t>(Max(tz, z0)),
                                            static_cast<std::uint32_t>(Max(tx, x0)), t};
    };
    // Straight up or down, the ray's weights are a floor query's (over the corner's x and z
    // offsets and the same determinant but for the ray's length), so it meets no triangle whose
    // floor box leaves out its x and z: a step's sound asks what lies under a foot.
    const bool vertical = direction.x == 0.0f && direction.z == 0.0f && Abs(direction.y) >= 1e-3f &&
                          Abs(direction.y) <= 1e3f;
    const auto visitCell = [&](Best& best, int x, int z, bool prune) {
        const std::size_t cell = static_cast<std::size_t>(z) * mCellsX + x;
        for (std::uint32_t i = mCellStart[cell]; i < mCellStart[cell + 1]; ++i) {
            const std::uint32_t t = mCellTriangles[i];
            if (prune) {
                const FloorBox& box = mFloorBoxes[t];
                if (origin.x < box.minX || origin.x > box.maxX || origin.z < box.minZ ||
                    origin.z > box.maxZ)
                    continue;
            }
            const RayTriangle& terms = mRayTriangles[t];
            if (terms.surface > surfaceFilter)
                continue;
            const float dist = RayHit(origin, direction, terms.a, terms.e1, terms.e2);
            if (!(dist <= maxDistance))
                continue;
            if (dist < best.distance ||
                (best.found && dist == best.distance && t != best.triangle &&
                 firstVisit(t) < firstVisit(best.triangle)))
                best = Best{dist, true, t};
        }
    };
    // Per row, only the columns the segment crosses, widened well past any rounding; the
    // border rows and columns also hold whatever lies beyond the mesh's box.
    Best best{hit.distance};
    const float dx = p1.x - p0.x, dz = p1.z - p0.z;
    const float far = Max(Max(Abs(mMin.x), Abs(mMax.x)), Max(Abs(mMin.z), Abs(mMax.z)));
    const float slack = 0.01f * mCellSize + 1e-5f * far;
    const float lastX = static_cast<float>(mCellsX - 1);
    // A hit lies on its triangle but for rounding, far under this.
    const float slackY = 0.01f + 1e-4f * Max(far, Max(Abs(mMin.y), Abs(mMax.y)));
    // Rows and columns go the way the ray does, and those the ray enters past the nearest hit so
    // far are passed over: a hit as near lies in a cell it enters sooner. Ties are settled by the
    // walk order above, not by the order of the visits.
    const float reachSlack = 1e-3f * Max(1.0f, Abs(t1));
    const auto beyond = [&](float s) { return t0 + (t1 - t0) * s > best.distance + reachSlack; };
    for (int row = 0; row <= z1 - z0; ++row) {
        const int z = dz < 0 ? z1 - row : z0 + row;
        int xa = x0, xb = x1;
        // The part of the segment over the row (widened as the columns are).
        float sa = 0.0f, sb = 1.0f;
        if (z0 != z1) {
            const float rowLo =
                z == 0 ? -kInfinity : mMin.z + static_cast<float>(z) * mCellSize - slack;
            const float rowHi = z == mCellsZ - 1
                                    ? kInfinity
                                    : mMin.z + static_cast<float>(z + 1) * mCellSize + slack;
            sa = (rowLo - p0.z) / dz;
            sb = (rowHi - p0.z) / dz;
            if (sa > sb)
                std::swap(sa, sb);
            sa = Max(sa, 0.0f);
            sb = Min(sb, 1.0f);
            if (!(sa <= sb) || beyond(sa))
                continue;
            const float xs = p0.x + dx * sa, xe = p0.x + dx * sb;
            xa = Max(x0, static_cast<int>(
                             Clamp((Min(xs, xe) - slack - mMin.x) / mCellSize, 0.0f, lastX)));
            xb = Min(x1, static_cast<int>(
                             Clamp((Max(xs, xe) + slack - mMin.x) / mCellSize, 0.0f, lastX)));
        }
        // The lowest the ray comes over the row's part: a column whose triangles all lie lower
        // is passed over without its own part worked out (that part's lowest is no lower).
        const float rowLow = Min(p0.y + (p1.y - p0.y) * sa, p0.y + (p1.y - p0.y) * sb) - slackY;
        const float* const rowTop = mCellTop.data() + static_cast<std::size_t>(z) * mCellsX;
        for (int column = 0; column <= xb - xa; ++column) {
            const int x = dx < 0 ? xb - column : xa + column;
            if (rowLow > rowTop[x])
                continue;
            // The part of the row's part over the column, widened the same way.
            float ca = sa, cb = sb;
            if (dx != 0.0f) {
                const float colLo =
                    x == 0 ? -kInfinity : mMin.x + static_cast<float>(x) * mCellSize - slack;
                const float colHi = x == mCellsX - 1
                                        ? kInfinity
                                        : mMin.x + static_cast<float>(x + 1) * mCellSize + slack;
                float ua = (colLo - p0.x) / dx, ub = (colHi - p0.x) / dx;
                if (ua > ub)
                    std::swap(ua, ub);
                ca = Max(ca, ua);
                cb = Min(cb, ub);
                if (ca <= cb && beyond(ca))
                    continue;
            }
            const float ya = p0.y + (p1.y - p0.y) * ca, yb = p0.y + (p1.y - p0.y) * cb;
            if (ca <= cb &&
                Min(ya, yb) - slackY > mCellTop[static_cast<std::size_t>(z) * mCellsX + x])
                continue;
            visitCell(best, x, z, vertical);
        }
    }
#ifndef NDEBUG
    {
        Best every{hit.distance};
        for (int z = z0; z <= z1; ++z)
            for (int x = x0; x <= x1; ++x)
                visitCell(every, x, z, false);
        if (every.found != best.found ||
            (every.found && (every.triangle != best.triangle ||
                             std::memcmp(&every.distance, &best.distance, sizeof best.distance)))) {
            std::fprintf(stderr, "GroundMesh: the ray's cells missed a hit\n");
            std::abort();
        }
    }
#endif
    const bool found = best.found;
    if (found) {
        hit.distance = best.distance;
        hit.point = origin + direction * best.distance;
        hit.surface = mSurfaces[best.triangle];
        hit.entityId = 0;
    }
    return found;
}

}  // namespace GAME
