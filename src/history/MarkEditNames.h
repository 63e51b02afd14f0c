#pragma once

namespace velmora {

// What the Edit menu calls each command that changes marks ("Undo automatic marking").
namespace MarkEditNames {
inline constexpr const char* kMark = "mark";
inline constexpr const char* kAssistedMark = "assisted mark";
inline constexpr const char* kMarksInRectangle = "marking in rectangle";
inline constexpr const char* kDeleteMark = "delete mark";
inline constexpr const char* kDeleteInRectangle = "delete in rectangle";
inline constexpr const char* kSwitchMark = "switch slow wave and spike";
inline constexpr const char* kKillMarks = "delete slow waves of electrode";
inline constexpr const char* kReferenceMark = "reference mark";
inline constexpr const char* kSpreadingMarking = "spreading marking";
inline constexpr const char* kAutomaticMarking = "automatic marking";
inline constexpr const char* kRemoveDeadMarks = "remove marks of dead electrodes";
inline constexpr const char* kMarksImport = "marks import";
inline constexpr const char* kInsertReference = "insert reference";
inline constexpr const char* kDeleteReference = "delete reference";
inline constexpr const char* kHideMarks = "hide marks";
inline constexpr const char* kUnhideElectrode = "unhide electrode";
inline constexpr const char* kUnhideMarks = "unhide marks";
inline constexpr const char* kRestoreDeletedMark = "restore deleted mark";
}  // namespace MarkEditNames

}  // namespace velmora
