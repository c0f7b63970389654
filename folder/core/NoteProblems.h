#pragma once

// What the import could not take over of a menu, as problems of the check:
// a value at its key, named as the window names its box
// ("所需金钱(PRICE)“abc”不是数字"), with the slot of its item.

#include <string>
#include <vector>

#include "folder/core/Problem.h"
#include "menufile/core/MenuImport.h"

namespace cofferon {

// The notes of `menu` (read with importMenuText) as problems of `path`;
// what is only read otherwise than written (NoteKind::ReadAs) is none.
std::vector<Problem> noteProblems(const std::string& path, const ImportedMenu& menu);

}  // namespace cofferon
