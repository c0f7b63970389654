#pragma once

// A lock held on a file for as long as the program runs: the system drops it
// however the program ends, so a lock that can be taken belongs to no running
// program.

#include <string>

namespace cofferon {

enum class LockCreation {
    New,  // the file must not exist yet (EEXIST otherwise)
    Any,  // made when it is missing
};

// Locks the file without waiting: its descriptor, or -1 with errno set when
// another holds it or it cannot be opened; also when the name no longer leads
// to the file locked (another program removed it meanwhile), since a lock on
// a removed file guards nothing.
int lockFile(const std::string& path, LockCreation creation);

// Drops a lock that lockFile() took.
void unlockFile(int lock);

// This program's process number, which keeps the files of programs running
// side by side apart.
long long currentProcessId();

}  // namespace cofferon
