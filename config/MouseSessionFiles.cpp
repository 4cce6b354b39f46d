// Import, export and reset of the mouse session's configuration.
#include "config/ApplyMessages.h"
#include "config/ExchangeFile.h"
#include "config/KeyAssignment.h"
#include "config/MousePages.h"
#include "config/MouseSession.h"
#include "device/DeviceMessages.h"
#include "platform/AtomicFile.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"
#include "platform/MessageSink.h"
#include "platform/PrivateProfile.h"
#include "platform/Trace.h"
#include "platform/WindowTimers.h"

namespace mousecfg {

void MouseSession::ShowWarning(const std::string& text) {
    boxes_.Show(MessageBoxRequest{texts_.title, text, texts_.ok, "", true});
}

void MouseSession::RenewAllTags() {
    for (int p = 0; p < kProfileTagCount; ++p) {
        NoteSaveFailure(feature_.SaveProfileTag(p, NewProfileTag()));
    }
}

// After the configuration was replaced: the next full run writes the profile whatever the tags say.
void MouseSession::StartFullAfterReplace() {
    apply_.importPending = true;
    if (link_ != LinkKind::Ble) {
        timers_.KillTimer(timer::kStatusPoll);
    }
    StartApply(true);
}

ImportResult MouseSession::ImportConfiguration() {
    const std::vector<std::string> files = dialogs_.OpenFiles(ExchangeFileFilter(), false);
    if (files.empty()) {
        return ImportResult::Cancelled;
    }
    const Result<std::string> text = ReadWholeFile(files.front());
    const ExchangeCheck check = text ? CheckExchangeText(*text, deviceName_) : ExchangeCheck::NotJson;
    switch (check) {
        case ExchangeCheck::NotJson:
            return ImportResult::NotJson;  // a file that cannot be read or parsed changes nothing
        case ExchangeCheck::NoName:
            ShowWarning(texts_.wrongFile);
            return ImportResult::NoName;
        case ExchangeCheck::BadContents:
            // Copying it would leave a configuration that loads only half-way: refused like a foreign file,
            // but without the reload, since nothing changed.
            ShowWarning(texts_.damagedFile);
            return ImportResult::BadContents;
        case ExchangeCheck::OtherDevice:
            ShowWarning(texts_.wrongFile);
            break;  // the configuration stays, the device is reloaded and re-applied all the same
        case ExchangeCheck::Accepted: {
            // Reloading and applying now would write the old configuration to the mouse as if it were the new.
            const Status copied = configFile_.Replace(*text);
            if (!copied) {
                trace::Printf("%s\n", copied.message().c_str());
                ShowWarning(texts_.saveFailed + "\n" + copied.message());
                return ImportResult::NotSaved;
            }
            break;
        }
    }
    const Status loaded = LoadDevice();
    pages_.ReinitAssignmentPopup();
    // A configuration that cannot be loaded (a foreign file over a damaged one) is not written to the mouse.
    if (loaded) {
        RenewAllTags();
        StartFullAfterReplace();
    }
    return check == ExchangeCheck::Accepted ? ImportResult::Imported : ImportResult::OtherDevice;
}

Status MouseSession::ExportConfiguration() {
    const std::optional<std::string> file = dialogs_.SaveFile(ExchangeFileFilter());
    if (!file) {
        return Status::Ok();
    }
    const Result<std::string> text = ReadWholeFile(MouseConfigPath(modelFolder_));
    if (!text) {
        return text.status();
    }
    const Result<std::string> exchange = ExchangeText(*text, deviceName_);
    if (!exchange) {
        return exchange.status();
    }
    return WriteFileAtomically(*file, *exchange);
}

Status MouseSession::ResetConfiguration() {
    Status result = Status::Ok();
    const Result<std::string> factory = ReadWholeFile(factoryFile_);
    if (factory) {
        // Going on would reset options and write the old configuration to the mouse as the factory one.
        if (const Status copied = configFile_.Replace(*factory); !copied) {
            trace::Printf("%s\n", copied.message().c_str());
            return copied;
        }
    } else {
        result = factory.status();  // the configuration file stays as it was; the rest of the reset runs
    }
    NoteSaveFailure(ResetSensorOptions(options_, settingsFile()));
    const int resetPdTime = options_.pdTime;  // kept in memory only: the load below reads [Set]
    dpiResetPending_ = true;
    const Status loaded = LoadDevice();
    options_.pdTime = resetPdTime;
    pages_.ReinitAssignmentPopup();
    if (!loaded) {
        // No factory file and no configuration that loads: there is nothing to write to the mouse.
        trace::Printf("%s\n", loaded.message().c_str());
        return result ? loaded : result;
    }
    NoteSaveFailure(ini::WritePrivateProfileString("MacUsed", std::to_string(config_.currentProfile), std::nullopt,
                                                   feature_.iniFile));
    NoteSaveFailure(RebuildMacroBindings(macros_, config_, deviceName_));
    window_.Post(Message{msg::kMacrosReload, 1, 0, {}});
    RenewAllTags();
    StartFullAfterReplace();
    pages_.ShowDpiLevel(config_.profiles[static_cast<size_t>(config_.currentProfile)].currentDpiLevel);
    if (!result) {
        trace::Printf("%s\n", result.message().c_str());
    }
    return result;
}

}  // namespace mousecfg
