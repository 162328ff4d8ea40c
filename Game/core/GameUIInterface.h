#pragma once
// What the host's user interface does for the game: the saves, the skill reallocation window,
// the note that this machine's player picked something up, the NPC conversations, the closing
// sequence of the game and a few notices.
#include <cstdint>
#include <string>

#include "Game/core/settings/GameTables.h"

namespace GAME {

class NpcDialogPak;
class Dialog;
struct Color;

class GameUIInterface {
public:
    virtual ~GameUIInterface() = default;
    virtual bool DisplaySkillReallocationWindow(unsigned characterId) = 0;
    virtual bool SaveGame(GameDifficulty difficulty) = 0;
    virtual bool SaveGame() = 0;
    virtual bool SaveQuest(bool argument) = 0;
    virtual bool BackupGame() = 0;
    // The game description of what the player took (before it may have been used up).
    virtual void ItemPickedUp(unsigned characterId, const std::wstring& description) {
        (void)characterId;
        (void)description;
    }

    // NPC conversations: the question asked before a pack opens (its answer keeps the quests'
    // delayed actions running), opening an NPC's pack for a player, whether that pack is the
    // one shown, and closing the shown one.
    virtual bool AskConversationQuestion() = 0;
    virtual void OpenNpcDialogPak(std::uint32_t npc, std::uint32_t player, NpcDialogPak* pak) = 0;
    virtual bool IsDialogPakShown(const NpcDialogPak* pak) const = 0;
    virtual void CloseDialogPak() = 0;

    // The end of the game: the closing story dialog, whether a dialog is still open, and the
    // end of the closing sequence.
    virtual void OpenStoryDialog(Dialog* dialog) = 0;
    virtual bool IsDialogOpen() const = 0;
    virtual void EndGame() = 0;
    // The final boss died.
    virtual void OnBossDeath() = 0;

    // A line of text on screen at (x, y) in the colour (a designers' debugging aid).
    virtual void DisplayDebugText(const std::wstring& text, const Color& color, float x,
                                  float y) = 0;
    // A secondary skill fired on its own.
    virtual void OnSecondarySkillActivated(std::uint32_t skill) = 0;
};

}  // namespace GAME
