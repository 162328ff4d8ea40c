#include "Engine/world/Math.h"

#include <algorithm>

namespace GAME {

std::uint32_t Color::ToARGB() const {
    auto channel = [](float value) -> std::uint32_t {
        // Out-of-range or NaN channels are held to the byte instead of spilling into the next.
        const float scaled = value * 255.0f;
        if (!(scaled > 0.0f))
            return 0;
        if (scaled >= 255.0f)
            return 255;
        return static_cast<std::uint32_t>(std::lround(scaled));
    };
    return (channel(a) << 24) | (channel(r) << 16) | (channel(g) << 8) | channel(b);
}

Coords Coords::FromQuaternion(const Quaternion& q, const Vec3& origin) {
    const float xx = q.x * q.x, yy = q.y * q.y, zz = q.z * q.z;
    const float xy = q.x * q.y, xz = q.x * q.z, yz = q.y * q.z;
    const float wx = q.w * q.x, wy = q.w * q.y, wz = q.w * q.z;
    Coords c;
    c.xAxis = {1 - 2 * (yy + zz), 2 * (xy + wz), 2 * (xz - wy)};
    c.yAxis = {2 * (xy - wz), 1 - 2 * (xx + zz), 2 * (yz + wx)};
    c.zAxis = {2 * (xz + wy), 2 * (yz - wx), 1 - 2 * (xx + yy)};
    c.origin = origin;
    return c;
}

Quaternion Coords::ToQuaternion() const {
    const float m00 = xAxis.x, m01 = xAxis.y, m02 = xAxis.z;
    const float m10 = yAxis.x, m11 = yAxis.y, m12 = yAxis.z;
    const float m20 = zAxis.x, m21 = zAxis.y, m22 = zAxis.z;
    Quaternion q;
    const float trace = m00 + m11 + m22;
    if (trace > 0.0001f) {
        const float s = std::sqrt(trace + 1.0f) * 2.0f;
        q.w = 0.25f * s;
        q.x = (m12 - m21) / s;
        q.y = (m20 - m02) / s;
        q.z = (m01 - m10) / s;
    } else if (m00 > m11 && m00 > m22) {
        const float s = std::sqrt(1.0f + m00 - m11 - m22) * 2.0f;
        q.x = 0.25f * s;
        q.y = (m01 + m10) / s;
        q.z = (m02 + m20) / s;
        q.w = (m12 - m21) / s;
    } else if (m11 > m22) {
        const float s = std::sqrt(1.0f + m11 - m00 - m22) * 2.0f;
        q.y = 0.25f * s;
        q.x = (m01 + m10) / s;
        q.z = (m12 + m21) / s;
        q.w = (m20 - m02) / s;
    } else {
        const float s = std::sqrt(1.0f + m22 - m00 - m11) * 2.0f;
        q.z = 0.25f * s;
        q.x = (m02 + m20) / s;
        q.y = (m12 + m21) / s;
        q.w = (m01 - m10) / s;
    }
    return q;
}

Coords Coords::FromAxisAngle(const Vec3& axis, float angle) {
    const float c = std::cos(angle), s = std::sin(angle), t = 1.0f - c;
    const float x = axis.x, y = axis.y, z = axis.z;
    Coords r;
    r.xAxis = {c + t * x * x, t * x * y + s * z, t * x * z - s * y};
    r.yAxis = {t * x * y - s * z, c + t * y * y, t * y * z + s * x};
    r.zAxis = {t * x * z + s * y, t * y * z - s * x, c + t * z * z};
    return r;
}

Coords Coords::FromDirection(const Vec3& position, const Vec3& direction, const Vec3& up) {
    const Vec3 right = CrossProduct(up, direction).Unit();
    Coords c;
    c.xAxis = right;
    c.yAxis = CrossProduct(direction, right).Unit();
    c.zAxis = direction.Unit();
    c.origin = position;
    return c;
}

Coords Coords::LookAt(const Vec3& position, const Vec3& target, const Vec3& up) {
    return FromDirection(position, target - position, up);
}

Vec3 OrientedBox::GetAxisAlignedBox() const {
    const Vec3 ex = frame.xAxis * halfExtents.x;
    const Vec3 ey = frame.yAxis * halfExtents.y;
    const Vec3 ez = frame.zAxis * halfExtents.z;
    return ex.Abs() + ey.Abs() + ez.Abs();
}

}  // namespace GAME
