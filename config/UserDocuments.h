#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/Status.h"

namespace mousecfg {

// The per-user copy of the documents a user changes, kept in a configuration folder laid out like the resource
// folder: the settings file "Set.ini", each model folder's "Config/DeviceFeature.ini" (profile tags, per-chip DPI
// memory, the skin choice of the default model), "Config/MouseConfig.json" and "Config/PopColor.ini", and the
// macro document "MacroDock/MacroData/macroConfig.json". Everything else is read from the resource folder.
//
// Prepare seeds what is missing from the resources and upgrades what is there when a newer install brings new
// keys, never losing the user's values:
//  - INI files gain the keys and sections they lack. Keys that describe the model or the factory state rather
//    than the user's choices (a model file's button and lighting maps, gear tables, ...; the factory values of
//    the settings file and the default colours) follow the install, so a corrected model reaches every user.
//  - JSON documents gain the object members they lack, recursively (arrays of the same length member by member).
//  - A JSON document that does not parse is left as it is (its loader tells the user and keeps it aside); it is
//    named in `damaged`.
// Files are written atomically and only when something changed. Not synchronised: call it before the documents
// are opened (the program's start), from one thread.
class UserDocuments {
public:
    // What one Prepare did, as paths relative to the configuration folder.
    struct Report {
        std::vector<std::string> seeded;
        std::vector<std::string> upgraded;
        std::vector<std::string> damaged;
    };

    // Prepares `configFolder` from `resourceFolder`. Nothing to do when both are the same folder (--res). Fails
    // with a message naming the folder or file that could not be created or written; what was done before the
    // failure stays.
    static Result<Report> Prepare(const std::filesystem::path& resourceFolder,
                                  const std::filesystem::path& configFolder);

    // The user documents the resource folder has, relative to it, in a fixed order.
    static std::vector<std::filesystem::path> List(const std::filesystem::path& resourceFolder);
};

}  // namespace mousecfg
