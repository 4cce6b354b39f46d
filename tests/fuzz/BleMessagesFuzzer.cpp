// Feeds the BLE link's messages to the connection monitor, with the mouse configuration of the shipped model as
// the window's model: status codes, input reports and read replies, their texts as hexadecimal bytes or as
// arbitrary text. Hexadecimal texts read back to the bytes they were made of, and whatever the replies say, the
// configuration stays within its ranges and saves to a document that loads back the same.
//
// Input: a sequence of messages, each a selector byte (low bits: which message; bit 7: the payload is the text
// itself rather than bytes to write as hexadecimal), a length byte and that many payload bytes.
#include <cstdint>
#include <memory>

#include "config/MousePages.h"
#include "config/MouseSession.h"
#include "device/CommandSet.h"
#include "device/ConnectionMonitor.h"
#include "device/DeviceMessages.h"
#include "device/FindDev.h"
#include "device/HexText.h"
#include "device/ReportTransport.h"
#include "macro/MacroStore.h"
#include "platform/WindowTimers.h"
#include "sim/SimHidBackend.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

using namespace mousecfg;
namespace fs = std::filesystem;

class NullWindow final : public MessageSink {
  public:
    void Post(Message) override {}
    intptr_t Send(Message) override { return 0; }
};

class NullTimers final : public WindowTimers {
  public:
    void SetTimer(int, std::chrono::milliseconds) override {}
    void KillTimer(int) override {}
    bool IsTimerRunning(int) const override { return false; }
};

constexpr uintptr_t kCodes[] = {ble::kConnected,
                                ble::kDisconnected,
                                ble::kConnectionFailed,
                                ble::kRegistrationWanted,
                                ble::kBattery,
                                ble::kStatusQueryWanted,
                                ble::kInputReportFirst,
                                ble::kReadReplyFirst | request::kReadDeviceInfo,
                                ble::kReadReplyFirst | request::kSystemSetting,
                                ble::kReadReplyFirst | request::kDpiTable,
                                ble::kReadReplyFirst | request::kLightEffect};

// The shipped model with its configuration loaded over BLE, kept for the whole run.
struct Rig {
    Rig() {
        const fs::path shipped = fs::path(MOUSECFG_SOURCE_DIR) / "res";
        fs::create_directories(res);
        for (const char* part : {"Set.ini", "VeruzUrir", "MacroDock"}) {
            fs::copy(shipped / part, res / part, fs::copy_options::recursive);
        }
        catalogue.SetConsole(silent);
        macros.LoadMacros();
        session.SetDevice("Virtual Mouse", "MouseA");
        session.SetLink(LinkKind::Ble);
        fuzz::Check(session.LoadDevice().ok(), "the shipped model loads");
        loaded = session.config();
    }

    const fs::path res = fuzz::ScratchFolder() / "res";
    std::ostream silent{nullptr};
    sim::SimHidBackend backend;
    FindDev catalogue{backend, res};
    ReportTransport transport{PacingValues::Zero()};
    CommandSet commands{transport};
    NullWindow window;
    NullTimers timers;
    fuzz::NoDialogs dialogs;
    fuzz::NoMessages boxes;
    MousePages pages;
    MacroStore macros{MacroResourceFolder{res}, dialogs, boxes};
    MouseSession session{MouseSessionServices{commands, window, timers, dialogs, boxes, macros, pages, KeyNames()},
                         res};
    MouseConfig loaded;
};

void CheckText(std::string_view text, const std::vector<uint8_t>& bytes, bool raw) {
    const auto parsed = ParseHexText(text);
    if (!raw) {
        fuzz::Check(parsed && *parsed == bytes, "hexadecimal text reads back to its bytes");
    } else if (parsed) {
        fuzz::Check(ParseHexText(ToHexText(*parsed)) == parsed, "what a text reads as writes and reads the same");
    }
}

void CheckConfiguration(const MouseConfig& config, const MouseConfig& loaded) {
    fuzz::Check(config.currentProfile >= 0 && config.currentProfile < kProfileCount, "the profile is 0..2");
    for (size_t p = 0; p < config.profiles.size(); ++p) {
        const int level = config.profiles[p].currentDpiLevel;
        fuzz::Check(level >= 0 && level < kDpiLevelCount, "the DPI level is 0..7");
        for (const LightingModeSettings& record : config.lighting[p]) {
            fuzz::Check(record.brightness >= 0 && record.brightness <= 6, "the brightness is 0..6");
        }
        fuzz::Check(config.lighting[p][0].mode >= 0 && config.lighting[p][0].mode < 14, "the mode is 0..13");
    }
    if (config.currentProfile == loaded.currentProfile && config.profiles == loaded.profiles &&
        config.lighting == loaded.lighting) {
        return;  // nothing the replies set changed: the shipped document is known to save and load
    }
    const std::string saved = MouseConfigText(config);
    MouseConfig again;
    fuzz::Check(ParseMouseConfig(again, saved).ok() && MouseConfigText(again) == saved,
                "the configuration saves to a document that loads back the same");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::QuietTraces();
    static Rig rig;
    rig.session.config() = rig.loaded;
    rig.transport.SetBleActive(false);
    ConnectionMonitor monitor(
        MonitorServices{rig.catalogue, rig.commands, rig.window, rig.timers, rig.boxes, rig.session, 1});
    size_t at = 0;
    while (at + 2 <= size) {
        const uint8_t selector = data[at];
        const size_t length = std::min<size_t>(data[at + 1], size - at - 2);
        const std::vector<uint8_t> payload(data + at + 2, data + at + 2 + length);
        at += 2 + length;
        const bool raw = (selector & 0x80) != 0;
        const uintptr_t code = kCodes[(selector & 0x7F) % std::size(kCodes)];
        const std::string text = raw ? std::string(payload.begin(), payload.end()) : ToHexText(payload);
        CheckText(text, payload, raw);
        const BleMessageOutcome outcome = monitor.OnBleMessage(code, text);
        fuzz::Check(!outcome.battery || outcome.battery->percent <= 100, "a battery shows at most 100 %");
    }
    CheckConfiguration(rig.session.config(), rig.loaded);
    return 0;
}
