#include "cli/CliSession.h"

#include <chrono>

#include "cli/DeviceConnection.h"
#include "config/ApplyMessages.h"
#include "config/MouseSession.h"
#include "device/BleReplyDecoder.h"
#include "device/DeviceMessages.h"
#include "macro/MacroStore.h"
#include "platform/KeyboardLayout.h"
#include "platform/Trace.h"

namespace mousecfg::cli {
namespace {

using namespace std::chrono_literals;

// Key names for labels: the US layout when xkbcommon has it, the fixed table otherwise.
KeyNames CliKeyNames() {
    std::shared_ptr<const KeyboardLayout> layout = KeyboardLayout::FromNames({"evdev", "pc105", "us", "", ""});
    return KeyNames(std::move(layout));
}

LinkKind LinkOf(DeviceConnection& device) {
    if (device.overBle()) {
        return LinkKind::Ble;
    }
    return device.linkName() == "cable" ? LinkKind::Cable : LinkKind::Receiver;
}

}  // namespace

CliSession::CliSession(DeviceConnection& device, std::FILE* err) : device_(device), err_(err), boxes_(err) {}

CliSession::~CliSession() {
    device_.SetMessageHandler(nullptr);
    mouse_.reset();  // joins a running worker before the rest goes
}

Result<std::unique_ptr<CliSession>> CliSession::Open(DeviceConnection& device, const std::filesystem::path& resRoot,
                                                     const std::filesystem::path& configRoot, std::FILE* err,
                                                     ConfigUse use) {
    const Result<ModelIdentity> identity = device.Identify(resRoot);
    if (!identity) {
        return identity.status();
    }
    std::unique_ptr<CliSession> session(new CliSession(device, err));
    const KeyNames keyNames = CliKeyNames();
    session->macros_ = std::make_unique<MacroStore>(MacroResourceFolder{configRoot, resRoot}, session->dialogs_,
                                                    session->boxes_, keyNames);
    const MouseSessionServices services{device.commands(), device.window(),   session->timers_, session->dialogs_,
                                        session->boxes_,   *session->macros_, *session,         keyNames};
    session->mouse_ = std::make_unique<MouseSession>(services, configRoot, resRoot);
    MouseSession& mouse = *session->mouse_;
    mouse.SetDevice(identity->name, identity->folder);
    mouse.SetLink(LinkOf(device));
    const auto featureFile = mouse.modelFolder() / "Config" / "DeviceFeature.ini";
    if (!std::filesystem::exists(featureFile)) {
        return Status::Error("no model description " + featureFile.string() + " (see --res)");
    }
    if (Status loaded = session->LoadDocuments(use); !loaded) {
        return loaded;
    }
    CliSession* raw = session.get();
    session->decoder_ = std::make_unique<BleReplyDecoder>(device.commands(), mouse, session->state_);
    device.SetMessageHandler([raw](const Message& message) { raw->OnMessage(message); });
    return session;
}

// The macro document, then the configuration. A missing macro document is an empty one (bindings fall back);
// a damaged document is what the user had, so a command that edits refuses to work without it.
Status CliSession::LoadDocuments(ConfigUse use) {
    const auto kept = [this](const std::filesystem::path& file) {
        std::fprintf(err_,
                     "mousecfg-cli: %s is kept aside (as %s.damaged, numbered when that exists) before anything "
                     "is saved in its place\n",
                     file.c_str(), file.c_str());
    };
    if (const Status macros = macros_->LoadMacros(); !macros) {
        trace::Printf("%s\n", macros.message().c_str());
        if (macros_->documentDamaged()) {
            if (use == ConfigUse::Edit) {
                return Status::Error("cannot read the macro document: " + macros.message() +
                                     " (repair it, or move it away to start without macros)");
            }
            std::fprintf(err_, "mousecfg-cli: cannot read the macro document: %s\n", macros.message().c_str());
            kept(macros_->configPath());
            macrosDamaged_ = true;
        }
    }
    const Status loaded = mouse_->LoadDevice();
    if (!loaded && use == ConfigUse::Edit) {
        return Status::Error("cannot read the configuration: " + loaded.message() + " (reset or import replace it)");
    }
    if (!loaded && mouse_->configDamaged()) {
        std::fprintf(err_, "mousecfg-cli: cannot read the configuration: %s\n", loaded.message().c_str());
        kept(MouseConfigPath(mouse_->modelFolder()));
    }
    return Status::Ok();
}

void CliSession::OnMessage(const Message& message) {
    if (mouse_->HandleWorkerMessage(message)) {
        finishedRuns_ += message.id == msg::kApplyFinished ? 1 : 0;
        return;
    }
    switch (message.id) {
        case msg::kApplyRequest:
            mouse_->OnApplyRequest(message.wParam, message.lParam);
            break;
        case msg::kMacrosReload:
            macros_->LoadMacros();
            break;
        case msg::kMacrosChanged:
            mouse_->OnMacrosChanged();
            break;
        case msg::kBleStatus:
            if (message.wParam >= ble::kReadReplyFirst && message.wParam <= ble::kReadReplyLast) {
                decoder_->Decode(message.wParam, message.text, storedVariant_);
            }
            break;
        default:
            break;
    }
}

std::optional<ApplyOutcome> CliSession::FinishApply() {
    const int before = finishedRuns_;
    const auto deadline = std::chrono::steady_clock::now() + 10min;
    // While a run is under way wait for its messages; afterwards handle what is queued until it stays quiet
    // (over BLE the replies to the run's reads follow it, and a lighting header asks for its record).
    const auto quiet = device_.overBle() ? 400ms : 50ms;
    while (std::chrono::steady_clock::now() < deadline) {
        if (mouse_->ApplyRunning()) {
            device_.Pump(1s);
        } else if (!device_.Pump(quiet)) {
            break;
        }
    }
    if (finishedRuns_ == before) {
        return std::nullopt;
    }
    std::optional<ApplyOutcome> outcome = mouse_->lastOutcome();
    if (device_.overBle()) {
        const Status saved = mouse_->SaveDocument();  // what the replies stored
        if (!saved && outcome->saved) {
            std::fprintf(err_, "mousecfg-cli: %s\n", saved.message().c_str());
            outcome->saved = saved;
        }
    }
    return outcome;
}

void CliSession::ShowApplyProgress(bool show, bool full) {
    if (show) {
        lastQuarter_ = 0;
        std::fprintf(err_, "mousecfg-cli: applying (%s run)\n", full ? "full" : "single");
    }
}

void CliSession::ShowApplySteps(int done, int total) {
    const int quarter = total > 0 ? 4 * done / total : 0;
    if (quarter > lastQuarter_) {
        lastQuarter_ = quarter;
        std::fprintf(err_, "mousecfg-cli: %d/%d requests sent\n", done, total);
    }
}

}  // namespace mousecfg::cli
