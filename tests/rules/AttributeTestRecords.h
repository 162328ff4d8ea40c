#pragma once
// The attribute tests' records and texts, read from the test data folder.
#include <string>

#include "Engine/object/ObjectManager.h"
#include "Engine/text/LocalizationManager.h"
#include "support/TestMachine.h"

namespace GAME::test {

inline LoadTable Record(const std::string& name) {
    auto& objects = Singleton<ObjectManager>::Get();
    objects.LoadTableFile(name);
    return objects.GetLoadTable(name);
}

inline void LoadAttributeTexts() {
    LocalizationManager::Instance().LoadFile(TestMachine::TestDataDir() +
                                             "/Records/Attributes/AttributeTexts.txt");
}

}  // namespace GAME::test
