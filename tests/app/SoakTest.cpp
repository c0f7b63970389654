#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStringDecoder>
#include <QTest>
#include <QWindow>

#include <yaml-cpp/yaml.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "app/gui/MainWindow.h"
#include "document/core/ItemId.h"
#include "document/core/ProgramDirectory.h"
#include "document/core/StateFolder.h"
#include "editor/gui/SlotEditor.h"
#include "preview/core/StarterIcons.h"
#include "preview/gui/ItemPicker.h"
#include "preview/gui/PreviewGrid.h"
#include "support/Controls.h"
#include "support/FailingWrite.h"
#include "support/FakeDialogs.h"
#include "support/GuiTestMain.h"
#include "support/SoakDriver.h"
#include "support/TempDir.h"
#include "ui/gui/Dialogs.h"
#include "ui/gui/DocText.h"
#include "ui/gui/InputHints.h"

using namespace cofferon;

namespace {

constexpr std::uint32_t kDefaultSeed = 20240611;
constexpr int kDefaultEvents = 20000;
// A run this long that never reached the item picker drives nothing.
constexpr int kEventsThatReachEveryWindow = 5000;

std::uint32_t seedFromEnvironment()
{
    bool ok = false;
    const qulonglong seed = qEnvironmentVariable("COFFERON_SOAK_SEED").toULongLong(&ok);
    return ok ? static_cast<std::uint32_t>(seed) : kDefaultSeed;
}

int eventsFromEnvironment()
{
    bool ok = false;
    const int events = qEnvironmentVariable("COFFERON_SOAK_EVENTS").toInt(&ok);
    return ok && events > 0 ? events : kDefaultEvents;
}

// A handful of icons: starter pictures, and files in other BMP shapes that a
// user may drop into the folder (the picture work must not read past them).
void writeIcons(const std::string& folder)
{
    std::filesystem::create_directories(folder);
    const std::vector<std::string> wanted = {"1-0.bmp", "35-14.bmp", "35-5.bmp", "298-0.bmp", "299-0.bmp", "397-3.bmp"};
    for (const StarterIcon& icon : starterIcons()) {
        if (std::find(wanted.begin(), wanted.end(), icon.fileName) != wanted.end())
            test::writeFile(folder + "/" + icon.fileName, std::string(icon.picture.begin(), icon.picture.end()));
    }
    QImage small(16, 16, QImage::Format_RGB32);
    small.fill(QColor(20, 200, 20));
    small.save(QString::fromStdString(folder + "/7-0.bmp"), "BMP");
    QImage large(64, 64, QImage::Format_RGB32);
    large.fill(QColor(200, 20, 20));
    large.save(QString::fromStdString(folder + "/8-0.bmp"), "BMP");
    QImage paletted(32, 32, QImage::Format_Indexed8);
    paletted.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 0)});
    paletted.fill(1);
    paletted.save(QString::fromStdString(folder + "/12-0.bmp"), "BMP");
    // Picked as "264" (no data value) and as "6:1:2" (not an item ID at all).
    test::writeFile(folder + "/264.bmp", test::readFile(folder + "/1-0.bmp"));
    test::writeFile(folder + "/6-1-2.bmp", test::readFile(folder + "/1-0.bmp"));
}

// A project file as a hand edit might leave it: values out of range, blank
// lore lines, a colour with too few pieces, slots that do not exist.
std::string oddProject()
{
    const QString text =
        QStringLiteral("[Setting]\r\ntitle=&6&l标题\r\nItem=abc\r\ncommand=/Shop\r\nleft=true\r\nright=yes\r\nrow=9\r\n"
                       "[1]\r\nid=298\r\ncolor=999, -5\r\nenchants=Sharpness, 5&^p&^pMending\r\nlore=&^p&^p  &^p　\r\n"
                       "name=%1\r\nkeep-open=true\r\n"
                       "[2]\r\nid=0\r\nname=x\r\n"
                       "[3]\r\nid=299:0\r\ncolor=10\r\nitem=264\r\namount=-1\r\n"
                       "[54]\r\nid=35:14\r\nitem=264\r\namount=5\r\ncommand=tell:a&^pop:b\r\n"
                       "[55]\r\nid=1\r\n");
    return qtToDoc(text.arg(QString(300, QChar(u'长'))));
}

}  // namespace

// In a sanitized build UBSan stops at its first report, as AddressSanitizer
// does, also when the test runs outside ctest.
extern "C" const char* __ubsan_default_options()
{
    return "halt_on_error=1:print_stacktrace=1";
}

// Random clicks, keys, texts, drops and clipboard changes over the main
// window, the slot editor, the item picker and their popups. The program
// must neither crash nor show a window of its own, and after every step the
// grid must still agree with the document.
class SoakTest : public QObject {
    Q_OBJECT

private:
    test::TempDir m_dir;
    Document m_document;
    test::FakeDialogs m_dialogs;
    std::size_t m_messagesSeen = 0;
    int m_loads = 0;
    int m_saves = 0;
    int m_editorOpenings = 0;
    int m_mostFilled = 0;
    int m_stepsWithFilledSlots = 0;
    bool m_pickerSeen = false;
    int m_closeRequests = 0;
    int m_closesAccepted = 0;
    int m_lastAnswer = -1;
    QString m_closedOverWork;

    void prepareFolder()
    {
        writeIcons(m_dir.file("items"));
        test::writeFile(m_dir.file("golden.ini"), test::readFile(COFFERON_TEST_DATA "/project-golden.ini"));
        test::writeFile(m_dir.file("odd.ini"), oddProject());
        test::writeFile(m_dir.file("notes.txt"), std::string("\0\xff\xfe[1\r\n=", 9));
        // Bytes that are no GB18030 text, and a line longer than any box.
        test::writeFile(m_dir.file("bytes.ini"),
                        "[Setting]\r\ntitle=\x81\x30\r\nItem=35:\xff\r\n[1]\r\nid=1\r\nname=\x81\r\nlore=" +
                            std::string(5000, 'a') + "&^p\x80&^\r\n");
        // Names that cannot be written: a folder stands where the file would go.
        for (const char* folder : {"sub", "taken.ini", "taken.yml"})
            std::filesystem::create_directories(m_dir.path() / folder);
        // Menus kept by hand, linking to each other, for the menus folder.
        test::writeFile(m_dir.file("kept.yml"), test::readFile(COFFERON_TEST_DATA "/menus/kept-by-hand.yml"));
        test::writeFile(m_dir.file("sub/main.yml"),
                        "menu-setting:\n  name: Main\n1:\n  ID: 1\n  POSITION-X: 1\n"
                        "  POSITION-Y: 1\n  COMMAND: 'open: kept.yml'\n");
    }

    std::optional<QString> answerFileName(test::SoakDriver& driver, bool save)
    {
        const QString folder = QString::fromStdString(m_dir.path().string()) + QLatin1Char('/');
        const int roll = driver.between(1, 100);
        if (roll <= 15)
            return std::nullopt;
        if (roll <= 20)
            return QString();
        if (roll <= 26)
            return folder + QStringLiteral("missing/menu");
        if (save) {
            ++m_saves;
            static const std::vector<QString> names = {QStringLiteral("menu"),      QStringLiteral("menu.ini"),
                                                       QStringLiteral("menu.yml"),  QStringLiteral("menu.INI"),
                                                       QStringLiteral("菜单"),      QStringLiteral("a b"),
                                                       QStringLiteral("sub"),       QStringLiteral("taken"),
                                                       QStringLiteral("taken.ini"), QStringLiteral("taken.yml")};
            return folder + driver.pick(names);
        }
        if (roll <= 30)
            return folder + QStringLiteral("nothing-here.ini");
        // Mostly a project; else any file of the folder, icons and menus included.
        const bool project = driver.chance(60);
        std::vector<QString> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(m_dir.path())) {
            if (!project || (entry.path().extension() == ".ini" && entry.is_regular_file()))
                files.push_back(QString::fromStdString(entry.path().string()));
        }
        std::sort(files.begin(), files.end());
        ++m_loads;
        return driver.pick(files);
    }

    static std::optional<QString> answerInput(test::SoakDriver& driver, const test::FakeDialogs::Input& request)
    {
        if (driver.chance(25))
            return std::nullopt;
        if (request.integerOnly) {
            static const std::vector<QString> numbers = {QString(), QStringLiteral("0"), QStringLiteral("5"),
                                                         QStringLiteral("100"), QStringLiteral("99999999999999999999")};
            return driver.pick(numbers);
        }
        static const std::vector<QString> levels = {QStringLiteral("1"),   QStringLiteral("3x"),
                                                    QStringLiteral("0"),   QStringLiteral("-1"),
                                                    QStringLiteral("abc"), QStringLiteral("4294967297")};
        return driver.chance(40) ? driver.pick(levels) : driver.randomText(false);
    }

    static bool expectedWindow(const QWidget* window, const MainWindow* main)
    {
        return window == main || qobject_cast<const SlotEditor*>(window) || qobject_cast<const ItemPicker*>(window) ||
            qobject_cast<const QMenu*>(window) || window->inherits("QComboBoxPrivateContainer") ||
            window->inherits("QTipLabel");
    }

    QString brokenInvariant(MainWindow& window)
    {
        const int rows = test::child<QComboBox>(&window, "行数")->currentIndex() + 1;
        const int visible = rows * kColumns;
        const int current = m_document.currentSlot;
        if (current < 1 || current > visible)
            return QStringLiteral("current slot %1 with %2 rows shown").arg(current).arg(rows);
        const QLabel* redbox = test::child<QLabel>(&window, "Redbox");
        if (redbox->pos() != window.grid()->cell(current)->pos())
            return QStringLiteral("red frame not on slot %1").arg(current);
        int filled = 0;
        for (int slot = 1; slot <= kSlotCount; ++slot) {
            const SlotCell* cell = window.grid()->cell(slot);
            if (cell->isHidden() != (slot > visible))
                return QStringLiteral("cell %1 %2 with %3 rows")
                    .arg(slot)
                    .arg(cell->isHidden() ? QStringLiteral("hidden") : QStringLiteral("shown"))
                    .arg(rows);
            const bool valid = isValidItemId(m_document.slots[slot].id);
            filled += valid ? 1 : 0;
            if (cell->pixmap().isNull() == valid)
                return QStringLiteral("cell %1 %2 a picture for id \"%3\"")
                    .arg(slot)
                    .arg(valid ? QStringLiteral("lacks") : QStringLiteral("has"), docToQt(m_document.slots[slot].id));
        }

        // The mark in the title is the work compared with its file.
        if (window.windowHandle()->title().contains(QStringLiteral("* — ")) != window.hasUnsavedChanges())
            return QStringLiteral("the title \"%1\" with unsaved changes %2")
                .arg(window.windowHandle()->title())
                .arg(window.hasUnsavedChanges());
        if (!m_closedOverWork.isEmpty())
            return m_closedOverWork;
        // Recovery files are kept in the test's folder and nowhere else.
        if (stateFolder() != m_dir.file("state"))
            return QStringLiteral("recovery files in %1").arg(QString::fromStdString(stateFolder()));

        m_mostFilled = std::max(m_mostFilled, filled);
        m_stepsWithFilledSlots += filled > 0 ? 1 : 0;

        const QList<SlotEditor*> editors = window.findChildren<SlotEditor*>();
        const QList<ItemPicker*> pickers = window.findChildren<ItemPicker*>();
        m_pickerSeen = m_pickerSeen || !pickers.isEmpty();
        if (editors.size() > 1 || pickers.size() > 1)
            return QStringLiteral("%1 slot editors and %2 item pickers open").arg(editors.size()).arg(pickers.size());
        for (const SlotEditor* editor : editors) {
            const QWidget* target = editor->insertTarget();
            if (target && target != test::child<QLineEdit>(editor, "物品名称") &&
                target != test::child<QPlainTextEdit>(editor, "Lore") &&
                target != test::child<QPlainTextEdit>(editor, "指令"))
                return QStringLiteral("insert target %1").arg(target->objectName());
        }

        // Grey is the colour of hints and of nothing else.
        QList<QLineEdit*> boxes = window.findChildren<QLineEdit*>();
        for (QLineEdit* box : std::as_const(boxes)) {
            if (showsHint(box) && box->text() != hintText(box))
                return QStringLiteral("%1 shows \"%2\" in the hint colour")
                    .arg(box->objectName(), test::printable(box->text()));
        }

        for (; m_messagesSeen < m_dialogs.messages.size(); ++m_messagesSeen) {
            const test::FakeDialogs::Message& message = m_dialogs.messages[m_messagesSeen];
            const bool error = message.caption == errorCaption() && message.icon == MessageIcon::Warning;
            const bool confirmation = message.caption == messageCaption() && message.icon == MessageIcon::Information &&
                message.text == QStringLiteral("配置已生成");
            // An import says which encoding it read, and what it left out.
            const bool imported = message.caption == messageCaption() && message.icon == MessageIcon::Information &&
                message.text.startsWith(QStringLiteral("菜单已读取。\n"));
            // A project saved from a menu file says once what only the menu file keeps.
            const bool keysLeft = message.caption == messageCaption() && message.icon == MessageIcon::Information &&
                message.text.startsWith(QStringLiteral("配置文件不保存菜单文件中"));
            if ((!error && !confirmation && !imported && !keysLeft) || message.text.isEmpty())
                return QStringLiteral("message \"%1\" captioned \"%2\"").arg(message.text, message.caption);
            if (confirmation) {
                if (const QString broken = unreadableMenu(); !broken.isEmpty())
                    return broken;
            }
        }
        return QString();
    }

    // What the plugin does with a menu file: read it as YAML. Files in GB2312
    // that are not also UTF-8 are left out; the parser reads UTF-8 only.
    QString unreadableMenu() const
    {
        for (const auto& entry : std::filesystem::directory_iterator(m_dir.path())) {
            if (entry.path().extension() != ".yml" || !entry.is_regular_file())
                continue;
            const std::string bytes = test::readFile(entry.path().string());
            QStringDecoder utf8(QStringDecoder::Utf8);
            (void)utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
            if (utf8.hasError())
                continue;
            try {
                (void)YAML::Load(bytes);
            } catch (const YAML::Exception& error) {
                return QStringLiteral("the menu file %1 is no YAML: %2")
                    .arg(QString::fromStdString(entry.path().filename().string()),
                         QString::fromStdString(error.what()));
            }
        }
        return QString();
    }

    static void printCounts(const char* title, const std::map<QString, int>& counts)
    {
        std::printf("%s:", title);
        for (const auto& [name, count] : counts)
            std::printf(" %s %d;", qPrintable(name), count);
        std::printf("\n");
    }

private Q_SLOTS:
    void randomInputKeepsTheWindowsWhole()
    {
        const std::uint32_t seed = seedFromEnvironment();
        const int events = eventsFromEnvironment();
        std::printf(
            "soak seed %u, %d events (COFFERON_SOAK_SEED and COFFERON_SOAK_EVENTS replay or lengthen the run)\n", seed,
            events);
        std::fflush(stdout);

        prepareFolder();
        setProgramDirectory(m_dir.path().string());
        setStateFolder(m_dir.file("state"));
        MainWindow window(m_document, m_dialogs);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        connect(&window, &MainWindow::slotEditorRequested, this, [this] { ++m_editorOpenings; });
        test::SoakDriver driver(seed, events, &window);
        m_dialogs.answerFileName = [&](bool save, const QString&) { return answerFileName(driver, save); };
        m_dialogs.answerInput = [&](const test::FakeDialogs::Input& request) { return answerInput(driver, request); };
        // The soak's own folder as the menus folder, whose menus the list then shows.
        m_dialogs.answerFolderName = [&]() -> std::optional<QString> {
            if (driver.chance(30))
                return std::nullopt;
            return QString::fromStdString(m_dir.path().string());
        };
        m_dialogs.answerColour = [&]() -> std::optional<QColor> {
            if (driver.chance(30))
                return std::nullopt;
            return QColor(driver.between(0, 255), driver.between(0, 255), driver.between(0, 255));
        };
        // Every question: any of its buttons, Return or Esc.
        m_dialogs.answerQuestion = [&](const test::FakeDialogs::Question& asked) {
            const int roll = driver.between(-2, static_cast<int>(asked.buttons.size()) - 1);
            m_lastAnswer = roll == -2 ? asked.escapeButton : roll == -1 ? asked.defaultButton : roll;
            return m_lastAnswer;
        };
        driver.expectedWindow = [&](const QWidget* shown) { return expectedWindow(shown, &window); };
        driver.check = [&] { return brokenInvariant(window); };
        // A full disk now and then, for the save and the export.
        driver.extraActions.push_back({1, [&] {
                                           const bool failing = driver.chance(30);
                                           window.setWriteFunction(failing ? test::failAfter(driver.between(0, 300))
                                                                           : WriteFunction());
                                           return failing ? QStringLiteral("disk full") : QStringLiteral("disk fine");
                                       }});

        // The close box or the session's end: a window that closes holds
        // no unsaved work unless the user said not to save it. The window
        // stays open for the run to go on.
        driver.extraActions.push_back({1, [&] {
                                           const std::size_t asked = m_dialogs.questions.size();
                                           QCloseEvent event;
                                           QCoreApplication::sendEvent(&window, &event);
                                           ++m_closeRequests;
                                           m_closesAccepted += event.isAccepted() ? 1 : 0;
                                           // Not saving, or saving a menu file without what it cannot hold.
                                           const QString lastButton = m_dialogs.questions.size() > asked
                                               ? m_dialogs.questions.back().buttons.value(m_lastAnswer)
                                               : QString();
                                           const bool notSaving = lastButton == QStringLiteral("不保存") ||
                                               lastButton == QStringLiteral("继续保存");
                                           if (event.isAccepted() && window.hasUnsavedChanges() && !notSaving)
                                               m_closedOverWork =
                                                   QStringLiteral("closed over unsaved work after %1 questions, "
                                                                  "the last \"%2\" answered %3")
                                                       .arg(m_dialogs.questions.size() - asked)
                                                       .arg(m_dialogs.questions.empty()
                                                                ? QString()
                                                                : test::printable(m_dialogs.questions.back().text))
                                                       .arg(m_lastAnswer);
                                           return QStringLiteral("close request");
                                       }});

        driver.run();

        printCounts("on top", driver.tops());
        printCounts("actions", driver.actions());
        std::printf("slot editor opened %d times; file names given: %d to load, %d to write; %zu inputs, %zu "
                    "messages; up to %d slots filled, some filled after %d events\n",
                    m_editorOpenings, m_loads, m_saves, m_dialogs.inputRequests.size(), m_dialogs.messages.size(),
                    m_mostFilled, m_stepsWithFilledSlots);
        std::printf("files in the test folder:");
        for (const auto& entry : std::filesystem::directory_iterator(m_dir.path()))
            std::printf(" %s", entry.path().filename().c_str());
        std::printf("\n");
        std::printf("close requests: %d, of which %d closed\n", m_closeRequests, m_closesAccepted);
        setProgramDirectory(".");
        setStateFolder({});
        // The test library cuts long messages; the events before the failure go to the output whole.
        if (!driver.failure().isEmpty())
            std::printf("%s\n", qPrintable(driver.failure()));
        QVERIFY2(driver.failure().isEmpty(), qPrintable(driver.failure().section(QLatin1Char('\n'), 0, 0)));
        QCOMPARE(driver.eventsDone(), events);
        if (events >= kEventsThatReachEveryWindow)
            QVERIFY2(m_editorOpenings > 0 && m_pickerSeen,
                     "the input did not reach both the slot editor and the item picker");
    }
};

COFFERON_GUI_TEST_MAIN(SoakTest)
#include "SoakTest.moc"
