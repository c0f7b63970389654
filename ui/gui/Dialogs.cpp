#include "ui/gui/Dialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QUrl>

#include <algorithm>
#include <vector>

#include "ui/gui/RecentFiles.h"

#include <algorithm>
#include <vector>

namespace cofferon {

QString toolkitFilter(const QString& filter)
{
    // "description|pattern", pairs joined by further bars; a pattern may list
    // several names with ";".
    const QStringList parts = filter.split(QLatin1Char('|'));
    if (parts.size() < 2)
        return filter;
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        QString pattern = parts[i + 1];
        pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        // The toolkit reads the patterns from the parentheses of the description.
        if (description.contains(QLatin1Char('(') + pattern + QLatin1Char(')')))
            filters << description;
        else
            filters << description + QStringLiteral(" (") + pattern + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

QString errorCaption()
{
    return QStringLiteral("错误");
}

QString messageCaption()
{
    return QStringLiteral("消息");
}

namespace {

// The folders of the recent files join the side bar, the newest first, and
// the newest file is chosen already when the dialog starts in its folder.
void offerRecentFiles(QFileDialog& dialog)
{
    QList<QUrl> places = dialog.sidebarUrls();
    QStringList folders;
    for (const QString& file : recentFiles()) {
        const QFileInfo info(file);
        if (!info.dir().exists() || folders.contains(info.absolutePath()))
            continue;
        folders << info.absolutePath();
        const QUrl url = QUrl::fromLocalFile(info.absolutePath());
        if (!places.contains(url))
            places << url;
    }
    dialog.setSidebarUrls(places);
    dialog.setHistory(folders);
    const QStringList files = recentFiles();
    if (!files.isEmpty() && QFileInfo(files.first()).absolutePath() == dialog.directory().absolutePath() &&
        QFileInfo::exists(files.first()))
        dialog.selectFile(QFileInfo(files.first()).fileName());
}

std::optional<QString> chosenFile(QFileDialog& dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString name = dialog.selectedFiles().constFirst();
    setLastFolder(QFileInfo(name).absolutePath());
    return name;
}

}  // namespace

std::optional<QString> QtDialogs::openFileName(QWidget* parent, const QString& filter)
{
    QFileDialog dialog(parent, QString(), lastFolder(), toolkitFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    offerRecentFiles(dialog);
    return chosenFile(dialog);
}

std::optional<QString> QtDialogs::saveFileName(QWidget* parent, const QString& filter)
{
    QFileDialog dialog(parent, QString(), lastFolder(), toolkitFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // A name typed without its extension gains it here already, so the
    // dialog's question before replacing a file is about the file written.
    const QString pattern = filter.section(QLatin1Char('|'), 1, 1);
    if (pattern.startsWith(QStringLiteral("*.")))
        dialog.setDefaultSuffix(pattern.mid(2));
    return chosenFile(dialog);
}

std::optional<QString> QtDialogs::folderName(QWidget* parent)
{
    // The folders opened before stand in the side bar and the history.
    const QStringList folders = recentFolders();
    QFileDialog dialog(parent, QString(), folders.isEmpty() ? lastFolder() : folders.first());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    QList<QUrl> places = dialog.sidebarUrls();
    for (const QString& folder : folders) {
        const QUrl url = QUrl::fromLocalFile(folder);
        if (QFileInfo(folder).isDir() && !places.contains(url))
            places << url;
    }
    dialog.setSidebarUrls(places);
    dialog.setHistory(folders);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

void QtDialogs::message(QWidget* parent, const QString& caption, const QString& text, MessageIcon icon)
{
    QMessageBox box(icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::Information, caption, text,
                    QMessageBox::Ok, parent);
    box.exec();
}

int QtDialogs::question(QWidget* parent, const QString& caption, const QString& text, const QStringList& buttons,
                        int defaultButton, int escapeButton)
{
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::NoButton, parent);
    // One role for all keeps them in the order given.
    std::vector<QPushButton*> added;
    for (const QString& label : buttons)
        added.push_back(box.addButton(label, QMessageBox::ActionRole));
    if (defaultButton >= 0 && defaultButton < static_cast<int>(added.size()))
        box.setDefaultButton(added[static_cast<std::size_t>(defaultButton)]);
    if (escapeButton >= 0 && escapeButton < static_cast<int>(added.size()))
        box.setEscapeButton(added[static_cast<std::size_t>(escapeButton)]);
    box.exec();
    const auto chosen = std::find(added.begin(), added.end(), box.clickedButton());
    return chosen == added.end() ? escapeButton : static_cast<int>(chosen - added.begin());
}

std::optional<QString> QtDialogs::inputText(QWidget* parent, const QString& caption, const QString& prompt,
                                            const QString& initial, bool integerOnly)
{
    QInputDialog dialog(parent);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextValue(initial);
    dialog.setInputMode(QInputDialog::TextInput);
    if (integerOnly) {
        if (auto* edit = dialog.findChild<QLineEdit*>()) {
            static const QRegularExpression digits(QStringLiteral("[0-9]*"));
            edit->setValidator(new QRegularExpressionValidator(digits, edit));
        }
    }
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

}  // namespace cofferon

namespace cofferon {

std::optional<QColor> QtDialogs::chooseColour(QWidget* parent, const QColor& initial)
{
    const QColor chosen = QColorDialog::getColor(initial, parent);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

}  // namespace cofferon
