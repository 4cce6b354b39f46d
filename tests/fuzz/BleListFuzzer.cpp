// Feeds arbitrary bytes to the BLE device list's reader: encrypted with the list's key as its plain text (first
// byte even) or as the encrypted file itself (odd). A list of names gives exactly those names joined by commas,
// any other list leaves the device string as it was, and the decrypted text never stays on disk.
#include <cstdint>
#include <cstdlib>

#include <nlohmann/json.hpp>

#include "device/FindDev.h"
#include "sim/SimHidBackend.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tools/catalogue/CataloguePacker.h"

namespace {

using namespace mousecfg;
namespace fs = std::filesystem;

// The private temporary folder of the run: where the reader's decrypted text goes while it reads it.
const fs::path& TempFolder() {
    static const fs::path folder = [] {
        const fs::path path = fuzz::ScratchFolder() / "tmp";
        fs::create_directories(path);
        setenv("TMPDIR", path.c_str(), 1);
        return path;
    }();
    return folder;
}

// The names of a list whose "bleString" is an array of texts; nothing for any other list.
std::optional<std::string> ExpectedNames(std::string_view plain) {
    const nlohmann::json root = nlohmann::json::parse(plain, nullptr, false);
    if (!root.is_object() || !root.contains("bleString") || !root["bleString"].is_array()) {
        return std::nullopt;
    }
    std::string joined;
    for (const nlohmann::json& name : root["bleString"]) {
        if (!name.is_string()) {
            return std::string();  // a list that cannot be read whole adds nothing
        }
        joined += (joined.empty() ? "" : ",") + name.get<std::string>();
    }
    return joined;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::QuietTraces();
    TempFolder();
    static sim::SimHidBackend backend;
    static std::ostream silent(nullptr);
    if (size == 0) {
        return 0;
    }
    const bool encrypt = (data[0] & 1) == 0;
    const std::string_view bytes = fuzz::Text(data + 1, size - 1);
    const fs::path res = fuzz::ScratchFolder() / "res";
    const fs::path list = res / "Home" / "Icons" / "ble.json";
    fs::create_directories(list.parent_path());
    if (encrypt) {
        const Status written = catalogue::WriteEncryptedList(list, bytes, kBleListPassword, std::array<uint8_t, 16>{});
        fuzz::Check(written.ok(), "the list is written");
    } else {
        fuzz::WriteBytes(list, bytes);
    }

    FindDev finder(backend, res);
    finder.SetConsole(silent);
    finder.LoadBleList();
    if (encrypt) {
        if (const auto expected = ExpectedNames(bytes)) {
            fuzz::Check(finder.BleDeviceString() == *expected, "a list of names gives those names joined");
        }
    }
    fuzz::Check(fs::is_empty(TempFolder()), "the decrypted list does not stay on disk");
    fuzz::Check(!fs::exists(list.string() + ".temp"), "no decrypted copy beside the list");
    return 0;
}
