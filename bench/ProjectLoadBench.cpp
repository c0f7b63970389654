// Loading a 10 MB project in the window: reading the file, filling the
// boxes, the 54 cell pictures and the preview, until the window is drawn.

#include <QCheckBox>
#include <QPixmap>

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>

#include "app/gui/MainWindow.h"
#include "document/core/Document.h"
#include "document/core/ProgramDirectory.h"
#include "document/core/StateFolder.h"
#include "project/core/ProjectFile.h"
#include "project/gui/ProjectCommands.h"
#include "tests/support/FakeDialogs.h"

namespace {

// About 10 MB: a title and a name of long unbroken runs, and every slot
// holding a lore of thousands of lines.
std::string tenMegabyteProject()
{
    cofferon::ProjectSettings settings;
    settings.title = std::string(1 << 20, 'T');
    settings.rowIndex = 5;
    cofferon::SlotTable slots;
    std::string lore;
    for (int line = 0; line < 4000; ++line)
        lore += "&7\xB5\xDA " + std::to_string(line) + " \xD0\xD0 &alore line\r\n";
    for (int slot = 1; slot <= cofferon::kSlotCount; ++slot)
        slots[slot] = {.lore = lore, .name = "&c" + std::to_string(slot), .id = "35:" + std::to_string(slot % 16)};
    slots[1].name = std::string(400000, 'N');
    return cofferon::projectText(settings, slots);
}

// That project on disk and a shown main window that loads it.
class TenMegabyteWindow {
public:
    TenMegabyteWindow()
        : m_folder(std::filesystem::temp_directory_path() / "cofferon-bench"),
          m_bytes(tenMegabyteProject()),
          m_window(m_document, m_dialogs)
    {
        // Every open dialog answers with that one file; nothing else is asked.
        const QString file = QString::fromStdString((m_folder / "ten.ini").string());
        m_dialogs.answerFileName = [file](bool, const QString&) { return std::optional<QString>(file); };
        std::filesystem::create_directories(m_folder);
        std::ofstream(m_folder / "ten.ini", std::ios::binary) << m_bytes;
        cofferon::setProgramDirectory(m_folder.string());
        m_window.show();
    }
    ~TenMegabyteWindow() { std::filesystem::remove_all(m_folder); }

    void load() { cofferon::loadProjectCommand(m_window, m_dialogs); }

    std::filesystem::path m_folder;
    std::string m_bytes;
    cofferon::Document m_document;
    cofferon::test::FakeDialogs m_dialogs;
    cofferon::MainWindow m_window;
};

void BM_LoadProject10MB(benchmark::State& state)
{
    TenMegabyteWindow loaded;
    for (auto _ : state) {
        loaded.load();
        benchmark::DoNotOptimize(loaded.m_window.grab());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(loaded.m_bytes.size()));
}
BENCHMARK(BM_LoadProject10MB)->Unit(benchmark::kMillisecond)->UseRealTime();

// Undo and redo of emptying one slot of that project: each puts the whole
// menu back through the window's one entry, all 54 cells redrawn.
void BM_UndoRedoSlotStep10MB(benchmark::State& state)
{
    TenMegabyteWindow loaded;
    loaded.load();
    cofferon::emptySlotCommand(loaded.m_window, loaded.m_document);
    for (auto _ : state) {
        loaded.m_window.undo();
        loaded.m_window.redo();
    }
}
BENCHMARK(BM_UndoRedoSlotStep10MB)->Unit(benchmark::kMillisecond)->UseRealTime();

// A box of that project, opened as the current file, ticked and unticked
// again: each compares the work with the file, the second time all 10 MB of
// it, as nothing differs then.
void BM_CompareWithSavedWork10MB(benchmark::State& state)
{
    TenMegabyteWindow loaded;
    loaded.m_window.openFile(QString::fromStdString((loaded.m_folder / "ten.ini").string()));
    auto* box = loaded.m_window.findChild<QCheckBox*>(QStringLiteral("左键开启"));
    for (auto _ : state) {
        box->toggle();
        if (!loaded.m_window.hasUnsavedChanges())
            state.SkipWithError("a ticked box is a change");
        box->toggle();
    }
    if (loaded.m_window.hasUnsavedChanges())
        state.SkipWithError("the work should match its file again");
}
BENCHMARK(BM_CompareWithSavedWork10MB)->Unit(benchmark::kMillisecond)->UseRealTime();

// Keeping that project in the recovery file after a pause in typing: the
// project text and the atomic write, on the window's thread.
void BM_WriteRecovery10MB(benchmark::State& state)
{
    TenMegabyteWindow loaded;
    loaded.load();
    cofferon::setStateFolder((loaded.m_folder / "state").string());
    loaded.m_window.findChild<QCheckBox*>(QStringLiteral("左键开启"))->toggle();
    for (auto _ : state)
        loaded.m_window.writeRecoveryNow();
    cofferon::setStateFolder({});
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(loaded.m_bytes.size()));
}
BENCHMARK(BM_WriteRecovery10MB)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
