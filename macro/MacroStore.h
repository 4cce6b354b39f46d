#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "macro/KeyNames.h"
#include "macro/MacroLookup.h"
#include "macro/MacroRecord.h"
#include "platform/DocumentFile.h"
#include "platform/Status.h"

namespace mousecfg {

class FileDialogs;
class MessageBoxes;

// A resource folder given by itself rather than as "res" below the program folder (the command-line tool's
// --res). `path` holds the macro document; `resources` the factory document, when it is another folder (the
// read-only resources beside a per-user configuration folder).
struct MacroResourceFolder {
    std::filesystem::path path;
    std::filesystem::path resources = {};
};

// The macro document "res/MacroDock/MacroData/macroConfig.json" and its model: groups of macros, each with up
// to 500 items, its loop mode and the buttons it is bound to. The store is the only owner of the document; every
// change made through it is written to disk at once (atomically). Used on the user-interface thread only; the
// apply worker gets a Snapshot.
class MacroStore : public MacroLookup {
public:
    // The one-line description of an item of the working macro.
    struct ItemDescription {
        std::string text;
        uint8_t code = 0;
        uint8_t state = 0;
        int32_t delay = 0;
    };

    // Language texts the editor hands over ("Error", "ImportErr", "MessageOK", "MessageCancel").
    struct MessageTexts {
        std::string error = "Something went wrong. Please try again.";
        std::string importError = "The file could not be imported: it is not a valid configuration.";
        std::string ok = "OK";
        std::string cancel = "Cancel";
    };

    // `programFolder` holds "res/"; dialogs and message boxes must outlive the store.
    MacroStore(const std::filesystem::path& programFolder, FileDialogs& dialogs, MessageBoxes& messages,
               KeyNames keyNames = KeyNames());
    // The same with the resource folder named directly.
    MacroStore(const MacroResourceFolder& resources, FileDialogs& dialogs, MessageBoxes& messages,
               KeyNames keyNames = KeyNames());

    const std::filesystem::path& configPath() const { return file_.path(); }
    const std::vector<MacroGroup>& groups() const { return groups_; }
    // For the button-assignment code, which changes bindings and binding counts and then calls SaveAllMacros.
    std::vector<MacroGroup>& groups() { return groups_; }
    const nlohmann::json& document() const { return document_; }
    const KeyNames& keyNames() const { return keyNames_; }
    // The keyboard layout changed: item texts name keys by the new one.
    void SetKeyNames(KeyNames keyNames) { keyNames_ = std::move(keyNames); }
    MacroRecord& workingMacro() { return working_; }
    const MacroRecord& workingMacro() const { return working_; }
    void SetMessageTexts(MessageTexts texts) { texts_ = std::move(texts); }
    // The DPI code that a DPI item switches to (the model's code of 400 DPI), set by the mouse pages.
    void SetDpiCode(uint16_t code) { dpiCode_ = code; }

    // Reads the document and rebuilds the model. A file that cannot be opened, is not valid JSON or does not
    // hold the document's members leaves model and document as they were; the error is traced and returned.
    // A file that exists but fails so is damaged: it is never overwritten, the next write first keeps it aside
    // (KeepDamagedFile) and fails when it cannot.
    Status LoadMacros();
    // The last load found a damaged file that is still in place (see LoadMacros).
    bool documentDamaged() const { return file_.damaged(); }
    // The same for a document's text already read.
    Status ParseMacros(std::string_view text);
    // Writes the document (4-space indent, keys in order), replacing the file atomically.
    Status SaveMacros();
    // Copies the working macro's name, GUID, flag and data into document entry [g][m] and saves.
    Status WriteMacroEntry(int g, int m);
    // Writes every group and macro of the model, bindings included, into the document (not to the file).
    void SaveAllMacros();
    // The working macro becomes a copy of groups[g].macros[m]. False when there is no such macro.
    bool SelectMacro(int g, int m);

    // Group and macro operations; each saves the document. Indexes out of range fail without a change; a
    // position at or past the end appends. AddGroup and InsertMacro return the new index.
    Result<int> AddGroup(int position, const std::u16string& name);
    Status RenameGroup(int g, const std::u16string& name);
    Status DeleteGroup(int g);
    Result<int> InsertMacro(int g, int position, const std::u16string& name);
    Status RenameMacro(int g, int m, const std::u16string& name);
    // On a group without macros shows " DeleteMacro  !" and changes nothing.
    Status DeleteMacro(int g, int m);

    // Loop mode of the working macro and of groups[g].macros[m]: "opt_Macro_CycleUntilRelease",
    // "opt_Macro_CycleUntilClick", or any other option name for "play `count` times".
    Status SetLoopMode(int g, int m, std::string_view option, int count);
    // Inserts an item into the working macro at `position` (clamped to the item count) and stores the macro.
    // A pointer move (0xF6) takes its distances from `text` ("[←]:x,[↑]:y"); a DPI item (0xF8) takes the DPI
    // code. A full macro shows " More than limit!" and changes nothing.
    Status InsertItem(int g, int m, int position, uint8_t code, uint8_t state, int32_t delay,
                      std::string_view text);
    // Removes item `position` of the working macro and stores the macro.
    Status DeleteItem(int g, int m, int position);
    // Describes item i of the working macro; counts press and release items as it goes.
    ItemDescription DescribeItem(int i);
    int pressCount() const { return pressCount_; }
    int releaseCount() const { return releaseCount_; }
    void ResetItemCounts() { pressCount_ = releaseCount_ = 0; }

    // Restores the factory document (the current one is kept as "macroConfig.json.bak") and reloads.
    Status ResetMacros();
    // Writes group g, unbound, to a file the user chooses. Cancelling writes nothing and succeeds.
    Status ExportGroup(int g);
    // Inserts the groups of the files the user chooses after `position` (appends when at or past the end),
    // each with a unique name and a new GUID. A file whose group does not convert as the loader converts groups
    // is refused (one message names every refused file); a document that cannot be saved keeps nothing of the
    // import and says so. False when no file was chosen.
    bool ImportGroups(int position);

    // Copies the working macro's data block and name into groups[g].macros[m] and writes the entry.
    Status StoreWorkingMacro(int g, int m);

    std::optional<FoundMacro> Find(std::string_view groupGuid, std::string_view macroGuid) const override;
    // False while the document is damaged (the model then lacks what the file held).
    bool Complete() const override { return !file_.damaged(); }
    // A lookup over a copy of the current groups, for another thread.
    std::shared_ptr<const MacroLookup> Snapshot() const;

private:
    static constexpr const char* kCaption = "\u63D0\u793A\u6846";  // the caption of the store's message boxes

    bool ValidMacro(int g, int m) const;
    // Ok when groups[g] (and its macros[m]) exists, else the failure naming it.
    Status CheckGroup(int g) const;
    Status CheckMacro(int g, int m) const;
    nlohmann::json& GroupArray();
    nlohmann::json& MacroArray(int g);
    void ShowFailure(const char* text);

    std::filesystem::path resRoot_;
    DocumentFile file_;  // macroConfig.json
    FileDialogs& dialogs_;
    MessageBoxes& messages_;
    KeyNames keyNames_;
    nlohmann::json document_ = nlohmann::json::object();
    std::vector<MacroGroup> groups_;
    MacroRecord working_;
    MessageTexts texts_;
    uint16_t dpiCode_ = 0;
    int pressCount_ = 0;
    int releaseCount_ = 0;
};

// The name to give a new or renamed group or macro so that it differs from `names`: `base` when it is free,
// else `base` followed by the lowest free number from 0 on.
std::u16string UniqueName(const std::u16string& base, const std::vector<std::u16string>& names);

// A fresh GUID text "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX" (upper-case hex), or the failure
// "generate guid failed!" when the system has no source of randomness.
Result<std::string> NewGuid();

}  // namespace mousecfg
