#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "Engine/events/EventManager.h"
#include "Engine/media/sound/Jukebox.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/streams/IOStream.h"
#include "Engine/text/LocalizationManager.h"
#include "Engine/triggers/Trigger.h"
#include "Engine/triggers/TriggerFactory.h"
#include "Engine/world/DayNightManager.h"
#include "Engine/world/World.h"
#include "Game/characters/CharacterEvents.h"
#include "Game/characters/Player.h"
#include "Game/characters/npc/Npc.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/items/Item.h"
#include "Game/items/inventory/Inventory.h"
#include "Game/quests/QuestEvents.h"
#include "Game/quests/QuestObjects.h"
#include "Game/quests/actions/EntityActions.h"
#include "Game/quests/actions/FixedItemActions.h"
#include "Game/quests/actions/NpcActions.h"
#include "Game/quests/actions/PresentationActions.h"
#include "Game/quests/actions/QuestActionEvents.h"
#include "Game/quests/actions/RewardActions.h"
#include "Game/world/fixeditems/FixedItem.h"
#include "support/RecordingUI.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

using test::TestMachine;

// Every payload of one event name, copied as heard.
template <class Payload>
struct Heard : EventHandlerInterface {
    std::string name;
    std::vector<Payload> events;
    explicit Heard(const char* eventName) : name(eventName) {
        Singleton<EventManager>::Get().Register(name, this);
    }
    ~Heard() override { Singleton<EventManager>::Get().UnRegister(name, this); }
    void HandleEvent(const GameEvent* event) override {
        events.push_back(*static_cast<const Payload*>(event));
    }
};

// An action of the kind with the properties `write` puts in its stream, read as from a file.
template <class Kind>
std::unique_ptr<Kind> Make(const std::function<void(IOStream&)>& write = {}) {
    IOStream properties;
    if (write)
        write(properties);
    IOStream read(properties.GetBytes());
    auto action = std::make_unique<Kind>(0);
    action->SerializeChildProperties(read);
    return action;
}

void Amounts(IOStream& stream, const char* name, std::int32_t amount) {
    for (int i = 0; i < 3; ++i) {
        std::int32_t value = amount * (i + 1);
        stream.StreamInt((std::string(name) + "[" + std::to_string(i) + "]").c_str(), value);
    }
}

void RewardTags(IOStream& stream, std::int32_t region, std::string location, std::string title) {
    stream.StreamInt("region", region);
    stream.StreamString("locationTag", location);
    stream.StreamString("titleTag", title);
}

class QuestActions : public ::testing::Test {
protected:
    void SetUp() override {
        InitializeObjects();
        LocalizationManager& texts = LocalizationManager::Instance();
        texts.SetText("SimpleStringFormat", L"%s");
        texts.SetText("tagRewardGold", L"gold");
        texts.SetText("tagPebble", L"Pebble");
        hero = Singleton<ObjectManager>::Get().CreateObjectFromFile<Player>(
            "Records/Players/TestHero.dbr");
        ASSERT_NE(hero, nullptr);
        gGameEngine->GetPlayerManagerClient()->SetMainPlayer(hero->GetObjectId());
    }
    void TearDown() override { ShutdownObjects(); }
    TestMachine tm;
    Player* hero = nullptr;
};

// Region 0 grants quietly; a banner always comes with a region, the quest log's record only
// under both tags; a zero skill amount does nothing at all.
TEST_F(QuestActions, RewardsGrantAndAnnounceAsTheirRegionAndTagsSay) {
    struct Case {
        std::int32_t region;
        const char* location;
        const char* title;
        std::size_t banners;
        std::size_t records;
    } cases[] = {{1, "", "", 1, 0}, {0, "L", "T", 0, 0}, {2, "L", "T", 1, 1}, {1, "L", "", 1, 0}};
    for (const Case& c : cases) {
        Heard<GameEvent_ShowTextBanner> banners("GameEvent_ShowTextBanner");
        Heard<GameEvent_Reward> records("GameEvent_Reward");
        auto money = Make<Action_GiveMoney>([&](IOStream& s) {
            Amounts(s, "moneyAmount", 40);
            RewardTags(s, c.region, c.location, c.title);
        });
        const std::uint32_t before = hero->GetMoney();
        money->Fire(0, false);
        EXPECT_EQ(hero->GetMoney(), before + 40) << c.region;
        ASSERT_EQ(banners.events.size(), c.banners) << c.region;
        ASSERT_EQ(records.events.size(), c.records) << c.region;
        if (c.banners) {
            EXPECT_EQ(banners.events[0].text, L"40 gold");
            EXPECT_EQ(banners.events[0].alpha, 0.4f);
            EXPECT_EQ(banners.events[0].durationMs, 3000.0f);
        }
        if (c.records) {
            EXPECT_EQ(records.events[0].region, 2);
        }
    }

    const std::uint32_t experience = hero->GetExperiencePoints();
    const std::uint32_t attributes = hero->GetModifierPoints();
    const std::uint32_t skills = hero->GetSkillPoints();
    Make<Action_GiveExp>([](IOStream& s) { Amounts(s, "experiencePts", 5); })->Fire(0, false);
    Make<Action_GiveAttributePoints>([](IOStream& s) {
        Amounts(s, "attributeAmount", 2);
    })->Fire(hero->GetObjectId(), false);
    Heard<GameEvent_ShowTextBanner> banners("GameEvent_ShowTextBanner");
    Heard<GameEvent_CharacterId> skillUps("GameEvent_PlayerSkillUp");
    Make<Action_GiveSkillPoints>()->Fire(0, false);  // zero: nothing, not even a banner
    EXPECT_TRUE(banners.events.empty());
    Make<Action_GiveSkillPoints>([](IOStream& s) { Amounts(s, "skillAmount", 3); })->Fire(0, false);
    EXPECT_EQ(hero->GetExperiencePoints(), experience + 5);
    EXPECT_EQ(hero->GetModifierPoints(), attributes + 2);
    EXPECT_EQ(hero->GetSkillPoints(), skills + 3);
    ASSERT_EQ(skillUps.events.size(), 1u);
    EXPECT_EQ(skillUps.events[0].objectId, hero->GetObjectId());
    EXPECT_EQ(banners.events.size(), 1u);
    // A receiver that is no character gets nothing and nothing is announced.
    Make<Action_GiveMoney>([](IOStream& s) { Amounts(s, "moneyAmount", 9); })->Fire(0xDEAD, false);
    EXPECT_EQ(banners.events.size(), 1u);
}

// A plain item record is given as it is, a loot table is rolled first; the banner names the item.
TEST_F(QuestActions, GiveItemPutsTheItemInTheReceiversBag) {
    struct Case {
        const char* record;
        std::vector<std::string> bases;
    } cases[] = {
        {"Records/Items/Pebble.dbr", {"Records/Items/Pebble.dbr"}},
        {"Records/Loot/Fixed.dbr", {"Records/Loot/ItemA.dbr", "Records/Loot/ItemB.dbr"}},
        {"", {}},
    };
    for (const Case& c : cases) {
        Heard<GameEvent_ShowTextBanner> banners("GameEvent_ShowTextBanner");
        auto give = Make<Action_GiveItem>([&](IOStream& s) {
            for (const char* key : {"item[0]", "item[1]", "item[2]"}) {
                std::string record = c.record;
                s.StreamString(key, record);
            }
        });
        const std::size_t carried = hero->GetInventory().GetInventoryItems().size();
        give->Fire(0, false);
        if (c.bases.empty()) {
            EXPECT_EQ(hero->GetInventory().GetInventoryItems().size(), carried);
            EXPECT_TRUE(banners.events.empty());
            continue;
        }
        ASSERT_EQ(hero->GetInventory().GetInventoryItems().size(), carried + 1) << c.record;
        const auto* item = Singleton<ObjectManager>::Get().GetObject<Item>(give->GetLastItemId());
        ASSERT_NE(item, nullptr) << c.record;
        EXPECT_TRUE(hero->GetInventory().IsItemInInventory(item->GetObjectId()));
        EXPECT_NE(std::find(c.bases.begin(), c.bases.end(), item->GetObjectName()), c.bases.end());
        ASSERT_EQ(banners.events.size(), 1u);
        EXPECT_EQ(banners.events[0].text, give->GetRewardDescription());
        if (c.bases.size() == 1) {
            EXPECT_NE(banners.events[0].text.find(L"Pebble"), std::wstring::npos);
        }
    }
}

TEST_F(QuestActions, PresentationEventsCarryTheirValues) {
    Heard<GameEvent_ScreenFade> fades("GameEvent_ScreenFade");
    for (float secs : {1.5f, 0.0005f}) {
        Make<Action_ScreenFade>([&](IOStream& s) {
            float fade = secs;
            float blackout = 2.0f;
            s.StreamFloat("fadeInOutInSecs", fade);
            s.StreamFloat("blackoutInSecs", blackout);
        })->Fire(0, false);
    }
    ASSERT_EQ(fades.events.size(), 2u);
    EXPECT_EQ(fades.events[0].fadeMs, 1500);
    EXPECT_EQ(fades.events[1].fadeMs, 0);
    EXPECT_EQ(fades.events[0].blackoutMs, 2000);

    Heard<GameEvent_CameraShakeMs> shakes("GameEvent_CameraShake");
    for (std::int32_t duration : {0, 250})
        Make<Action_ScreenShake>([&](IOStream& s) {
            std::int32_t d = duration;
            std::int32_t amplitude = 3;
            s.StreamInt("duration", d);
            s.StreamInt("amplitude", amplitude);
        })->Fire(0, false);
    ASSERT_EQ(shakes.events.size(), 1u);  // a zero duration shakes nothing
    EXPECT_EQ(shakes.events[0].durationMs, 250u);
    EXPECT_EQ(shakes.events[0].amplitude, 3.0f);

    // A replayed journal entry never plays its sound; completing a quest says whether it is new.
    Heard<GameEvent_UpdateJournal> journal("GameEvent_UpdateJournal");
    Heard<GameEvent_CompleteQuestNow> completions("GameEvent_CompleteQuestNow");
    auto entry = Make<Action_UpdateJournalEntry>();
    auto complete = Make<Action_CompleteQuestNow>([](IOStream& s) {
        std::string file = "Quests/Other.quest";
        s.StreamString("questFile", file);
    });
    for (bool reFire : {false, true}) {
        entry->Fire(0, reFire);
        complete->Fire(0, reFire);
    }
    ASSERT_EQ(journal.events.size(), 2u);
    EXPECT_TRUE(journal.events[0].playSound);
    EXPECT_FALSE(journal.events[1].playSound);
    ASSERT_EQ(completions.events.size(), 2u);
    EXPECT_TRUE(completions.events[0].first && completions.events[0].second);
    EXPECT_FALSE(completions.events[1].first || completions.events[1].second);
    EXPECT_EQ(completions.events[0].name, "Quests/Other.quest");

    // The tutorial hears only of the local player.
    Heard<GameEvent_TutorialUnlock> pages("GameEvent_TutorialUnlock");
    auto tutorial = Make<Action_SendTutorialEvent>([](IOStream& s) {
        std::int32_t index = 7;
        s.StreamInt("index", index);
    });
    tutorial->Fire(hero->GetObjectId() + 1, false);
    EXPECT_TRUE(pages.events.empty());
    tutorial->Fire(hero->GetObjectId(), false);
    ASSERT_EQ(pages.events.size(), 1u);
    EXPECT_EQ(pages.events[0].page, 7u);
}

TEST_F(QuestActions, MusicTimeOfDayAndDebugTextReachTheirServices) {
    auto playlist = [](const char* name) {
        return [name](IOStream& s) {
            std::string list = name;
            s.StreamString("playlist", list);
        };
    };
    Make<Action_LoadMusicPlaylist>(playlist("Music/Vale"))->Fire(0, false);
    Make<Action_LoadAmbientPlaylist>(playlist("Ambient/Cave"))->Fire(0, false);
    Make<Action_LoadEventMusic>(playlist("Music/Fight"))->Fire(0, false);
    Jukebox& jukebox = *gGameEngine->GetJukebox();
    EXPECT_EQ(jukebox.GetMusicPlaylist(), "Music/Vale");
    EXPECT_EQ(jukebox.GetAmbientPlaylist(), "Ambient/Cave");
    EXPECT_EQ(jukebox.GetEventMusic(), "Music/Fight");
    Make<Action_FadeOutEventMusic>([](IOStream& s) {
        float secs = 2.5f;
        s.StreamFloat("timeInSecs", secs);
    })->Fire(0, false);
    EXPECT_EQ(jukebox.GetEventMusic(), "");
    EXPECT_EQ(jukebox.GetLastFadeMs(), 2500);
    Make<Action_FadeOutMusic>()->Fire(0, false);
    EXPECT_TRUE(jukebox.IsMusicFadedOut());
    EXPECT_EQ(jukebox.GetLastFadeMs(), 5000);

    Make<Action_SetTimeOfDay>([](IOStream& s) {
        float hour = 21.0f;
        std::int32_t progress = 0;
        s.StreamFloat("timeOfDay", hour);
        s.StreamInt("enableTimeProgression", progress);
    })->Fire(0, false);
    EXPECT_EQ(Singleton<DayNightManager>::Get().GetStartTime(), 21.0f);
    EXPECT_FALSE(Singleton<DayNightManager>::Get().IsEnabled());

    test::RecordingUI ui;
    gGameEngine->SetUI(&ui);
    Make<Action_DebugText>([](IOStream& s) {
        std::string text = "hello";
        s.StreamString("debugText", text);
    })->Fire(0, false);
    gGameEngine->SetUI(nullptr);
    ASSERT_EQ(ui.calls.size(), 1u);
    EXPECT_EQ(ui.calls[0].rfind("debug hello 100,100", 0), 0u) << ui.calls[0];
}

// Each firing plays; the action keeps one pack for all of them and ends it with itself.
TEST_F(QuestActions, ASoundEffectMakesOnePackHoweverOftenItFires) {
    auto sound = Make<Action_PlaySoundEffect>([](IOStream& s) {
        std::string record = "Records/Test/Sound/DoorVox.dbr";
        s.StreamString("soundEffect", record);
    });
    const std::size_t objects = Singleton<ObjectManager>::Get().GetObjectCount();
    for (int i = 0; i < 3; ++i)
        sound->Fire(hero->GetObjectId(), false);
    const auto* pak = Singleton<ObjectManager>::Get().GetObject<SoundPak>(sound->GetSoundPakId());
    ASSERT_NE(pak, nullptr);
    EXPECT_EQ(pak->GetPlayCount(), 3u);
    EXPECT_EQ(Singleton<ObjectManager>::Get().GetObjectCount(), objects + 1);
    sound.reset();
    EXPECT_EQ(Singleton<ObjectManager>::Get().GetObjectCount(), objects);
}

TEST_F(QuestActions, DescriptionsAndTokens) {
    auto token = Make<Action_BestowTriggerToken>([](IOStream& s) {
        std::string name = "GateKey";
        s.StreamString("tokenName", name);
    });
    EXPECT_TRUE(token->ContainsToken("GateKey"));
    EXPECT_FALSE(token->ContainsToken("gatekey"));
    token->RemoveTokenReferences("Gate");
    EXPECT_EQ(token->GetDescription(), "Give Token {RGateKey}");
    token->RemoveTokenReferences("GateKey");
    EXPECT_FALSE(token->ContainsToken("GateKey"));

    struct Case {
        std::unique_ptr<TriggerAction> action;
        const char* text;
    } cases[] = {
        {Make<Action_GiveMoney>([](IOStream& s) { Amounts(s, "moneyAmount", 10); }),
         "Give Player {B10,20,30} gold"},
        {Make<Action_GiveExp>([](IOStream& s) { Amounts(s, "experiencePts", 1); }),
         "Give Player {B1,2,3} Experience"},
        {Make<Action_RemoveItemFromInventory>([](IOStream& s) {
             std::string item = "Records/Items/Key.dbr";
             s.StreamString("itemName", item);
         }),
         "Remove Item {BKey} From Inventory"},
        {Make<Action_ScreenShake>(), "Screen Shake {B0 amplitude }for {B0ms}"},
        {Make<Action_SetTimeOfDay>(), "Set Time Of Day to {B0} Hour"},
        {Make<Action_UpdateJournalEntry>(), "{BAdd} Journal Entry in Region #{B1}"},
        {Make<Action_SendTutorialEvent>(), "Send Index {B0} to tutorial system"},
    };
    for (Case& c : cases)
        EXPECT_EQ(c.action->GetDescription(), c.text);
}

void Field(IOStream& stream, const char* key, std::string value) {
    stream.StreamString(key, value);
}

// Fired before its entity exists, an action stays pending, keeps that across a save, and acts
// once an entity of its name (any case, either slash) appears.
TEST_F(QuestActions, EntityActionsWaitForTheirEntityAcrossASave) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    auto* chest = objects.CreateObjectFromFile<FixedItem>("Records/Fixed/Chest.dbr");
    auto* place = objects.CreateObject<QuestLocation>(0);
    ASSERT_TRUE(chest && place);
    place->SetObjectName("Records/Quests/Camp.dbr");
    const auto appear = [&](Object& object, const char* event) {
        const std::string name = "RECORDS\\" + object.GetObjectName().substr(8);
        if (std::string(event) == "FixedItemSpawn") {
            GameEvent_FixedItemSpawn spawn;
            spawn.objectName = name;
            spawn.itemId = object.GetObjectId();
            SendGameEvent(spawn, event);
        } else if (std::string(event) == "CreatureInitialUpdate") {
            GameEvent_CreatureInitialUpdate update;
            update.objectName = name;
            update.objectId = object.GetObjectId();
            SendGameEvent(update, event);
        } else {
            GameEvent_GenericEntity update;
            update.objectName = name;
            update.objectId = object.GetObjectId();
            SendGameEvent(update, event);
        }
    };
    const std::size_t before = objects.GetObjectCount();
    struct Case {
        std::function<std::unique_ptr<BoundAction>()> make;
        Object* entity;
        const char* event;
        std::function<bool()> done;
        bool saved;  // lock requests are not kept over a save
    } cases[] = {
        {[&] {
             return Make<Action_HideNpc>(
                 [&](IOStream& s) { Field(s, "npc", hero->GetObjectName()); });
         },
         hero, "CreatureInitialUpdate", [&] { return !hero->IsVisible(); }, true},
        {[&] {
             return Make<Action_LockFixedItem>(
                 [&](IOStream& s) { Field(s, "fixedItem", chest->GetObjectName()); });
         },
         chest, "FixedItemSpawn", [&] { return chest->IsLocked(); }, false},
        {[&] {
             return Make<Action_SpawnEntityAtLocation>([&](IOStream& s) {
                 Field(s, "entity", "Records/Items/Pebble.dbr");
                 Field(s, "location", place->GetObjectName());
             });
         },
         place, "GenericEntityInitialUpdate",
         [&] { return objects.GetObjectCount() == before + 1; }, true},
    };
    std::vector<std::unique_ptr<BoundAction>> alive;  // the repository keeps them registered
    for (Case& c : cases) {
        auto action = c.make();
        action->Fire(0, false);
        EXPECT_TRUE(action->IsPendingFire()) << action->GetName();
        IOStream saved;
        action->StreamChildProperties(saved);
        std::unique_ptr<TriggerAction> reloaded(
            TriggerActionFactory::Get().Create(action->GetName(), 0));
        IOStream reading(saved.GetBytes());
        reloaded->StreamChildProperties(reading);
        EXPECT_EQ(static_cast<BoundAction&>(*reloaded).IsPendingFire(), c.saved);
        EXPECT_FALSE(c.done());
        appear(*c.entity, c.event);
        EXPECT_TRUE(c.done()) << action->GetName();
        EXPECT_FALSE(action->IsPendingFire());
        alive.push_back(std::move(action));
    }
}

// A re-fire repeats only what may repeat; the show action brings the character back.
TEST_F(QuestActions, ReFiresRepeatOnlyWhereAllowed) {
    auto unlock = Make<Action_UnlockFixedItem>([](IOStream& s) {
        Field(s, "fixedItem", "Records/Fixed/Chest.dbr");
        bool canReFire = false;
        s.StreamBool("canReFire", canReFire);
    });
    auto* chest =
        Singleton<ObjectManager>::Get().CreateObjectFromFile<FixedItem>("Records/Fixed/Chest.dbr");
    ASSERT_NE(chest, nullptr);
    GameEvent_FixedItemSpawn spawn;
    spawn.objectName = chest->GetObjectName();
    spawn.itemId = chest->GetObjectId();
    SendGameEvent(spawn, "FixedItemSpawn");
    chest->SetLock(true);
    unlock->Fire(0, true);
    EXPECT_TRUE(chest->IsLocked());
    unlock->Fire(0, false);
    EXPECT_FALSE(chest->IsLocked());
    EXPECT_EQ(unlock->GetDescription(), "Unlock Fixed Item {BChest} and {BDon't Refire}");

    auto show = Make<Action_ShowNpc>([&](IOStream& s) { Field(s, "npc", hero->GetObjectName()); });
    GameEvent_CreatureInitialUpdate update;
    update.objectName = hero->GetObjectName();
    update.objectId = hero->GetObjectId();
    SendGameEvent(update, "CreatureInitialUpdate");
    hero->SetVisibility(false);
    show->Fire(0, true);
    EXPECT_TRUE(hero->IsVisible());
}

// Set before the character is in the world, the light and the items wait for it; the light
// goes out through the action the character was given.
TEST_F(QuestActions, NpcActionsReachTheCharacterOnceItAppears) {
    auto illuminate = Make<Action_IlluminateNpc>([](IOStream& s) {
        Field(s, "npc", "Records/Npcs/Giver.dbr");
        std::int32_t type = 2;
        s.StreamInt("type", type);
    });
    auto dispense = Make<Action_DispenseItemFromNpc>([](IOStream& s) {
        Field(s, "npc", "records\\npcs\\giver.dbr");
        for (const char* key : {"item[0]", "item[1]", "item[2]"})
            Field(s, key, "Records/Items/Pebble.dbr");
    });
    auto drop = Make<Action_DropItemFromNpc>([](IOStream& s) {
        Field(s, "npc", "Records/Npcs/Giver.dbr");
        for (const char* key : {"item[0]", "item[1]", "item[2]"})
            Field(s, key, "Records/Items/Pebble.dbr");
    });
    illuminate->Fire(0, false);
    dispense->Fire(0, false);
    drop->Fire(0, false);
    EXPECT_TRUE(illuminate->IsPendingFire() && dispense->IsPendingFire() && drop->IsPendingFire());

    Region* region = World::Get().AddRegion(std::make_unique<Region>("Green"));
    auto* npc = Singleton<ObjectManager>::Get().CreateObjectFromFile<Npc>("Records/Npcs/Giver.dbr");
    ASSERT_NE(npc, nullptr);
    World::Get().AddEntity(npc, WorldCoords(region, Coords()), false);
    npc->InitialUpdate();
    EXPECT_FALSE(illuminate->IsPendingFire() || dispense->IsPendingFire() || drop->IsPendingFire());
    // The dropped item lies in the world, not in anyone's bag.
    const Item* dropped = Singleton<ObjectManager>::Get().GetObject<Item>(drop->GetLastItemId());
    ASSERT_NE(dropped, nullptr);
    EXPECT_TRUE(dropped->IsInWorld());
    EXPECT_EQ(dropped->GetObjectName(), "Records/Items/Pebble.dbr");
    EXPECT_EQ(npc->GetDialogType(), Npc::DialogType_Question);
    EXPECT_TRUE(npc->IsPlayerNpcIllumination());

    const auto pebbles = [] {
        int count = 0;
        ObjectManager& objects = Singleton<ObjectManager>::Get();
        for (const std::uint32_t id : objects.GetObjectIds())
            if (const Item* item = objects.GetObject<Item>(id))
                count += item->GetObjectName() == "Records/Items/Pebble.dbr";
        return count;
    };
    const int before = pebbles();
    npc->OnPlayerInteract(hero->GetObjectId(), false, false);
    EXPECT_EQ(pebbles(), before + 1);
    npc->Dialog_Deluminate();
    EXPECT_TRUE(illuminate->IsDeluminate());
}

}  // namespace
}  // namespace GAME
