#pragma once
// Formatting helpers of the attribute display lines: every number goes to the text as a double.
#include <string>

#include "Engine/text/LocalizationManager.h"

namespace GAME::DamageAttributeText {

inline std::wstring Text(const char* tag) {
    return LocalizationManager::Instance().Format(tag);
}
inline std::wstring Text(const char* tag, float value) {
    return LocalizationManager::Instance().Format(tag, static_cast<double>(value));
}
inline std::wstring Text(const char* tag, float a, float b) {
    return LocalizationManager::Instance().Format(tag, static_cast<double>(a),
                                                  static_cast<double>(b));
}

// The average of a range for the cost estimate: the plain sum unless both ends are above 0.
inline float RangeAverage(float minimum, float maximum) {
    const float sum = minimum + maximum;
    return minimum > 0.0f && maximum > 0.0f ? sum * 0.5f : sum;
}

}  // namespace GAME::DamageAttributeText
