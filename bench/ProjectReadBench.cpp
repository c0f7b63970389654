// Reading a full project file (54 slots, every key): this program's reader,
// and QSettings reading the same file in its INI format, every value asked
// for. QSettings keeps a file it has read until the file changes, so its
// file is given a new time stamp, untimed, before each reading.

#include <QSettings>
#include <QString>

#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <variant>

#include "bench/BenchMenus.h"
#include "project/core/ProjectFile.h"

namespace {

class ProjectFileOnDisk {
public:
    ProjectFileOnDisk()
    {
        std::filesystem::create_directories(m_folder);
        const cofferon::bench::Menu menu = cofferon::bench::fullMenu();
        std::ofstream(m_path, std::ios::binary) << cofferon::projectText(menu.settings, menu.slots);
    }
    ~ProjectFileOnDisk() { std::filesystem::remove_all(m_folder); }
    ProjectFileOnDisk(const ProjectFileOnDisk&) = delete;
    ProjectFileOnDisk& operator=(const ProjectFileOnDisk&) = delete;

    const std::string& path() const { return m_path; }
    std::int64_t size() const { return static_cast<std::int64_t>(std::filesystem::file_size(m_path)); }

    void touch()
    {
        m_stamp += std::chrono::seconds(1);
        std::filesystem::last_write_time(m_path, m_stamp);
    }

private:
    std::filesystem::path m_folder = std::filesystem::temp_directory_path() / "cofferon-bench-project";
    std::string m_path = (m_folder / "full.ini").string();
    std::filesystem::file_time_type m_stamp = std::filesystem::file_time_type::clock::now();
};

void BM_ReadProject(benchmark::State& state)
{
    ProjectFileOnDisk file;
    for (auto _ : state) {
        auto project = cofferon::readProjectFile(file.path());
        if (!std::holds_alternative<cofferon::ProjectData>(project))
            state.SkipWithError("the project could not be read");
        benchmark::DoNotOptimize(project);
    }
    state.SetBytesProcessed(state.iterations() * file.size());
}
BENCHMARK(BM_ReadProject)->Unit(benchmark::kMicrosecond);

void BM_QSettingsRead(benchmark::State& state)
{
    ProjectFileOnDisk file;
    const QString path = QString::fromStdString(file.path());
    std::size_t values = 0;
    for (auto _ : state) {
        state.PauseTiming();
        file.touch();
        state.ResumeTiming();
        QSettings settings(path, QSettings::IniFormat);
        values = 0;
        for (const QString& group : settings.childGroups()) {
            settings.beginGroup(group);
            for (const QString& key : settings.childKeys()) {
                benchmark::DoNotOptimize(settings.value(key).toString());
                ++values;
            }
            settings.endGroup();
        }
    }
    // Every slot's 15 keys and the settings' own.
    if (values < 54 * 15)
        state.SkipWithError("QSettings read fewer values than the file holds");
    state.SetBytesProcessed(state.iterations() * file.size());
}
BENCHMARK(BM_QSettingsRead)->Unit(benchmark::kMicrosecond);

}  // namespace
