#include "project/core/Recovery.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <utility>

#include "document/core/AtomicFile.h"
#include "document/core/FileLock.h"
#include "document/core/ProgramDirectory.h"
#include "document/core/ReadFile.h"
#include "document/core/Text.h"
#include "project/core/IniFile.h"
#include "project/core/ProjectFile.h"

namespace cofferon {

namespace {

constexpr std::string_view kSection = "Recovery";
constexpr std::string_view kFolderSection = "Folder";
constexpr std::string_view kPrefix = "recovery-";
constexpr std::string_view kRecoveryExtension = ".ini";
constexpr std::string_view kLockExtension = ".lock";

std::string escapePath(std::string_view path)
{
    std::string escaped;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F || c == '%') {
            char buffer[4];
            std::snprintf(buffer, sizeof buffer, "%%%02X", byte);
            escaped += buffer;
        } else {
            escaped += c;
        }
    }
    return escaped;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::string unescapePath(std::string_view escaped)
{
    std::string path;
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] == '%' && i + 2 < escaped.size() && hexDigit(escaped[i + 1]) >= 0 &&
            hexDigit(escaped[i + 2]) >= 0) {
            path += static_cast<char>(hexDigit(escaped[i + 1]) * 16 + hexDigit(escaped[i + 2]));
            i += 2;
        } else {
            path += escaped[i];
        }
    }
    return path;
}

constexpr std::string_view kBase64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string toBase64(std::string_view bytes)
{
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t count = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t group = 0;
        for (std::size_t j = 0; j < 3; ++j)
            group = group << 8 | (j < count ? static_cast<unsigned char>(bytes[i + j]) : 0u);
        for (std::size_t j = 0; j < 4; ++j)
            out += j <= count ? kBase64[(group >> (18 - 6 * j)) & 0x3F] : '=';
    }
    return out;
}

// nullopt for text that is no base64.
std::optional<std::string> fromBase64(std::string_view text)
{
    std::string out;
    std::uint32_t group = 0;
    int bits = 0;
    for (const char c : text) {
        if (c == '=')
            break;
        const std::size_t value = kBase64.find(c);
        if (value == std::string_view::npos)
            return std::nullopt;
        group = group << 6 | static_cast<std::uint32_t>(value);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += static_cast<char>((group >> bits) & 0xFF);
        }
    }
    return out;
}

}  // namespace

std::string recoveryText(const WholeMenu& menu, const std::optional<CurrentFile>& file, std::string_view menuFile,
                         const FolderRecovery* folder)
{
    std::string text = projectText(menu.settings, menu.slots);
    if (folder) {
        text.append("[").append(kFolderSection).append("]\r\n");
        text.append("root=").append(escapePath(folder->root)).append("\r\n");
        for (std::size_t i = 0; i < folder->works.size(); ++i)
            text.append("work")
                .append(numberToText(static_cast<long long>(i + 1)))
                .append("=")
                .append(toBase64(folder->works[i]))
                .append("\r\n");
    }
    text.append("[").append(kSection).append("]\r\n");
    if (!file) {
        text += "kind=none\r\n";
        return text;
    }
    text.append("kind=").append(file->kind == FileKind::Menu ? "menu" : "project").append("\r\n");
    text.append("file=").append(escapePath(file->path)).append("\r\n");
    if (file->kind == FileKind::Menu)
        text.append("encoding=").append(file->encoding == OutputEncoding::Gb2312 ? "gb2312" : "utf-8").append("\r\n");
    if (file->kind == FileKind::Menu && !menuFile.empty()) {
        std::string origins;
        for (int slot = 1; slot <= kSlotCount; ++slot) {
            if (const std::uint32_t origin = menu.slots[slot].origin) {
                origins.append(origins.empty() ? "" : ",").append(numberToText(static_cast<long long>(slot)));
                origins.append(":").append(numberToText(static_cast<long long>(origin)));
            }
        }
        text.append("origins=").append(origins).append("\r\n");
        text.append("source=").append(toBase64(menuFile)).append("\r\n");
    }
    return text;
}

std::optional<RecoveredWork> readRecoveryText(std::string_view bytes)
{
    const IniFile file = IniFile::parse(bytes);
    const std::string kind = file.value(kSection, "kind", "");
    if (kind != "none" && kind != "project" && kind != "menu")
        return std::nullopt;
    RecoveredWork work;
    work.menu = readProject(file);
    const std::string path = unescapePath(file.value(kSection, "file", ""));
    if (kind != "none" && !path.empty()) {
        CurrentFile current;
        current.path = path;
        current.kind = kind == "menu" ? FileKind::Menu : FileKind::Project;
        current.encoding =
            file.value(kSection, "encoding", "") == "gb2312" ? OutputEncoding::Gb2312 : OutputEncoding::Utf8;
        work.file = current;
    }
    if (work.file && work.file->kind == FileKind::Menu) {
        work.menuFile = fromBase64(file.value(kSection, "source", "")).value_or(std::string());
        for (const std::string& pair : splitText(file.value(kSection, "origins", ""), ",")) {
            const std::size_t colon = pair.find(':');
            const long long slot = colon == std::string::npos ? 0 : textToInteger(pair.substr(0, colon));
            if (slot >= 1 && slot <= kSlotCount)
                work.menu.slots[static_cast<int>(slot)].origin =
                    static_cast<std::uint32_t>(std::max(0LL, textToInteger(pair.substr(colon + 1))));
        }
    }
    work.folder = unescapePath(file.value(kFolderSection, "root", ""));
    for (int i = 1; !work.folder.empty(); ++i) {
        const auto other = fromBase64(file.value(kFolderSection, "work" + numberToText(static_cast<long long>(i)), ""));
        if (!other || other->empty())
            break;
        // One level: the other works carry no folder of their own.
        if (auto read = readRecoveryText(*other); read && read->folder.empty())
            work.others.push_back(std::move(*read));
    }
    return work;
}

RecoveryFile::RecoveryFile(std::string path, std::string lockPath, int lock)
    : m_path(std::move(path)), m_lockPath(std::move(lockPath)), m_lock(lock)
{}

RecoveryFile::RecoveryFile(RecoveryFile&& other) noexcept
    : m_path(std::move(other.m_path)), m_lockPath(std::move(other.m_lockPath)), m_lock(std::exchange(other.m_lock, -1))
{}

RecoveryFile& RecoveryFile::operator=(RecoveryFile&& other) noexcept
{
    if (this != &other) {
        release();
        m_path = std::move(other.m_path);
        m_lockPath = std::move(other.m_lockPath);
        m_lock = std::exchange(other.m_lock, -1);
    }
    return *this;
}

RecoveryFile::~RecoveryFile()
{
    release();
}

void RecoveryFile::release()
{
    unlockFile(m_lock);
    m_lock = -1;
}

std::variant<RecoveryFile, FileError> RecoveryFile::claim(const std::string& folder)
{
    std::error_code made;
    std::filesystem::create_directories(folder, made);
    if (made)
        return FileError{made.value()};
    // The process number keeps the names of programs running side by side
    // apart; the count, the windows of one program and a number used again.
    const std::string stem = joinPath(folder, std::string(kPrefix) + numberToText(currentProcessId()));
    for (long long count = 1; count < 10000; ++count) {
        const std::string base = stem + "-" + numberToText(count);
        const std::string lockPath = base + std::string(kLockExtension);
        const int lock = lockFile(lockPath, LockCreation::New);
        if (lock >= 0)
            return RecoveryFile(base + std::string(kRecoveryExtension), lockPath, lock);
        if (errno != EEXIST && errno != EWOULDBLOCK && errno != ENOENT)
            return FileError{errno};
    }
    return FileError{EEXIST};
}

std::vector<RecoveryFile> RecoveryFile::abandoned(const std::string& folder)
{
    std::vector<std::pair<std::filesystem::file_time_type, RecoveryFile>> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(kPrefix))
            continue;
        const bool recovery = name.ends_with(kRecoveryExtension);
        const bool lockOnly = name.ends_with(kLockExtension) &&
            !std::filesystem::exists(entry.path().parent_path() /
                                     (entry.path().stem().string() + std::string(kRecoveryExtension)));
        if (!recovery && !lockOnly)
            continue;
        const std::string base = (entry.path().parent_path() / entry.path().stem()).string();
        const std::string lockPath = base + std::string(kLockExtension);
        const int lock = lockFile(lockPath, LockCreation::Any);
        if (lock < 0)
            continue;  // its program runs
        RecoveryFile file(base + std::string(kRecoveryExtension), lockPath, lock);
        if (lockOnly) {
            file.discard();
            continue;
        }
        std::error_code noTime;
        found.emplace_back(std::filesystem::last_write_time(entry.path(), noTime), std::move(file));
    }
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<RecoveryFile> files;
    for (auto& [time, file] : found)
        files.push_back(std::move(file));
    return files;
}

std::optional<FileError> RecoveryFile::write(std::string_view text) const
{
    return writeFileAtomically(m_path, text);
}

std::variant<std::string, FileError> RecoveryFile::read() const
{
    return readWholeFile(m_path);
}

void RecoveryFile::discard()
{
    // The lock goes last, so no other program takes the file for abandoned meanwhile.
    std::error_code ignored;
    std::filesystem::remove(m_path, ignored);
    std::filesystem::remove(m_lockPath, ignored);
    release();
}

}  // namespace cofferon
