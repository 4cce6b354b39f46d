// The child of the crash-safety test: saves every kind of document the program writes, through the program's own
// save functions, in two versions.
//
//   document_saver write SHIPPED_RES FOLDER a|b   the documents of version a or b into FOLDER, then exits
//   document_saver serve SHIPPED_RES FOLDER       reads the documents once and prints "ready"; then for every
//                                                 line "go" on its input forks a saver that writes version b, a,
//                                                 b, ... over and over until it is killed, prints the saver's pid,
//                                                 waits for it to end and prints "done"; ends at end of input
//
// Forking the savers from one process that has read everything keeps each kill cheap, so that hundreds of them
// take seconds.
//
// FOLDER is laid out as a resource folder: VeruzUrir/MouseA/Config/MouseConfig.json (configuration document),
// VeruzUrir/MouseA/Config/DeviceFeature.ini (model file with its profile tags), MacroDock/MacroData/
// macroConfig.json (macro document) and Set.ini (settings).
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "config/DeviceFeature.h"
#include "config/MouseConfig.h"
#include "macro/MacroStore.h"
#include "platform/PrivateProfile.h"
#include "platform/Trace.h"
#include "tests/support/RecordingMessageBoxes.h"
#include "tests/support/ScriptedFileDialogs.h"

namespace {

using namespace mousecfg;
namespace fs = std::filesystem;

// The two versions of every document, and the saving of one version.
class Documents {
  public:
    Documents(const fs::path& shipped, const fs::path& folder)
        : folder_(folder), macros_(MacroResourceFolder{folder}, dialogs_, boxes_) {
        const fs::path model = folder / "VeruzUrir" / "MouseA" / "Config";
        fs::create_directories(model);
        fs::create_directories(folder / "MacroDock" / "MacroData");
        // The model file and the settings file are written key by key into an existing file.
        for (const auto& [from, to] :
             {std::pair{shipped / "VeruzUrir/MouseA/Config/DeviceFeature.ini", model / "DeviceFeature.ini"},
              std::pair{shipped / "Set.ini", folder / "Set.ini"}}) {
            if (!fs::exists(to)) {
                fs::copy_file(from, to);
            }
        }
        if (!LoadMouseConfig(configA_, shipped / "VeruzUrir/MouseA/Config/MouseConfig.json")) {
            throw std::runtime_error("the shipped configuration does not load");
        }
        configB_ = configA_;
        configB_.currentProfile = (configA_.currentProfile + 1) % kProfileCount;
        configB_.profiles[0].fireValue = configA_.profiles[0].fireValue + 7;
        // The macro document is edited the way the editor does it: renaming a group saves the document.
        if (!fs::exists(macros_.configPath())) {
            fs::copy_file(shipped / "MacroDock/MacroData/macroConfig.json", macros_.configPath());
        }
        if (!macros_.LoadMacros() || macros_.groups().empty()) {
            throw std::runtime_error("the shipped macro document does not load");
        }
        feature_ = LoadDeviceFeature(folder / "VeruzUrir" / "MouseA", 0);
    }

    // Saves version b (or a) of every document; the first failure ends the round.
    Status Save(bool b) {
        const fs::path model = folder_ / "VeruzUrir" / "MouseA";
        if (Status saved = SaveMouseConfig(b ? configB_ : configA_, MouseConfigPath(model)); !saved) {
            return saved;
        }
        if (Status saved = macros_.RenameGroup(0, b ? groupB_ : groupA_); !saved) {
            return saved;
        }
        if (Status saved = ini::WritePrivateProfileString("Set", "Language", b ? "2" : "1", folder_ / "Set.ini");
            !saved) {
            return saved;
        }
        return feature_.SaveProfileTag(0, b ? 2222 : 1111);
    }

  private:
    fs::path folder_;
    test::ScriptedFileDialogs dialogs_;
    test::RecordingMessageBoxes boxes_;
    MacroStore macros_;
    DeviceFeature feature_;
    MouseConfig configA_;
    MouseConfig configB_;
    const std::u16string groupA_ = u"Saved A";
    const std::u16string groupB_ = u"Saved B";
};

int Fail(const std::string& text) {
    std::fprintf(stderr, "document_saver: %s\n", text.c_str());
    return 1;
}

// Forks a saver for every "go" and reports its pid and its end.
int Serve(Documents& documents) {
    std::printf("ready\n");
    std::fflush(stdout);
    char line[16];
    while (std::fgets(line, sizeof line, stdin) != nullptr) {
        const pid_t saver = fork();
        if (saver < 0) {
            return Fail("fork failed");
        }
        if (saver == 0) {
            for (bool b = true;; b = !b) {
                if (const Status saved = documents.Save(b); !saved) {
                    std::fprintf(stderr, "document_saver: %s\n", saved.message().c_str());
                    _exit(1);
                }
            }
        }
        std::printf("%d\n", static_cast<int>(saver));
        std::fflush(stdout);
        int status = 0;
        waitpid(saver, &status, 0);
        std::printf("done %d\n", WIFSIGNALED(status) ? WTERMSIG(status) : -1);
        std::fflush(stdout);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    trace::ScopedSink quiet([](std::string_view) {});
    const std::string mode = argc > 1 ? argv[1] : "";
    if (argc < 4 || (mode != "write" && mode != "serve") || (mode == "write" && argc < 5)) {
        return Fail("usage: document_saver write SHIPPED_RES FOLDER a|b | serve SHIPPED_RES FOLDER");
    }
    try {
        Documents documents(argv[2], argv[3]);
        if (mode == "write") {
            const Status saved = documents.Save(std::string(argv[4]) == "b");
            return saved ? 0 : Fail(saved.message());
        }
        return Serve(documents);
    } catch (const std::exception& error) {
        return Fail(error.what());
    }
}
