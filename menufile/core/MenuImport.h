#pragma once

// Reads a menu file of the plugin (this tool's export, or written by hand in
// any YAML style) into a project: the menu settings and the slots as the
// plugin's YAML 1.1 reader sees them, and a list of what could not be taken
// over.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "document/core/WholeMenu.h"
#include "menufile/core/MenuKeys.h"
#include "menufile/core/MenuYamlWriter.h"
#include "menufile/core/YamlTree.h"

namespace cofferon {

// How the encoding of the file came about.
enum class EncodingChoice {
    Only,  // the bytes read in one encoding only (ASCII reads the same in both)
    Named,  // the caller named it
    Decided,  // both readings are menus; the tool's own export, or clearly the likelier text, won
    Open,  // both stay plausible: UTF-8 was taken, and `otherReading` is the GB2312 one
};

// What the import says of a part of the file it did not take over as written.
enum class NoteKind {
    UnknownKey,  // a key the tool does not edit; kept when the file is written back in place
    Value,  // a value its key cannot take, or that no menu file can hold: not taken
    Item,  // an item without a usable position or item ID: not taken
    DuplicateKey,  // a key that another of its block, in another case, comes before: not taken
    DuplicatePosition,  // a second item on one slot: not taken
    OutsideRows,  // an item below the menu's last row: not taken
    ReadAs,  // a value taken as the reader reads it, which is not as written
};

struct ImportNote {
    NoteKind kind = NoteKind::Value;
    yaml::Mark mark;  // where the key or value stands
    std::string text;  // UTF-8, with the item and key
};

// Where the import found a key it took: the key and its value, as the
// merged view of the mapping gives them (the value may stand in a mapping
// merged in, or be an alias).
struct KeyPlace {
    yaml::NodeId key = 0;
    yaml::NodeId value = 0;
};

// A mapping the import read: the top-level entry it is the value of (or
// the mapping itself for the opening item) and its keys, in the order of
// their table (kSlotKeys, kSettingKeys or kOpeningKeys).
struct BlockPlace {
    std::size_t entry = 0;  // among the root's own entries
    yaml::NodeId mapping = 0;
    std::array<std::optional<KeyPlace>, kSlotKeyCount> keys{};
};

// A mapping at the top of the file other than the settings: an item, as
// the import read it, whether it took it or not.
struct ItemBlock {
    BlockPlace place;
    int slot = 0;  // where its position puts it, in any row; 0 without a usable position and item ID
    bool taken = false;  // the import put it in `slot`
    // What it holds, as the slot would hold it; a block taken leaves it to
    // the menu's slot (see blockRecord).
    SlotRecord record;
};

struct MenuPlaces {
    std::optional<BlockPlace> settings;
    std::optional<BlockPlace> openingItem;
    std::vector<ItemBlock> blocks;  // in the order of the file
    // Counted from 1 in `blocks`: the block the import put in each slot (1..54), or 0.
    std::array<std::uint32_t, kSlotCount + 1> blockOfSlot{};
};

// The text of a menu file as read, kept to write it back in place.
struct MenuText {
    std::string bytes;  // the file
    std::string decoded;  // a file in GBK, in UTF-8
    // What the tree was read from: the file without a byte-order mark, or `decoded`.
    std::string_view utf8;
    bool byteOrderMark = false;
    yaml::Tree tree;
    MenuPlaces places;
};

struct ImportedMenu {
    // The whole menu: a setting the file leaves out or leaves empty is absent
    // (its box shows its hint), an unset switch is off.
    WholeMenu project;
    // One note each, with the item and key: unknown keys, items without a
    // usable position or item ID, two items on one slot, values that are not
    // what their key takes or that no menu file can hold. Empty when the
    // whole menu was taken over as written.
    std::vector<ImportNote> notTakenOver;
    OutputEncoding encoding = OutputEncoding::Utf8;  // the encoding the file was read in
    EncodingChoice encodingChoice = EncodingChoice::Only;
    std::shared_ptr<const ImportedMenu> otherReading;  // with EncodingChoice::Open
    // What a person compares between two readings (UTF-8): the title, or the
    // first line of the file with more than ASCII in it.
    std::string sample;
    // With importMenuText: the text and where each value came from.
    std::shared_ptr<const MenuText> text;
};

// Why a file is no menu: where the reading stopped (counted from 1) and why (UTF-8).
struct NotAMenu {
    int line = 1;
    int column = 1;
    std::string reason;
};

// A menu file is UTF-8, with or without a byte-order mark, or GBK as this
// tool's GB2312 export writes it; `encoding` names one of them outright.
// Where the bytes read as both and both are menus, a reading that this tool
// would export as exactly these bytes wins where the other would not; else
// the text with clearly fewer of the characters that a misread file is full
// of wins (EncodingChoice::Decided); else both stay (EncodingChoice::Open).
std::variant<ImportedMenu, NotAMenu> importMenu(std::string_view bytes,
                                                std::optional<OutputEncoding> encoding = std::nullopt);

// The same, keeping the file's text and tree in `text` (of each reading),
// for writing the file back in place.
std::variant<ImportedMenu, NotAMenu> importMenuText(std::string_view bytes,
                                                    std::optional<OutputEncoding> encoding = std::nullopt);
// The same, the bytes moved into the text kept.
std::variant<ImportedMenu, NotAMenu> importMenuText(std::string&& bytes,
                                                    std::optional<OutputEncoding> encoding = std::nullopt);

// "UTF-8" or "GB2312".
std::string encodingName(OutputEncoding encoding);

// Which encoding was read when both would do ("文件按 UTF-8 和 GB2312 都能读,
// 已按 GB2312 读取"); empty when there was no choice.
std::string encodingNote(const ImportedMenu& menu);

// The place of the item block the import put in the slot (1..54), or nullptr.
const BlockPlace* slotPlace(const MenuPlaces& places, int slot);

// What the item block (counted from 0) holds, as a slot would hold it.
const SlotRecord& blockRecord(const ImportedMenu& menu, std::size_t block);

// The notes' texts, one line each.
std::vector<std::string> noteLines(const std::vector<ImportNote>& notes);

// "第 3 行第 5 列:" and the reason.
std::string describeNotAMenu(const NotAMenu& problem);

// Whether a file name is a menu file's (".yml" or ".yaml", in any case).
bool isMenuFileName(std::string_view name);

}  // namespace cofferon
