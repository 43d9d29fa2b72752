#pragma once
// How the store of an ability record ended. The OK button tells the two failures apart: a
// refused number keeps the editor open, while a text that cannot be converted has shown
// its message, keeps its old bytes and lets the editor close with OK.
namespace editors {

enum class StoreOutcome { Stored, NoRecord, BadNumber, BadText };

inline bool OkMayClose(StoreOutcome outcome) { return outcome != StoreOutcome::BadNumber; }

}  // namespace editors
