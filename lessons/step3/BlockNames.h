#pragma once

#include "CommandCodes.h"

#include <QString>

// What the blocks, colour chips and program slots are called aloud: the
// accessible names of STEP2's and STEP3's pictures and of STEP7's palette.
namespace BlockNames {

// "赤", "緑", ..., "消灯".
QString Colour(LampCode::Colour colour);
// A STEP3 block kind: a colour, "入力待ち", "繰り返し開始", "繰り返し終了";
// "空き" for an empty slot, "不明な命令" for a kind no palette block has.
QString Kind(int kind);
// A slot and what it holds: "1番目: 赤 2秒", "3番目: 空き".
QString Slot(int slotNumber, int kind, const QString &itemText);
// The selector under a slot by what it sets: "1番目の時間", "2番目の回数", "4番目の設定".
QString Selector(int slotNumber, int kind);

} // namespace BlockNames
