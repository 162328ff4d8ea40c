#pragma once
// Records and texts for the damage attribute tests.
#include <string>

#include "Engine/records/RecordDatabase.h"
#include "Engine/sys/Machine.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/rules/damage/DamageAttribute.h"

namespace GAME::test {

// A record made from JSON text under a fresh name.
inline LoadTable CombatRecord(const std::string& json) {
    static int counter = 0;
    const std::string name = "Records/Combat/Inline" + std::to_string(++counter) + ".dbr";
    Singleton<RecordDatabase>::Get().AddRecordText(name, json);
    return Singleton<RecordDatabase>::Get().Get(name);
}

// Number formats that show every argument; display tags stay unknown and format as themselves.
inline void SetCombatTexts() {
    auto& texts = LocalizationManager::Instance();
    texts.SetText("DamageSingleFormat", L"[%.2f]");
    texts.SetText("DamageRangeFormat", L"[%.2f-%.2f]");
    texts.SetText("DamageInfluenceSingleFormat", L"{%.2f}");
    texts.SetText("DamageInfluenceRangeFormat", L"{%.2f-%.2f}");
    texts.SetText("DamageReflexSingleFormat", L"<%.2f>");
    texts.SetText("DamageReflexRangeFormat", L"<%.2f-%.2f>");
    texts.SetText("ChanceOfTag", L"(%.0f%%)");
    texts.SetText("tagIndent", L"..");
    texts.SetText("tagPerSecond", L"/s");
    texts.SetText("DamageSingleFormatTime", L"(%.1fs)");
    texts.SetText("DamageRangeFormatTime", L"(%.1f-%.1fs)");
    texts.SetText("DamageFixedSingleFormatTime", L"(fixed %.1fs)");
    texts.SetText("DamageFixedRangeFormatTime", L"(fixed %.1f-%.1fs)");
    texts.SetText("ImprovedTimeFormat", L"(+%.0f%% time)");
    texts.SetText("DamageBasePierceRatio", L"pierce %.0f");
    texts.SetText("DamageManaBurnRatio", L"(ratio %.0f)");
    texts.SetText("GlobalPercentChanceOfAllTag", L"All at %.0f:");
    texts.SetText("GlobalChanceOfAllTag", L"All:");
    texts.SetText("GlobalPercentChanceOfOneTag", L"One at %.0f:");
    texts.SetText("GlobalChanceOfOneTag", L"One:");
}

inline std::string Narrow(const std::wstring& text) {
    return LocalizationManager::ToChar(text);
}

inline std::vector<std::string> Narrow(const DamageTextList& lines) {
    std::vector<std::string> out;
    for (const auto& line : lines)
        out.push_back(Narrow(line));
    return out;
}

}  // namespace GAME::test
