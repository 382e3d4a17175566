// tavix-e2e-driver: runs end-to-end scenarios against Tavix.exe standing in
// the same folder. Prints one line per scenario, "PASS name" or
// "FAIL name: reason"; exits with the number of failed scenarios.
//
//   tavix-e2e-driver [--desktop NAME] [--shots FOLDER] SCENARIO...
//   tavix-e2e-driver --list
//   tavix-e2e-driver --menu ID

#include <cstdio>
#include <map>
#include <string>

#include "tests/e2e/driver.h"

namespace {

std::map<std::string, ScenarioFunction>& Scenarios() {
    static std::map<std::string, ScenarioFunction> scenarios;
    return scenarios;
}

// Joins the named desktop (a Wine virtual desktop gives windows a frame and
// its own window manager) so that this thread sees the windows on it.
bool JoinDesktop(const std::wstring& name) {
    HDESK desktop = OpenDesktopW(name.c_str(), 0, FALSE, GENERIC_ALL);
    if (!desktop) desktop = CreateDesktopW(name.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    return desktop && SetThreadDesktop(desktop);
}

int RunScenario(const std::string& name, const std::wstring& shotsFolder) {
    auto it = Scenarios().find(name);
    if (it == Scenarios().end()) {
        std::printf("FAIL %s: no such scenario\n", name.c_str());
        return 1;
    }
    std::string failure;
    try {
        it->second();
    } catch (const ScenarioFailure& f) {
        failure = f.message;
    }
    if (!failure.empty() && !shotsFolder.empty()) {
        const std::wstring shot = shotsFolder + L"\\" + Widen(name) + L".bmp";
        if (SaveScreenshot(shot)) Note("screenshot " + Narrow(shot));
    }
    // Whatever the scenario left running ends here, pass or fail.
    StopStartedPrograms();
    if (failure.empty()) {
        std::printf("PASS %s\n", name.c_str());
    } else {
        std::printf("FAIL %s: %s\n", name.c_str(), failure.c_str());
    }
    std::fflush(stdout);
    return failure.empty() ? 0 : 1;
}

}  // namespace

ScenarioRegistration::ScenarioRegistration(const char* name, ScenarioFunction function) {
    Scenarios()[name] = function;
}

int wmain(int argc, wchar_t** argv) {
    // The screen in real pixels, as the program, which declares itself
    // DPI-aware, sees it.
    SetProcessDPIAware();
    std::wstring shotsFolder;
    std::vector<std::string> names;
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        if (arg == L"--list") {
            for (const auto& [name, function] : Scenarios()) std::printf("%s\n", name.c_str());
            return 0;
        } else if (arg == L"--menu" && i + 1 < argc) {
            // Prints a menu resource of Tavix.exe, for writing scenarios.
            try {
                for (const std::wstring& item : MenuResourceTexts(_wtoi(argv[++i]))) {
                    std::printf("%s\n", Narrow(item).c_str());
                }
            } catch (const ScenarioFailure& f) {
                std::printf("%s\n", f.message.c_str());
                return 1;
            }
            return 0;
        } else if (arg == L"--desktop" && i + 1 < argc) {
            const std::wstring desktop = argv[++i];
            if (!JoinDesktop(desktop)) {
                std::printf("FAIL driver: cannot join desktop %s\n", Narrow(desktop).c_str());
                return 1;
            }
            SetTavixDesktop(desktop);
        } else if (arg == L"--shots" && i + 1 < argc) {
            shotsFolder = argv[++i];
            SetScreenshotFolder(shotsFolder);
        } else {
            names.push_back(Narrow(arg));
        }
    }
    if (names.empty()) {
        std::fputs("usage: tavix-e2e-driver [--desktop NAME] [--shots FOLDER] SCENARIO... | --list\n", stderr);
        return 2;
    }
    int failed = 0;
    for (const std::string& name : names) failed += RunScenario(name, shotsFolder);
    return failed;
}
