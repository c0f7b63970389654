#pragma once

// The folder of the files the program keeps for itself between runs (the
// recovery files). Unset until the program sets it at start; with none set
// nothing is kept, so tests never reach the user's own folder.

#include <string>

namespace cofferon {

void setStateFolder(std::string folder);
const std::string& stateFolder();

// $XDG_STATE_HOME/cofferon, or ~/.local/state/cofferon where that is unset
// or not absolute; empty without either.
std::string xdgStateFolder();

}  // namespace cofferon
