#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/core/AtomicFile.h"
#include "document/core/WholeMenu.h"
#include "menufile/core/MenuEncoding.h"
#include "menufile/core/MenuImport.h"

class QWidget;

namespace cofferon {

class Dialogs;

// A menu file as written, read back from its bytes.
struct WrittenMenu {
    std::shared_ptr<const ImportedMenu> file;  // with its text: what the next write goes onto
    // Written onto a file's text: the new numbers of its blocks (MenuOnto::blockNumbers).
    std::vector<std::uint32_t> blockNumbers;
};

// The save dialog of menu files: the name chosen (".yml" added unless it
// ends so), or nullopt when the user cancels.
std::optional<std::string> askMenuFileName(QWidget* parent, Dialogs& dialogs);

// Writes the menu file `fileName` exactly as named: onto the text of `onto`,
// the menu file the work was read from (its blocks kept wherever the slots'
// origins say), or, without one, with the tool's own writer. A refusal is
// shown and nothing is written; what the file leaves out of the work is
// listed in one "提示" box to confirm; a failed write is reported. Only the
// tool's own writer says "配置已生成": a file written onto its own text
// answers with the window's title. nullopt when nothing was written.
// `write` is the test seam of the file write.
std::optional<WrittenMenu> writeMenuFile(QWidget* parent, Dialogs& dialogs, const WholeMenu& menu,
                                         const ImportedMenu* onto, OutputEncoding encoding, const std::string& fileName,
                                         const WriteFunction& write = {});

}  // namespace cofferon
