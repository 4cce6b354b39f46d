// Feeds arbitrary bytes to the catalogue archive's reader as the archive file and extracts every entry. Nothing is
// ever written outside the base folder, an entry reported extracted is there with its stated size, and nothing
// larger than the entry limit is written.
#include <algorithm>
#include <cstdint>

#include "device/FindDev.h"
#include "device/ZipArchive.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

using namespace mousecfg;
namespace fs = std::filesystem;

// Every regular file below `folder` lies below `base` and is not larger than an entry may be.
void CheckWritten(const fs::path& folder, const fs::path& base) {
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(folder, error); !error && it != fs::recursive_directory_iterator();
         it.increment(error)) {
        if (!it->is_regular_file()) {
            continue;
        }
        const fs::path relative = fs::relative(it->path(), base);
        fuzz::Check(!relative.empty() && *relative.begin() != "..", "nothing is written outside the base folder");
        fuzz::Check(it->file_size() <= ZipArchive::kMaxEntrySize, "no file is larger than an entry may be");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::QuietTraces();
    const fs::path root = fuzz::ScratchFolder() / "archive";
    const fs::path base = root / "res" / "Home" / "Icons";
    fs::remove_all(root);
    fs::create_directories(base);
    const fs::path file = root / "Ndevice.zip";
    fuzz::WriteBytes(file, fuzz::Text(data, size));

    ZipArchive archive;
    if (archive.Open(file, kCataloguePassword) != 0) {
        return 0;
    }
    archive.SetBaseFolder(base);
    for (int index = 0; index < archive.Count(); ++index) {
        ZipArchive::Entry entry;
        if (archive.GetEntry(index, entry) != 0 || archive.Extract(index) != 0) {
            continue;
        }
        fuzz::Check(ZipArchive::IsSafeName(entry.name), "only entries with safe names are extracted");
        if (!entry.directory) {
            std::string name = entry.name;
            std::replace(name.begin(), name.end(), '\\', '/');
            std::error_code error;
            fuzz::Check(fs::file_size(base / fs::path(name).relative_path(), error) == entry.size && !error,
                        "an extracted entry has its stated size");
        }
    }
    archive.Close();
    fs::remove(file);
    CheckWritten(root, base);
    return 0;
}
