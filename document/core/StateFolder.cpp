#include "document/core/StateFolder.h"

#include <cstdlib>

#include "document/core/ProgramDirectory.h"

namespace cofferon {

namespace {

std::string& folderStorage()
{
    static std::string folder;
    return folder;
}

}  // namespace

void setStateFolder(std::string folder)
{
    folderStorage() = std::move(folder);
}

const std::string& stateFolder()
{
    return folderStorage();
}

std::string xdgStateFolder()
{
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && state[0] == kPathSeparator)
        return joinPath(state, "cofferon");
    const char* home = std::getenv("HOME");
    if (home && home[0] == kPathSeparator)
        return joinPath(joinPath(home, ".local/state"), "cofferon");
    return {};
}

}  // namespace cofferon
