#include "project/gui/RecoveryKeeper.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <filesystem>
#include <utility>

#include "document/core/StateFolder.h"
#include "ui/gui/Dialogs.h"

namespace cofferon {

namespace {

// A pause in typing this long writes the recovery file; typing on without
// a pause writes it after the longest wait.
constexpr int kPauseMs = 1500;
constexpr int kLongestWaitMs = 3000;

QString fileName(const std::string& path)
{
    return QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))).fileName();
}

}  // namespace

RecoveryKeeper::RecoveryKeeper(std::function<std::string()> work, QObject* parent)
    : QObject(parent), m_work(std::move(work))
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &RecoveryKeeper::writeNow);
}

void RecoveryKeeper::changed()
{
    if (stateFolder().empty())
        return;
    if (!m_timer.isActive())
        m_unwrittenSince.start();
    const qint64 waited = m_unwrittenSince.elapsed();
    m_timer.start(static_cast<int>(std::min<qint64>(kPauseMs, std::max<qint64>(0, kLongestWaitMs - waited))));
}

void RecoveryKeeper::writeNow()
{
    m_timer.stop();
    if (stateFolder().empty())
        return;
    if (!m_file) {
        auto claimed = RecoveryFile::claim(stateFolder());
        if (auto* file = std::get_if<RecoveryFile>(&claimed))
            m_file.emplace(std::move(*file));
    }
    const auto error = m_file ? m_file->write(m_work()) : std::optional<FileError>(FileError{});
    // Said once: the work itself is fine, and the next change tries again.
    if (error && !std::exchange(m_failed, true))
        qWarning("cannot keep a recovery file in %s", stateFolder().c_str());
}

void RecoveryKeeper::discard()
{
    m_timer.stop();
    if (m_file)
        m_file->discard();
    m_file.reset();
}

bool RecoveryKeeper::offerAbandoned(QWidget* parent, Dialogs& dialogs,
                                    const std::function<void(const RecoveredWork&)>& restore)
{
    if (stateFolder().empty())
        return false;
    for (RecoveryFile& found : RecoveryFile::abandoned(stateFolder())) {
        const auto bytes = found.read();
        const auto* text = std::get_if<std::string>(&bytes);
        const auto work = text ? readRecoveryText(*text) : std::nullopt;
        if (!work)
            continue;  // not a file of ours to judge
        const QDateTime written = QFileInfo(QFile::decodeName(QByteArray::fromStdString(found.path()))).lastModified();
        const QString what =
            work->file ? QStringLiteral("“%1”").arg(fileName(work->file->path)) : QStringLiteral("没有保存过的配置");
        // Esc restores too: only 不恢复 throws the work away.
        const int answer =
            dialogs.question(parent, QStringLiteral("提示"),
                             QStringLiteral("上次程序没有正常关闭,%1的更改还没有保存(%2)。\n要恢复这些更改吗?")
                                 .arg(what, QLocale().toString(written, QLocale::ShortFormat)),
                             {QStringLiteral("恢复"), QStringLiteral("不恢复")}, 0, 0);
        if (answer == 1) {
            found.discard();
            continue;
        }
        restore(*work);
        // The work is this program's own now; the old file goes only once it is kept anew.
        writeNow();
        if (m_file && std::filesystem::exists(m_file->path()))
            found.discard();
        return true;
    }
    return false;
}

}  // namespace cofferon
