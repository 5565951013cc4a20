// Loading and storing the settings from hostile profiles of 100,000 keys, each beside the
// baseline of the same run: reading the same text into an IniProfile (SetText) without
// looking anything up. Start-up looks up about 1,500 keys (every setting, and every list
// filled to its capacity); if each look-up walked the whole file, loading would cost
// thousands of times the baseline, so the ratios show at once whether look-ups are indexed.

#include "platform/files.h"
#include "platform/iniprofile.h"
#include "platform/registry.h"
#include "settings/appsettings.h"
#include "settings/settingsvocabularies.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include <unistd.h>

namespace vespario {
namespace {

constexpr int kKeys = 100000;

// Every vocabulary filled to its capacity, so that start-up reads every entry key.
std::string FullVocabularies() {
    std::string text;
    for (Vocabulary v : kVocabularyLoadOrder) {
        const VocabularyInfo &info = InfoOf(v);
        text += "[" + std::string(info.section) + "]\r\nNumberOf=" + std::to_string(info.capacity) +
                "\r\n";
        for (int i = 0; i < info.capacity; ++i)
            text += std::string(info.entryPrefix) + std::to_string(i) + "=" +
                    static_cast<char>('!' + i % 90) + "=entry " + std::to_string(i) + "\r\n";
    }
    return text;
}

// The 100,000 keys in one section.
std::string OneSection() {
    std::string text = FullVocabularies() + "[Settings]\r\n";
    for (int i = 0; i < kKeys; ++i)
        text += "Junk" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    return text;
}

// 100,000 sections of one key each.
std::string ManySections() {
    std::string text = FullVocabularies();
    for (int i = 0; i < kKeys; ++i)
        text += "[S" + std::to_string(i) + "]\r\nk=" + std::to_string(i) + "\r\n";
    return text;
}

// The section "Settings" repeated 100,000 times: every look-up in it must see them all.
std::string RepeatedSection() {
    std::string text = FullVocabularies();
    for (int i = 0; i < kKeys; ++i)
        text += "[Settings]\r\nJunk" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    return text;
}

// 100,000 values in one registry key, the one looked for last.
std::string LargeRegistry() {
    std::string text = "[HKEY_CURRENT_USER\\Software\\Netscape\\Netscape Navigator\\Services]\r\n";
    for (int i = 0; i < kKeys; ++i)
        text += "Value" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    return text + "SMTP_Server=smtp.example.org\r\n";
}

const std::string &Shape(int shape) {
    static const std::string shapes[] = {OneSection(), ManySections(), RepeatedSection(),
                                         LargeRegistry()};
    return shapes[shape];
}

void SetShapeLabel(benchmark::State &state) {
    static const char *const names[] = {"one section", "many sections", "repeated section",
                                        "registry"};
    state.SetLabel(names[state.range(0)]);
}

void Baseline_SetText(benchmark::State &state) {
    const std::string &text = Shape(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        platform::IniProfile profile;
        profile.SetText(text);
        benchmark::DoNotOptimize(profile);
    }
    SetShapeLabel(state);
}
BENCHMARK(Baseline_SetText)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// Start-up and exit in memory: read the text, load everything, store everything back.
void LoadAndStore(benchmark::State &state) {
    const std::string &text = Shape(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        AppSettings settings;
        settings.Profile().SetText(text);
        settings.LoadFromProfile(nullptr);
        settings.StoreInProfile();
        benchmark::DoNotOptimize(settings.Vocabularies().Books().Count());
    }
    SetShapeLabel(state);
}
BENCHMARK(LoadAndStore)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// The mail defaults from a registry key of 100,000 values, read from a file in $TMPDIR.
void MailDefaultsFromLargeRegistry(benchmark::State &state) {
    const char *tmp = std::getenv("TMPDIR");
    const std::string path = std::string(tmp && *tmp ? tmp : "/tmp") + "/vespario-bench-" +
                             std::to_string(::getpid()) + "-registry.ini";
    platform::WriteWholeFileAtomic(path, Shape(3));
    platform::Registry registry;
    const bool loaded = registry.Load(path);
    platform::DeleteFile(path);
    if (!loaded) {
        state.SkipWithError("cannot read the generated registry");
        return;
    }
    for (auto _ : state) {
        GeneralSettings settings;
        LookUpMailDefaults(registry, settings);
        if (settings.mailServer != "smtp.example.org")
            state.SkipWithError("the value was not found");
        benchmark::DoNotOptimize(settings.mailServer);
    }
    state.SetLabel("registry");
}
BENCHMARK(MailDefaultsFromLargeRegistry)->Arg(3)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vespario

BENCHMARK_MAIN();
