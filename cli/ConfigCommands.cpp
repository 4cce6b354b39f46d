// The configuration commands that work on whole profiles and files: profile, apply, export, import, reset, macro.
#include "cli/ArgumentParsing.h"
#include "cli/ConfigRun.h"
#include "cli/DeviceConnection.h"
#include "config/KeyAssignment.h"
#include "config/MouseSession.h"
#include "device/DeviceRequest.h"
#include "macro/MacroStore.h"
#include "platform/TextEncoding.h"

namespace mousecfg::cli {
namespace {

bool WrongArguments(const CommandContext& context, size_t count, const char* usage) {
    if (context.args.size() == count) {
        return false;
    }
    std::fprintf(context.err, "mousecfg-cli: usage: %s\n", usage);
    return true;
}

// A group or macro named by its index or its name.
int FindByIndexOrName(const std::string& text, const std::vector<std::u16string>& names) {
    for (size_t i = 0; i < names.size(); ++i) {
        if (text == std::to_string(i) || Utf8ToUtf16(text) == names[i]) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int MacroList(const CommandContext& context, CliSession& session) {
    const auto& groups = session.macros().groups();
    for (size_t g = 0; g < groups.size(); ++g) {
        std::fprintf(context.out, "group %zu  %s  %s\n", g, Utf16ToUtf8(groups[g].name).c_str(),
                     groups[g].guid.c_str());
        for (size_t m = 0; m < groups[g].macros.size(); ++m) {
            const MacroRecord& macro = groups[g].macros[m];
            std::fprintf(context.out, "  macro %zu  %s  %s  items %d  bound %d\n", m, Utf16ToUtf8(macro.name).c_str(),
                         macro.guid.c_str(), macro.block.ItemCount(), macro.bindKeys);
        }
    }
    return kExitOk;
}

// Binds the macro the arguments name (BUTTON GROUP MACRO, by index or name) in the current profile.
Status BindNamedMacro(CliSession& session, const std::vector<std::string>& args, int& button) {
    MouseSession& mouse = session.mouse();
    const auto parsed = ParseButton(args[0], mouse.feature().keyCount);
    if (!parsed) {
        return parsed.status();
    }
    button = *parsed;
    const auto& groups = session.macros().groups();
    std::vector<std::u16string> names;
    for (const MacroGroup& group : groups) {
        names.push_back(group.name);
    }
    const int g = FindByIndexOrName(args[1], names);
    if (g < 0) {
        return Status::Error("no macro group '" + args[1] + "' (see macro list)");
    }
    names.clear();
    for (const MacroRecord& macro : groups[static_cast<size_t>(g)].macros) {
        names.push_back(macro.name);
    }
    const int m = FindByIndexOrName(args[2], names);
    if (m < 0) {
        return Status::Error("no macro '" + args[2] + "' in that group (see macro list)");
    }
    const int profile = mouse.config().currentProfile;
    if (IsOnlyLeftClick(mouse.config(), profile, button)) {
        return Status::Error("button " + args[0] + " is the only left click of the profile and keeps it");
    }
    return AssignMacro(mouse.config(), session.macros(), profile, button, g, m);
}

int MacroBind(const CommandContext& context, CliSession& session) {
    MouseSession& mouse = session.mouse();
    if (mouse.link() == LinkKind::Ble) {
        std::fprintf(context.err, "mousecfg-cli: macros cannot be bound over BLE\n");
        return kExitFailed;
    }
    int button = 0;
    const Status bound = BindNamedMacro(session, {context.args.begin() + 1, context.args.end()}, button);
    if (!bound) {
        std::fprintf(context.err, "mousecfg-cli: %s\n", bound.message().c_str());
        return kExitBadInput;
    }
    const Status saved = RebuildMacroBindings(session.macros(), mouse.config(), mouse.deviceName());
    if (!saved) {
        std::fprintf(context.err, "mousecfg-cli: %s (nothing was sent to the mouse)\n", saved.message().c_str());
        return kExitFailed;
    }
    if (const int status = SaveBeforeRun(session, context); status != kExitOk) {
        return status;
    }
    mouse.applyState().editedButton = button;
    mouse.DocumentChanged();
    mouse.RequestApply(button >= 16 ? request::kExtraKeyAssignment : request::kKeyAssignment, false);
    return FinishRun(session, context);
}

// The one FILE argument, and the configuration opened with the file dialogs answering FILE; nullptr (with
// `status` set and the error printed) when either fails.
std::unique_ptr<CliSession> OpenWithFile(const CommandContext& context, const char* usage, int& status,
                                         ConfigUse use) {
    if (WrongArguments(context, 1, usage)) {
        status = kExitBadInput;
        return nullptr;
    }
    auto session = OpenConfiguration(context, use);
    if (!session) {
        status = kExitFailed;
        return nullptr;
    }
    session->dialogs().SetPath(context.args[0]);
    return session;
}

}  // namespace

int RunProfile(const CommandContext& context) {
    if (WrongArguments(context, 1, "profile N (0..2)")) {
        return kExitBadInput;
    }
    const auto profile = ParseNumber(context.args[0], 0, kProfileCount - 1, "N");
    if (!profile) {
        std::fprintf(context.err, "mousecfg-cli: %s\n", profile.message().c_str());
        return kExitBadInput;
    }
    const auto session = OpenConfiguration(context);
    if (!session) {
        return kExitFailed;
    }
    MouseSession& mouse = session->mouse();
    // Both post the run's request: nothing is sent before it is handled in FinishRun.
    if (*profile == mouse.config().currentProfile) {
        mouse.RequestApply(request::kSystemSetting, true);  // the selector reports no change: re-synchronise
    } else {
        mouse.SelectProfile(*profile);
    }
    if (const int status = SaveBeforeRun(*session, context); status != kExitOk) {
        return status;
    }
    return FinishRun(*session, context);
}

int RunApply(const CommandContext& context) {
    const bool force = context.args.size() == 1 && context.args[0] == "--full";
    if (!context.args.empty() && !force) {
        std::fprintf(context.err, "mousecfg-cli: usage: apply [--full]\n");
        return kExitBadInput;
    }
    const auto session = OpenConfiguration(context);
    if (!session) {
        return kExitFailed;
    }
    if (const int status = SaveBeforeRun(*session, context); status != kExitOk) {
        return status;
    }
    MouseSession& mouse = session->mouse();
    mouse.applyState().importPending = force;  // write the profile whatever the tags say
    mouse.StartApply(true);
    const int status = FinishRun(*session, context);
    if (status == kExitOk) {
        const ApplyOutcome& outcome = *mouse.lastOutcome();
        std::fprintf(context.out,
                     outcome.wrote ? "profile %d written (%d requests)\n"
                                   : "profile %d: the mouse holds it already (%d requests)\n",
                     outcome.profile, outcome.writes);
    }
    return status;
}

int RunExport(const CommandContext& context) {
    int status = kExitOk;
    const auto session = OpenWithFile(context, "export FILE", status, ConfigUse::Edit);
    if (!session) {
        return status;
    }
    const Status exported = session->mouse().ExportConfiguration();
    if (!exported) {
        std::fprintf(context.err, "mousecfg-cli: %s\n", exported.message().c_str());
        return kExitFailed;
    }
    return kExitOk;
}

int RunImport(const CommandContext& context) {
    int status = kExitOk;
    const auto session = OpenWithFile(context, "import FILE", status, ConfigUse::Replace);
    if (!session) {
        return status;
    }
    const ImportResult result = session->mouse().ImportConfiguration();
    if (result == ImportResult::Cancelled || result == ImportResult::NotJson) {
        std::fprintf(context.err, "mousecfg-cli: %s cannot be read as a configuration file\n", context.args[0].c_str());
        return kExitBadInput;
    }
    if (result == ImportResult::NoName || result == ImportResult::BadContents) {
        return kExitBadInput;  // the warning said why
    }
    if (result == ImportResult::NotSaved) {
        return kExitFailed;  // the warning named the file; nothing was sent
    }
    if (session->mouse().ApplyRunning()) {
        status = FinishRun(*session, context);  // a file of another device is re-applied all the same
    } else {
        std::fprintf(context.err, "mousecfg-cli: there is no configuration to write to the mouse\n");
        status = kExitFailed;
    }
    if (result != ImportResult::Imported) {
        return kExitBadInput;
    }
    return session->macrosDamaged() ? kExitFailed : status;
}

int RunReset(const CommandContext& context) {
    if (WrongArguments(context, 0, "reset")) {
        return kExitBadInput;
    }
    const auto session = OpenConfiguration(context, ConfigUse::Replace);
    if (!session) {
        return kExitFailed;
    }
    const Status reset = session->mouse().ResetConfiguration();
    // A reset that could not store the factory configuration stops before it writes anything to the mouse.
    const int status = reset || session->mouse().ApplyRunning() ? FinishRun(*session, context) : kExitFailed;
    if (!reset) {
        std::fprintf(context.err, "mousecfg-cli: the factory configuration could not be copied: %s\n",
                     reset.message().c_str());
        return kExitFailed;
    }
    return session->macrosDamaged() ? kExitFailed : status;
}

int RunMacro(const CommandContext& context) {
    const bool list = context.args.size() == 1 && context.args[0] == "list";
    const bool bind = context.args.size() == 4 && context.args[0] == "bind";
    if (!list && !bind) {
        std::fprintf(context.err, "mousecfg-cli: usage: macro list | macro bind BUTTON GROUP MACRO\n");
        return kExitBadInput;
    }
    const auto session = OpenConfiguration(context);
    if (!session) {
        return kExitFailed;
    }
    return list ? MacroList(context, *session) : MacroBind(context, *session);
}

}  // namespace mousecfg::cli
