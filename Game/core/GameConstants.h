#pragma once
// The game's own numbers that several places share: the host of a player id, the tutorial pages
// the game opens by itself, the network cadence, the dialog parties that wait for an answer and
// the kinds of UI notification.
#include <cstdint>

namespace GAME {

// A player id carries its host (server 0, clients 1 to 15) in its top four bits.
inline constexpr int kPlayerHostShift = 28;

constexpr int HostOfPlayer(std::uint32_t playerId) {
    return static_cast<int>(playerId >> kPlayerHostShift);
}

// Tutorial pages: the host shows page n of its tutorial when the game unlocks it.
inline constexpr int kTutorialPageCount = 36;
// The pages the root's hints open (GameEngine::UpdateTutorialHints), named by what opens them.
inline constexpr unsigned int kTutorialPagePlayTime = 28;        // long enough at play
inline constexpr unsigned int kTutorialPageHotSlot = 29;         // skill points, hot slots idle
inline constexpr unsigned int kTutorialPageFurtherCounter = 30;  // the further counter reached 3
inline constexpr unsigned int kTutorialPageUnspentPoints = 31;   // points left unspent long
inline constexpr unsigned int kTutorialPageMasteryPoints = 32;   // mastery points piled up
// How long a hint's condition lasts before its page opens.
inline constexpr int kTutorialHintDelayMs = 300000;
inline constexpr int kTutorialHintLongDelayMs = 600000;

// Network cadence: the server's player lists go out after more than this much time has gathered,
// a client's own heartbeat likewise.
inline constexpr int kServerBroadcastIntervalMs = 1100;
inline constexpr int kClientHeartbeatIntervalMs = 900;

// Dialogs: a dialog shows a message or asks a yes/no question; the answer goes back to the
// party that asked (DialogManager::InterestedParty). Every party of the game is listed, those of
// subsystems still to come too, so that a new one takes a number nobody else answers to.
inline constexpr int kDialogTypeMessage = 0;
inline constexpr int kDialogTypeQuestion = 1;
inline constexpr int kDialogPartyTeleport = 0;
inline constexpr int kDialogPartyRelicCombining = 2;
inline constexpr int kDialogPartyTrade = 3;
inline constexpr int kDialogPartyBan = 4;
inline constexpr int kDialogPartyPortalReplacement = 5;
inline constexpr int kDialogPartyPartyInvitation = 6;
inline constexpr int kDialogPartyEndGamePortal = 7;
inline constexpr int kDialogPartyRemoteMessage = 12;

// The kind of UI notification that shows a line of text in a bubble.
inline constexpr int kUINotificationBubble = 6;

}  // namespace GAME
