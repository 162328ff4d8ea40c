#include "Host/play/HostSaves.h"

#include "Game/quests/QuestRepository.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/streams/BinaryStream.h"
#include "Game/characters/Player.h"
#include "Game/characters/npc/Npc.h"
#include "Game/characters/player/CharacterFileManager.h"
#include "Game/core/GameEngine.h"
#include "Game/quests/dialog/Dialog.h"
#include "Game/quests/dialog/NpcDialogPak.h"
#include "Host/PrintableText.h"

namespace GAME {

HostSaves::HostSaves(std::filesystem::path file, bool enabled)
    : mFile(std::move(file)), mEnabled(enabled) {}

bool HostSaves::SaveGame() {
    Player* player = gGameEngine ? gGameEngine->GetMainPlayer() : nullptr;
    if (!mEnabled || !player)
        return false;
    std::error_code ec;
    const bool known = std::filesystem::exists(mFile, ec);
    if (!player->SaveCharacterFile(mFile)) {
        gEngine->Log(1, "Host: the character could not be saved to \"%s\".",
                     mFile.string().c_str());
        return false;
    }
    ++mSaves;
    // The quests go with the character: a later load finds both as they were together.
    if (!QuestRepository::Get()->SaveQuestState(QuestFolderOf(mFile), kQuestRepositoryFile, false))
        gEngine->Log(1, "Host: the quest state of \"%s\" could not be saved.",
                     mFile.string().c_str());
    if (!known) {
        CharacterFileManager& files = CharacterFileManager::Get();
        files.SetSaveFolder(mFile.has_parent_path() ? mFile.parent_path()
                                                    : std::filesystem::path("."));
        files.AddCharacterFile(mFile.filename().string());
    }
    return true;
}

std::filesystem::path HostSaves::QuestFolderOf(const std::filesystem::path& characterFile) {
    std::filesystem::path folder = characterFile;
    folder += ".quests";
    return folder;
}

bool HostSaves::SaveQuest(bool) {
    if (!mEnabled)
        return false;
    return QuestRepository::Get()->SaveQuestState(QuestFolderOf(mFile), kQuestRepositoryFile, true);
}

bool HostSaves::BackupGame() {
    if (!mEnabled)
        return false;
    std::filesystem::path backup = mFile;
    backup += ".bak";
    std::ifstream in(mFile, std::ios::binary);
    std::vector<char> bytes;
    if (in.is_open())
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!in.is_open() || in.bad() || !WriteFileAtomically(backup, bytes.data(), bytes.size())) {
        gEngine->Log(1, "Host: no backup of \"%s\" could be made.", mFile.string().c_str());
        return false;
    }
    return true;
}

bool HostSaves::AskConversationQuestion() {
    Print(std::string("gamehost: ui: a conversation asks a question; the host answers ") +
          (mConversationAnswer ? "yes" : "no"));
    return mConversationAnswer;
}

void HostSaves::OpenNpcDialogPak(std::uint32_t npc, std::uint32_t, NpcDialogPak* pak) {
    Npc* speaker = Singleton<ObjectManager>::Get().GetObject<Npc>(npc);
    if (!pak || !speaker)
        return;
    pak->Speak(speaker->GetCompletionFunctor());
    Print("gamehost: ui: " + NpcName(*speaker) + " says: \"" + PrintableText(pak->GetText()) +
          "\"");
    pak->Stop();
}

std::string HostSaves::NpcName(const Npc& npc) {
    const std::wstring name = npc.GetGameDescription(false);
    return name.empty() ? npc.GetObjectName() : PrintableText(name);
}

bool HostSaves::DisplaySkillReallocationWindow(unsigned characterId) {
    const Npc* npc = Singleton<ObjectManager>::Get().GetObject<Npc>(characterId);
    Print("gamehost: ui: " + (npc ? NpcName(*npc) : std::string("someone")) +
          " opens the skill reallocation window");
    return true;
}

void HostSaves::CloseDialogPak() {
    Print("gamehost: ui: the conversation closes");
}

void HostSaves::OpenStoryDialog(Dialog* dialog) {
    Print("gamehost: ui: the closing story is told" +
          (dialog ? ": \"" + PrintableText(dialog->GetText()) + "\"" : std::string()));
}

void HostSaves::EndGame() {
    Print("gamehost: ui: the game is over");
}

void HostSaves::OnBossDeath() {
    Print("gamehost: ui: the last foe has fallen");
}

void HostSaves::DisplayDebugText(const std::wstring& text, const Color&, float x, float y) {
    char at[64];
    std::snprintf(at, sizeof at, " at (%.0f, %.0f)", static_cast<double>(x),
                  static_cast<double>(y));
    Print("gamehost: ui: debug text \"" + PrintableText(text) + "\"" + at);
}

void HostSaves::OnSecondarySkillActivated(std::uint32_t skill) {
    Print("gamehost: ui: skill " + std::to_string(skill) + " fires on its own");
}

}  // namespace GAME
