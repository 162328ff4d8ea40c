#include "Game/characters/player/CharacterFileManager.h"

#include <algorithm>
#include <system_error>

#include "Engine/Engine.h"
#include "Engine/sys/Machine.h"

namespace GAME {

CharacterFileManager& CharacterFileManager::Get() {
    return Singleton<CharacterFileManager>::Get();
}

void CharacterFileManager::ScanIfNeeded() {
    if (mScanned)
        return;
    mScanned = true;
    std::error_code error;
    std::filesystem::directory_iterator it(mFolder, error);
    if (error) {
        gEngine->Log(1, "CharacterFileManager: cannot list the save folder \"%s\": %s.",
                     mFolder.string().c_str(), error.message().c_str());
        return;
    }
    // The folder's own order differs between file systems: names are listed sorted.
    std::vector<std::string> found;
    for (const std::filesystem::directory_entry& entry : it) {
        const std::filesystem::path& path = entry.path();
        if (path.extension() == ".chr" && entry.is_regular_file(error))
            found.push_back(path.filename().string());
    }
    std::sort(found.begin(), found.end());
    mFiles.insert(mFiles.end(), found.begin(), found.end());
}

void CharacterFileManager::AddCharacterFile(const std::string& name) {
    ScanIfNeeded();
    mFiles.push_back(name);
}

void CharacterFileManager::RemoveCharacterFile(const std::string& name) {
    auto it = std::find(mFiles.begin(), mFiles.end(), name);
    if (it != mFiles.end())
        mFiles.erase(it);
}

void CharacterFileManager::GetCharacterFiles(std::vector<std::string>& out) {
    ScanIfNeeded();
    out = mFiles;
}

}  // namespace GAME
