#pragma once
// The fields of the records the chapter and pilot pointers reach: deployment and message
// records of the scenario data, and the lines of the battle dialogue. Their records lie
// wherever a pointer leads, so they have no table of their own; the editors, the change
// explanations and the tooltips read their fields from here.
#include <span>

#include "core/layout/descriptor.h"

namespace tsumugi::layout {

std::span<const Field> DeployFields();
std::span<const Field> MessageFields();
std::span<const Field> LineFields();

// The field at offset among fields (the first when several share it), or null.
const Field* FieldAtOffset(std::span<const Field> fields, uint32_t offset);

}  // namespace tsumugi::layout
