#pragma once

// Work kept against a crash. Each running program keeps its unsaved work in
// a recovery file of its own in the state folder, beside a lock file that it
// holds locked while it runs. The system drops the lock when the program
// ends in any way, so a recovery file whose lock can be taken belongs to a
// program that crashed or was killed, and only those are offered at start.

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "document/core/FileError.h"
#include "document/core/WholeMenu.h"
#include "project/core/CurrentFile.h"

namespace cofferon {

struct RecoveredWork {
    WholeMenu menu;  // the records' origins included
    std::optional<CurrentFile> file;
    // The menu file the work is written onto, as it was last read or
    // written; empty when there is none.
    std::string menuFile;
    // The menus folder that was open (empty for none), and the unsaved work
    // of its other menus.
    std::string folder;
    std::vector<RecoveredWork> others;
};

// The menus folder open beside the work: its root, and the recovery texts
// of its other unsaved menus.
struct FolderRecovery {
    std::string root;
    std::vector<std::string> works;
};

// The project file text of the menu, and a section "Recovery" naming the
// current file, its kind and encoding (the path %-escaped, so any bytes fit),
// the slots' origins and the bytes of `menuFile` (in base64), so that work
// restored is still written onto the file it came from. The whole text
// loads as a project too.
std::string recoveryText(const WholeMenu& menu, const std::optional<CurrentFile>& file, std::string_view menuFile = {},
                         const FolderRecovery* folder = nullptr);

// nullopt when the bytes are not a recovery file.
std::optional<RecoveredWork> readRecoveryText(std::string_view bytes);

class RecoveryFile {
public:
    // A new recovery file of this program's own in `folder` (made when
    // missing), its lock taken; the recovery file itself is not written yet.
    static std::variant<RecoveryFile, FileError> claim(const std::string& folder);

    // The recovery files in `folder` whose program has ended, newest first,
    // each now locked by the caller. Lock files left without a recovery file
    // are removed on the way.
    static std::vector<RecoveryFile> abandoned(const std::string& folder);

    RecoveryFile(RecoveryFile&& other) noexcept;
    RecoveryFile& operator=(RecoveryFile&& other) noexcept;
    RecoveryFile(const RecoveryFile&) = delete;
    RecoveryFile& operator=(const RecoveryFile&) = delete;
    // Releases the lock and leaves the files, for the next start to offer.
    ~RecoveryFile();

    const std::string& path() const { return m_path; }

    // Replaces the recovery file whole. nullopt on success.
    std::optional<FileError> write(std::string_view text) const;
    std::variant<std::string, FileError> read() const;

    // Removes the recovery file and the lock file, and releases the lock.
    void discard();

private:
    RecoveryFile(std::string path, std::string lockPath, int lock);
    void release();

    std::string m_path;
    std::string m_lockPath;
    int m_lock = -1;
};

}  // namespace cofferon
