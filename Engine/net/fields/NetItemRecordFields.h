#pragma once
// The full form of an item record, for the writer, the reader and the describer alike.
#include "Engine/net/fields/NetFieldLabels.h"

namespace GAME {

// Item is NetItemRecord, const for the writer and the describer.
template <class V, class Item>
void VisitItemRecordFull(V& v, Item& item) {
    v.Word(item.objectId, "Item ID: ");
    v.String(item.baseName, "Item Name: ");
    v.String(item.prefixName, "Prefix: ");
    v.String(item.suffixName, "PostFix: ");
    v.String(item.relicName, "Relic: ");
    v.String(item.relicBonusName, "Relic Bonus: ");
    v.Word(item.seed, "Seed: ");
    v.Word(item.relicLevel, "Var1: ");
}

}  // namespace GAME
