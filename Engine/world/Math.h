#pragma once
// Plain value types of positions and orientations and the float helpers around them. Coords
// follow the row-vector convention: a point p transforms as p * R + origin, with the rows of R
// the x, y and z axes; a * b applies b first, then a.
#include <cmath>
#include <cstdint>
#include <limits>

namespace GAME {

// The distance of a miss and the start of nearest-distance searches (-ln 0).
inline constexpr float kInfinity = std::numeric_limits<float>::infinity();

inline float Abs(float x) {
    return std::fabs(x);
}
inline float Sin(float x) {
    return std::sin(x);
}
inline float Cos(float x) {
    return std::cos(x);
}
inline float Tan(float x) {
    return std::tan(x);
}
inline float Sqrt(float x) {
    return std::sqrt(x);
}
inline bool IsFinite(float x) {
    return std::isfinite(x);
}
// A float as an int, truncated; past the integer range held at its end rather than wrapped
// (a cast would be undefined), NaN as 0. Record numbers pass through here.
constexpr int SaturatedInt(float value) {
    if (!(value > -2147483520.0f))
        return value != value ? 0 : std::numeric_limits<std::int32_t>::min();
    return value < 2147483520.0f ? static_cast<int>(value)
                                 : std::numeric_limits<std::int32_t>::max();
}
// Record seconds as whole milliseconds of a time: truncated, never negative, held at the top.
constexpr int SecondsToMilliseconds(float seconds) {
    const int ms = SaturatedInt(seconds * 1000.0f);
    return ms < 0 ? 0 : ms;
}
constexpr float DegreesToRadians(float degrees) {
    return degrees * 0.017453292f;
}
constexpr float RadiansToDegrees(float radians) {
    return radians * 57.295776f;
}

// Equal values give the second argument.
template <class T>
constexpr T Min(T a, T b) {
    return a < b ? a : b;
}
template <class T>
constexpr T Max(T a, T b) {
    return a > b ? a : b;
}
template <class T>
constexpr T Clamp(T value, T low, T high) {
    return Min(Max(value, low), high);
}
constexpr int MinInt(int a, int b) {
    return a < b ? a : b;
}
constexpr int MaxInt(int a, int b) {
    return a > b ? a : b;
}
constexpr int ClampInt(int value, int low, int high) {
    return MinInt(MaxInt(value, low), high);
}
// The last valid index for a per-level list: min(count - 1, index), unsigned.
constexpr unsigned int ClampToLast(unsigned int index, unsigned int count) {
    return Min(count - 1u, index);
}

struct Vec2 {
    float x = 0, y = 0;
    constexpr Vec2() = default;
    constexpr Vec2(float x_, float y_) : x(x_), y(y_) {}
    constexpr Vec2 operator+(const Vec2& o) const { return {x + o.x, y + o.y}; }
    constexpr Vec2 operator-(const Vec2& o) const { return {x - o.x, y - o.y}; }
    constexpr Vec2 operator*(float s) const { return {x * s, y * s}; }
    constexpr bool operator==(const Vec2&) const = default;
    float Length() const { return std::sqrt(x * x + y * y); }
};

struct Vec3 {
    float x = 0, y = 0, z = 0;
    constexpr Vec3() = default;
    constexpr Vec3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}
    constexpr Vec3 operator+(const Vec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    constexpr Vec3 operator-(const Vec3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    constexpr Vec3 operator-() const { return {-x, -y, -z}; }
    constexpr Vec3 operator*(float s) const { return {x * s, y * s, z * s}; }
    // Division is a multiplication by the reciprocal.
    constexpr Vec3 operator/(float s) const { return *this * (1.0f / s); }
    Vec3& operator+=(const Vec3& o) { return *this = *this + o; }
    Vec3& operator-=(const Vec3& o) { return *this = *this - o; }
    Vec3& operator*=(float s) { return *this = *this * s; }
    constexpr bool operator==(const Vec3&) const = default;
    constexpr float Dot(const Vec3& o) const { return x * o.x + y * o.y + z * o.z; }
    constexpr Vec3 Cross(const Vec3& o) const {
        return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x};
    }
    constexpr float LengthSquared() const { return Dot(*this); }
    float Length() const {
        const float squared = LengthSquared();
        return squared == 0.0f ? 0.0f : std::sqrt(squared);
    }
    // The unit vector; a zero vector stays zero rather than turning into NaNs that would
    // spread through positions.
    Vec3 Unit() const {
        const float len = Length();
        return len > 0 ? *this * (1.0f / len) : Vec3();
    }
    Vec3 Abs() const { return {std::fabs(x), std::fabs(y), std::fabs(z)}; }
    constexpr Vec3 Min(const Vec3& o) const {
        return {GAME::Min(x, o.x), GAME::Min(y, o.y), GAME::Min(z, o.z)};
    }
    constexpr Vec3 Max(const Vec3& o) const {
        return {GAME::Max(x, o.x), GAME::Max(y, o.y), GAME::Max(z, o.z)};
    }
    // A unit vector perpendicular to this one.
    Vec3 AnyPerpendicular() const {
        const Vec3 other = std::fabs(y) <= 0.9999f ? Vec3(0, 1, 0) : Vec3(1, 0, 0);
        return Cross(other).Unit();
    }
};

constexpr Vec3 CrossProduct(const Vec3& a, const Vec3& b) {
    return a.Cross(b);
}

template <class T>
constexpr T Lerp(const T& a, const T& b, float t) {
    return a * (1.0f - t) + b * t;
}

struct Quaternion {
    float x = 0, y = 0, z = 0, w = 1;
    constexpr bool operator==(const Quaternion&) const = default;
};

constexpr float QuaternionDot(const Quaternion& a, const Quaternion& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
}

struct IntVec3 {
    std::int32_t x = 0, y = 0, z = 0;
    void Set(std::int32_t x_, std::int32_t y_, std::int32_t z_) {
        x = x_;
        y = y_;
        z = z_;
    }
    // this - o, componentwise, wrapping on overflow instead of being undefined.
    constexpr IntVec3 Subtract(const IntVec3& o) const {
        auto minus = [](std::int32_t a, std::int32_t b) {
            return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) -
                                             static_cast<std::uint32_t>(b));
        };
        return {minus(x, o.x), minus(y, o.y), minus(z, o.z)};
    }
    constexpr bool operator==(const IntVec3&) const = default;
};

struct Rect {
    float left = 0, top = 0, width = 0, height = 0;
    // Edges included.
    constexpr bool Contains(float x, float y) const {
        return left <= x && x <= left + width && top <= y && y <= top + height;
    }
    // Right and bottom edges excluded, as a grid cell holds a point.
    constexpr bool HoldsPoint(const Vec2& p) const {
        return left <= p.x && p.x < left + width && top <= p.y && p.y < top + height;
    }
    // Rectangles that only touch do not overlap.
    constexpr bool Overlaps(const Rect& o) const {
        return left + width > o.left && o.left + o.width > left && top + height > o.top &&
               o.top + o.height > top;
    }
};

struct Color {
    float r = 0, g = 0, b = 0, a = 1;
    // 0xAARRGGBB; each channel scaled to 0..255 and rounded to the nearest.
    std::uint32_t ToARGB() const;
};

struct Coords {
    Vec3 xAxis{1, 0, 0};
    Vec3 yAxis{0, 1, 0};
    Vec3 zAxis{0, 0, 1};
    Vec3 origin{};

    static constexpr Coords Identity() { return Coords(); }
    static constexpr Coords FromOrigin(const Vec3& origin) {
        Coords c;
        c.origin = origin;
        return c;
    }
    // From a unit quaternion (x, y, z, w) and an origin.
    static Coords FromQuaternion(const Quaternion& q, const Vec3& origin = Vec3());
    // By the trace method.
    Quaternion ToQuaternion() const;
    // A rotation by `angle` radians about a unit axis; zero origin.
    static Coords FromAxisAngle(const Vec3& axis, float angle);
    // Looking from `position` along f = target - position (or the direction given): rows
    // unit(up x f), unit(f x unit(up x f)), unit(f).
    static Coords LookAt(const Vec3& position, const Vec3& target, const Vec3& up);
    static Coords FromDirection(const Vec3& position, const Vec3& direction, const Vec3& up);

    // A point in these coordinates expressed in the parent space: p * R + origin.
    constexpr Vec3 TransformPoint(const Vec3& p) const {
        return xAxis * p.x + yAxis * p.y + zAxis * p.z + origin;
    }
    constexpr Vec3 TransformVector(const Vec3& v) const {
        return xAxis * v.x + yAxis * v.y + zAxis * v.z;
    }
    // this * b: b first, then this. Rotation R_b * R_this, origin t_b * R_this + t_this.
    constexpr Coords operator*(const Coords& b) const {
        Coords r;
        r.xAxis = TransformVector(b.xAxis);
        r.yAxis = TransformVector(b.yAxis);
        r.zAxis = TransformVector(b.zAxis);
        r.origin = TransformPoint(b.origin);
        return r;
    }
    constexpr bool operator==(const Coords&) const = default;
};

// A box with its own frame (centre at the frame's origin) and half-extents along its axes.
struct OrientedBox {
    Coords frame;
    Vec3 halfExtents;

    static constexpr OrientedBox FromAxisAligned(const Vec3& centre, const Vec3& halfExtents) {
        return {Coords::FromOrigin(centre), halfExtents};
    }
    // Half-extents of the axis-aligned box around this one (same centre).
    Vec3 GetAxisAlignedBox() const;
};

}  // namespace GAME
