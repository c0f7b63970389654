#include "folder/core/FolderWalk.h"

#include <algorithm>
#include <cerrno>

#include "document/core/ReadFile.h"
#include "document/core/Text.h"
#include "menufile/core/MenuImport.h"

namespace cofferon {

namespace fs = std::filesystem;

namespace {

// No text of more bytes than this fits the reader's limit in any encoding
// (four bytes a character at most, and a byte-order mark).
constexpr std::uintmax_t kMostBytes = 4 * yaml::kMostCharacters + 3;

std::variant<std::vector<fs::directory_entry>, FileError> listFolder(const fs::path& folder)
{
    std::error_code error;
    std::vector<fs::directory_entry> entries;
    for (fs::directory_iterator it(folder, error); !error && it != fs::directory_iterator(); it.increment(error))
        entries.push_back(*it);
    if (error)
        return FileError{error.value()};
    return entries;
}

std::variant<std::string, FileError> readFile(const fs::path& file)
{
    return readWholeFile(file.string());
}

std::optional<FileStamp> stampFile(const fs::path& file)
{
    std::error_code error;
    const std::uintmax_t size = fs::file_size(file, error);
    if (error)
        return std::nullopt;
    const fs::file_time_type modified = fs::last_write_time(file, error);
    if (error)
        return std::nullopt;
    return FileStamp{size, modified};
}

// Whether `inner` is `outer` or lies inside it (both canonical).
bool within(const fs::path& inner, const fs::path& outer)
{
    const fs::path relative = inner.lexically_relative(outer);
    return !relative.empty() && *relative.begin() != "..";
}

class Walker {
public:
    Walker(const fs::path& root, const FolderAccess& access, FolderWalk& out) : m_access(access), m_out(out)
    {
        std::error_code error;
        m_root = fs::canonical(root, error);
        if (error)
            m_root = fs::absolute(root).lexically_normal();
    }

    void walk(const fs::path& folder, const std::string& prefix, bool top)
    {
        auto listed = m_access.list(folder);
        if (const auto* error = std::get_if<FileError>(&listed)) {
            if (top)
                m_out.rootError = *error;
            else
                m_out.problems.push_back(
                    makeProblem(prefix, {}, rule::kUnreadable, "无法读取这个文件夹:" + readErrorText(*error)));
            return;
        }
        auto& entries = std::get<std::vector<fs::directory_entry>>(listed);
        std::sort(entries.begin(), entries.end(),
                  [](const auto& a, const auto& b) { return a.path().filename() < b.path().filename(); });
        for (const fs::directory_entry& entry : entries) {
            const std::string name = entry.path().filename().string();
            const std::string path = prefix + name;
            std::error_code error;
            const fs::file_status own = entry.symlink_status(error);
            // What cannot be looked at may be a menu or a folder of them.
            if (error)
                m_out.problems.push_back(
                    makeProblem(path, {}, rule::kUnreadable, "无法读取:" + readErrorText({error.value()})));
            else if (fs::is_symlink(own))
                link(entry.path(), folder, path);
            else if (fs::is_directory(own))
                walk(entry.path(), path + "/", false);
            else if (isMenuFileName(name))
                file(entry.path(), path, own);
        }
    }

    void file(const fs::path& file, const std::string& path, const fs::file_status& status)
    {
        if (!fs::is_regular_file(status)) {
            skipFile(file, path, "不是普通文件,没有读取");
            return;
        }
        std::error_code error;
        const std::uintmax_t size = fs::file_size(file, error);
        if (!error && size > kMostBytes) {
            m_out.menus.push_back(
                {path, file,
                 makeProblem(path, {}, rule::kSyntax,
                             "文件超过 " + numberToText(static_cast<long long>(yaml::kMostCharacters)) +
                                 " 个字符,插件的 YAML 读取器不读这么长的文件(文件有 " +
                                 numberToText(static_cast<long long>(size)) + " 字节,没有读取)")});
            return;
        }
        m_out.menus.push_back({path, file, std::nullopt});
    }

private:
    void skipFile(const fs::path& file, const std::string& path, std::string why)
    {
        m_out.menus.push_back({path, file, makeProblem(path, {}, rule::kSkipped, std::move(why))});
    }

    // The plugin goes by the link's own name; a link to a folder is never
    // followed: a folder inside is walked where it stands, one outside is
    // not part of the work.
    void link(const fs::path& link, const fs::path& folder, const std::string& path)
    {
        std::error_code error;
        const std::string written = fs::read_symlink(link, error).string();
        const fs::path target = fs::canonical(link, error);
        const bool menuName = isMenuFileName(path);
        if (error) {
            if (menuName)
                m_out.menus.push_back(
                    {path, link,
                     makeProblem(path, {}, rule::kUnreadable,
                                 "符号链接“" + written + "”读不到文件:" + readErrorText({error.value()}))});
            return;
        }
        const bool isFolder = fs::is_directory(target, error);
        if (!isFolder && !menuName)
            return;
        if (!within(target, m_root)) {
            const std::string why = "符号链接指向文件夹之外的“" + written + "”,没有检查";
            if (isFolder)
                m_out.problems.push_back(makeProblem(path + "/", {}, rule::kSkipped, why));
            else
                skipFile(link, path, why);
            return;
        }
        if (!isFolder) {
            file(link, path, fs::status(target, error));
            return;
        }
        const std::string shown = target.lexically_relative(m_root).generic_string();
        std::string why;
        if (target == m_root)
            why = "符号链接指回菜单文件夹本身,没有进去,免得绕圈";
        else if (const fs::path own = fs::canonical(folder, error); target == own)
            why = "符号链接指回它所在的文件夹“" + shown + "”,没有进去,免得绕圈";
        else if (within(own, target))
            why = "符号链接指回上层文件夹“" + shown + "”,没有进去,免得绕圈";
        else
            why = "符号链接指向文件夹“" + shown + "”,其中的菜单在那里检查";
        m_out.problems.push_back(makeProblem(path + "/", {}, rule::kSkipped, why));
    }

    const FolderAccess& m_access;
    FolderWalk& m_out;
    fs::path m_root;
};

}  // namespace

const FolderAccess& systemFolderAccess()
{
    static const FolderAccess access{listFolder, readFile, stampFile};
    return access;
}

FolderWalk walkMenuFolder(const fs::path& root, const FolderAccess& access, const std::string& prefix)
{
    FolderWalk out;
    std::error_code error;
    const fs::file_status status = fs::status(root, error);
    if (error || status.type() == fs::file_type::not_found) {
        out.rootError = FileError{error ? error.value() : ENOENT};
    } else if (fs::is_directory(status)) {
        Walker(root, access, out).walk(root, prefix, true);
    } else {
        // A file named by itself is checked whatever its name, under the name given.
        Walker(root, access, out).file(root, root.generic_string(), status);
    }
    return out;
}

std::variant<std::string, Problem> readFoundMenu(const FoundMenu& found, const FolderAccess& access)
{
    if (found.notRead)
        return *found.notRead;
    auto bytes = access.read(found.file);
    if (const auto* error = std::get_if<FileError>(&bytes))
        return makeProblem(found.path, {}, rule::kUnreadable, "无法读取:" + readErrorText(*error));
    return std::get<std::string>(std::move(bytes));
}

void readMenus(MenuFolder& folder, const FolderWalk& walk, const FolderAccess& access)
{
    for (const FoundMenu& found : walk.menus) {
        auto read = readFoundMenu(found, access);
        if (auto* why = std::get_if<Problem>(&read))
            folder.setUnread(std::move(*why));
        else
            folder.setMenu(found.path, std::get<std::string>(read));
    }
}

std::string readErrorText(const FileError& error)
{
    switch (error.code) {
    case ENOENT:
        return "不存在";
    case ENOTDIR:
        return "路径中有一段不是文件夹";
    case ELOOP:
        return "符号链接绕成了圈";
    case EIO:
        return "读取时出错";
    default:
        return fileErrorText(error.code);
    }
}

}  // namespace cofferon
