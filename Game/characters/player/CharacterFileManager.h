#pragma once
// The names of the character files ("*.chr") in the save folder: scanned once, on first use,
// then kept up to date by the host as it saves and deletes characters.
#include <filesystem>
#include <string>
#include <vector>

namespace GAME {

class CharacterFileManager {
public:
    // The manager of the current machine, made on first use (empty, not yet scanned).
    static CharacterFileManager& Get();

    // The folder the first scan looks in (the working folder until set).
    void SetSaveFolder(const std::filesystem::path& folder) { mFolder = folder; }
    const std::filesystem::path& GetSaveFolder() const { return mFolder; }

    // Appends the name after the first scan; a name the scan found is then held twice.
    void AddCharacterFile(const std::string& name);
    // Removes the first equal name; does not scan.
    void RemoveCharacterFile(const std::string& name);
    void GetCharacterFiles(std::vector<std::string>& out);

private:
    void ScanIfNeeded();

    std::filesystem::path mFolder = ".";
    std::vector<std::string> mFiles;
    bool mScanned = false;
};

}  // namespace GAME
