// The file work of the program: loading and saving the settings file (one ProfileBlock image,
// saved through a temporary file that is flushed to disk and renamed), and importing a macro file
// as exported by the program (scrambled, so the import also rewrites it plain on disk) or plain.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "base/atomic_file.h"
#include "base/debug_output.h"
#include "base/fixed_string.h"
#include "macro/macro_file.h"
#include "macro/macro_library.h"
#include "profile/profile_store.h"
#include "profile/settings_file.h"

namespace {

namespace fs = std::filesystem;

// A folder of its own under the system's temporary folder, removed afterwards.
class TempFolder {
  public:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "t30-bench.XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        path_ = pattern;
        fs::create_directories(path_ / "config");
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

class NoDebugOutput : public t30::DebugOutput {
  public:
    void Write(std::u16string_view) override {}
};

// Every profile with all 24 slots holding a 40-event macro: the largest content, though the file
// is the same size whatever it holds.
std::unique_ptr<t30::ProfileBlock> FullBlock() {
    auto block = std::make_unique<t30::ProfileBlock>();
    t30::makeDefaults(*block);
    for (t30::ProfileRecord& p : block->profiles) {
        for (t30::ButtonSlot& b : p.buttons) {
            b.functionType = 18;
            b.eventCount = t30::kMaxMacroEvents;
            for (int k = 0; k < t30::kMaxMacroEvents; ++k) {
                b.events[k] = {uint8_t(0x04 + k % 26), uint8_t(k % 2 ? 2 : 1), 40};
            }
        }
    }
    return block;
}

void BM_LoadSettings(benchmark::State& state) {
    TempFolder app;
    auto block = FullBlock();
    if (!t30::saveSettings(*block, app.path())) {
        state.SkipWithError("cannot save the settings file");
        return;
    }
    for (auto _ : state) {
        const t30::SettingsSource source = t30::loadSettings(*block, app.path()).source;
        benchmark::DoNotOptimize(source);
        benchmark::DoNotOptimize(block->currentIndex);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(sizeof(t30::ProfileBlock)));
}
BENCHMARK(BM_LoadSettings)->Unit(benchmark::kMicrosecond);

void BM_SaveSettings(benchmark::State& state) {
    TempFolder app;
    auto block = FullBlock();
    for (auto _ : state) {
        if (!t30::saveSettings(*block, app.path())) {
            state.SkipWithError("cannot save the settings file");
            break;
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(sizeof(t30::ProfileBlock)));
}
BENCHMARK(BM_SaveSettings)->Unit(benchmark::kMicrosecond);

t30::MacroRecord FullMacro(const std::u16string& name) {
    t30::MacroRecord m{};
    t30::SetFixed(m.name, name);
    m.repeatCount = 3;
    m.eventCount = t30::kMaxMacroEvents;
    for (int k = 0; k < t30::kMaxMacroEvents; ++k) {
        m.events[k] = {uint8_t(0x04 + k % 26), uint8_t(k % 2 ? 2 : 1), uint16_t(k % 5 ? 40 : 700)};
    }
    return m;
}

// A library of ten macros, one of them named like the imported one, so the import also has to
// find a free name.
t30::MacroLibrary TenMacros() {
    t30::MacroLibrary library;
    for (int i = 0; i < 9; ++i) {
        library.Append(FullMacro(u"macro " + std::u16string(1, char16_t(u'1' + i))));
    }
    library.Append(FullMacro(u"combo"));
    return library;
}

void ImportBenchmark(benchmark::State& state, bool scrambled) {
    TempFolder folder;
    NoDebugOutput quiet;
    t30::MacroFileServices services;
    services.debug = &quiet;
    const fs::path file = folder.path() / "combo.macro";
    if (!t30::ExportMacroFile(FullMacro(u"combo"), file, services) ||
        (!scrambled && !t30::UnscrambleMacroFile(file, services))) {
        state.SkipWithError("cannot export the macro file");
        return;
    }
    const std::string image = *t30::ReadFileBytes(file);
    const t30::MacroLibrary start = TenMacros();
    for (auto _ : state) {
        state.PauseTiming();
        t30::MacroLibrary library = start;
        if (scrambled && !t30::WriteFileAtomically(file, image)) {  // the import left it plain
            state.SkipWithError("cannot rewrite the macro file");
            break;
        }
        state.ResumeTiming();
        const std::optional<std::size_t> index = t30::ImportMacroFile(library, file, services);
        if (!index) {
            state.SkipWithError("import failed");
            break;
        }
        benchmark::DoNotOptimize(library[*index].name[0]);
    }
}

void BM_ImportMacroFile_Scrambled(benchmark::State& state) {
    ImportBenchmark(state, true);
}
void BM_ImportMacroFile_Plain(benchmark::State& state) {
    ImportBenchmark(state, false);
}
BENCHMARK(BM_ImportMacroFile_Scrambled)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ImportMacroFile_Plain)->Unit(benchmark::kMicrosecond);

}  // namespace
