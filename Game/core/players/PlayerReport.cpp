#include "Game/core/players/PlayerReport.h"

#include <algorithm>
#include <cmath>

namespace GAME {

namespace {

bool FixAmount(float& value, float previous) {
    if (std::isfinite(value) && value >= 0.0f)
        return false;
    value = std::isfinite(previous) && previous >= 0.0f ? previous : 0.0f;
    return true;
}

bool Cut(std::string& text, std::size_t limit) {
    if (text.size() <= limit)
        return false;
    text.resize(limit);
    return true;
}

}  // namespace

bool IsFinite(const WorldVec3& where) {
    const Vec3& p = where.GetRegionPosition();
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

PlayerVitals VitalsOf(const PlayerNetHeartbeatInfo& info) {
    return PlayerVitals{info.life, info.maxLife, info.mana, info.maxMana, info.position};
}

bool CheckPlayerReport(PlayerNetHeartbeatInfo& report, const PlayerVitals& before) {
    bool fixed = FixAmount(report.life, before.life);
    fixed = FixAmount(report.maxLife, before.maxLife) || fixed;
    fixed = FixAmount(report.mana, before.mana) || fixed;
    fixed = FixAmount(report.maxMana, before.maxMana) || fixed;
    if (report.level < 0 || report.level > kMaxReportedLevel) {
        report.level = std::clamp(report.level, 0, kMaxReportedLevel);
        fixed = true;
    }
    if (!IsFinite(report.position)) {
        report.position = before.position;
        fixed = true;
    }
    fixed = Cut(report.classTag, kMaxReportedTagLength) || fixed;
    if (report.statusSkills.size() > kMaxReportedStatusSkills) {
        report.statusSkills.resize(kMaxReportedStatusSkills);
        fixed = true;
    }
    for (std::string& skill : report.statusSkills)
        fixed = Cut(skill, kMaxReportedTagLength) || fixed;
    return fixed;
}

bool CheckPlayerReport(PlayerNetBasicInfo& report, const PlayerVitals& previous) {
    bool fixed = CheckPlayerReport(static_cast<PlayerNetHeartbeatInfo&>(report), previous);
    if (report.playerName.size() > kMaxPlayerNameLength) {
        report.playerName.resize(kMaxPlayerNameLength);
        fixed = true;
    }
    return fixed;
}

std::wstring CapText(const std::wstring& text, std::size_t limit) {
    return text.size() <= limit ? text : text.substr(0, limit);
}

}  // namespace GAME
