#pragma once

// Reads a menu file of the plugin (this tool's export, or written by hand in
// any YAML style) into a project: the menu settings and the slots as the
// plugin's YAML 1.1 reader sees them, and a list of what could not be taken
// over.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "document/core/WholeMenu.h"
#include "menufile/core/MenuYamlWriter.h"

namespace cofferon {

// How the encoding of the file came about.
enum class EncodingChoice {
    Only,  // the bytes read in one encoding only (ASCII reads the same in both)
    Named,  // the caller named it
    Decided,  // both readings are menus; the tool's own export, or clearly the likelier text, won
    Open,  // both stay plausible: UTF-8 was taken, and `otherReading` is the GB2312 one
};

struct ImportedMenu {
    // The whole menu: a setting the file leaves out or leaves empty is absent
    // (its box shows its hint), an unset switch is off.
    WholeMenu project;
    // One line each (UTF-8), with the item and key: unknown keys, items
    // without a usable position or item ID, two items on one slot, values
    // that are not what their key takes or that no menu file can hold.
    // Empty when the whole menu was taken over.
    std::vector<std::string> notTakenOver;
    OutputEncoding encoding = OutputEncoding::Utf8;  // the encoding the file was read in
    EncodingChoice encodingChoice = EncodingChoice::Only;
    std::shared_ptr<const ImportedMenu> otherReading;  // with EncodingChoice::Open
    // What a person compares between two readings (UTF-8): the title, or the
    // first line of the file with more than ASCII in it.
    std::string sample;
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

// "UTF-8" or "GB2312".
std::string encodingName(OutputEncoding encoding);

// Which encoding was read when both would do ("文件按 UTF-8 和 GB2312 都能读,
// 已按 GB2312 读取"); empty when there was no choice.
std::string encodingNote(const ImportedMenu& menu);

// "第 3 行第 5 列:" and the reason.
std::string describeNotAMenu(const NotAMenu& problem);

// Whether a file name is a menu file's (".yml" or ".yaml", in any case).
bool isMenuFileName(std::string_view name);

}  // namespace cofferon
