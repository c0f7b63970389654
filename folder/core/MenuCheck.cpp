#include "folder/core/MenuCheck.h"

#include <variant>

#include "document/core/Codec.h"
#include "folder/core/NoteProblems.h"

namespace cofferon {

namespace {

// Whether the text holds no YAML document at all (nothing, or comments and
// blank lines only), in either encoding the import reads.
bool holdsNoDocument(std::string_view bytes)
{
    auto none = [](std::string_view utf8) {
        const auto tree = yaml::parseYaml(utf8);
        return std::holds_alternative<yaml::Tree>(tree) && !std::get<yaml::Tree>(tree).root;
    };
    std::string_view text = bytes;
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    if (none(text))
        return true;
    const auto fromGbk = gb18030ToUtf8(bytes);
    return fromGbk && *fromGbk != bytes && none(*fromGbk);
}

}  // namespace

CheckedMenu checkMenu(const std::string& path, std::string_view bytes)
{
    CheckedMenu checked;
    const auto read = importMenuText(bytes);
    if (const auto* refused = std::get_if<NotAMenu>(&read)) {
        // An empty file is refused at its start; a refusal further on needs no second reading.
        const bool empty = refused->line == 1 && refused->column == 1 && holdsNoDocument(bytes);
        checked.problems.push_back(
            makeProblem(path, {refused->line, refused->column}, empty ? rule::kEmpty : rule::kSyntax, refused->reason));
        return checked;
    }
    const ImportedMenu& menu = std::get<ImportedMenu>(read);
    checked.menu = true;
    checked.problems = noteProblems(path, menu);
    if (const std::string note = encodingNote(menu); !note.empty())
        checked.problems.push_back(makeProblem(path, {}, rule::kEncoding, note));

    checked.title = menu.project.settings.title;
    checked.command = menu.project.settings.menuCommand;
    if (menu.text->places.settings) {
        if (const auto& place = menu.text->places.settings->keys[kCommandKey])
            checked.commandMark = menu.text->tree[place->key].mark;
    }

    checked.links = menuLinks(menu);
    int warned = 0;  // one warning an item
    for (const MenuLink& link : checked.links) {
        if (link.keepOpen || link.slot == warned)
            continue;
        warned = link.slot;
        checked.problems.push_back(makeProblem(path, link.mark, rule::kOpenNeedsKeepOpen,
                                               "打开菜单“" + link.target + "”需要 KEEP-OPEN: true", link.slot));
    }
    return checked;
}

}  // namespace cofferon
