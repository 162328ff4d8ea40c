#pragma once
// Plain value types of positions and orientations. Coords follow the row-vector convention:
// a point p transforms as p * R + origin, with the rows of R the x, y and z axes.
#include <cmath>

namespace GAME {

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
    constexpr Vec3 operator/(float s) const { return {x / s, y / s, z / s}; }
    Vec3& operator+=(const Vec3& o) { return *this = *this + o; }
    Vec3& operator-=(const Vec3& o) { return *this = *this - o; }
    Vec3& operator*=(float s) { return *this = *this * s; }
    constexpr bool operator==(const Vec3&) const = default;
    constexpr float Dot(const Vec3& o) const { return x * o.x + y * o.y + z * o.z; }
    constexpr Vec3 Cross(const Vec3& o) const {
        return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x};
    }
    constexpr float LengthSquared() const { return Dot(*this); }
    float Length() const { return std::sqrt(LengthSquared()); }
    // The unit vector, or zero for a zero vector.
    Vec3 Unit() const {
        const float len = Length();
        return len > 0 ? *this / len : Vec3();
    }
};

struct Coords {
    Vec3 xAxis{1, 0, 0};
    Vec3 yAxis{0, 1, 0};
    Vec3 zAxis{0, 0, 1};
    Vec3 origin{};

    static constexpr Coords Identity() { return Coords(); }
    // A point in these coordinates expressed in the parent space.
    constexpr Vec3 TransformPoint(const Vec3& p) const {
        return xAxis * p.x + yAxis * p.y + zAxis * p.z + origin;
    }
    constexpr Vec3 TransformVector(const Vec3& v) const { return xAxis * v.x + yAxis * v.y + zAxis * v.z; }
    // Row-vector product: first this, then other.
    constexpr Coords operator*(const Coords& other) const {
        Coords r;
        r.xAxis = other.TransformVector(xAxis);
        r.yAxis = other.TransformVector(yAxis);
        r.zAxis = other.TransformVector(zAxis);
        r.origin = other.TransformPoint(origin);
        return r;
    }
    constexpr bool operator==(const Coords&) const = default;
};

}  // namespace GAME
