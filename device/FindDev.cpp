#include "device/FindDev.h"

#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <utility>

#include <nlohmann/json.hpp>

#include "device/CatalogueReader.h"
#include "device/CommandFrame.h"
#include "device/FileCipher.h"
#include "device/ZipArchive.h"
#include "platform/DevicePath.h"
#include "platform/HidBackend.h"
#include "platform/PrivateProfile.h"
#include "platform/Trace.h"

namespace mousecfg {
namespace {

constexpr uint16_t kVendorUsage = 1;
constexpr uint16_t kRemovedReceiverValue = 255;

std::string UpperCase(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

bool Matches(const DeviceRecord& record, const DeviceIds& ids, size_t position) {
    return position < record.vendorIds.size() && record.productIds[position] == ids.productId &&
           record.vendorIds[position] == ids.vendorId;
}

// Creates an empty file only this user can read in the temporary folder; an empty path when that fails.
std::filesystem::path PrivateTempFile(const char* pattern) {
    std::error_code error;
    std::string name = (std::filesystem::temp_directory_path(error) / pattern).string();
    if (error) {
        name = std::string("/tmp/") + pattern;
    }
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        trace::Printf("ble.json: no temporary file (%s)\n", std::strerror(errno));
        return {};
    }
    ::close(fd);
    return name;
}

bool MatchesAnyPosition(const DeviceRecord& record, const DeviceIds& ids) {
    for (size_t i = 0; i < record.productIds.size(); ++i) {
        if (Matches(record, ids, i)) {
            return true;
        }
    }
    return false;
}

bool Qualifies(const DeviceRecord& record, const std::string& productString) {
    if (record.compareNames != 1) {
        return true;
    }
    return std::find(record.productNames.begin(), record.productNames.end(), productString) !=
           record.productNames.end();
}

}  // namespace

// The extraction log: an existing file_error.txt is rewritten with the lines of this load; when the file does not
// exist nothing is written (the file is never created).
class FindDev::ErrorLog {
  public:
    explicit ErrorLog(const std::filesystem::path& file) {
        std::error_code error;
        if (std::filesystem::is_regular_file(file, error)) {
            out_.open(file, std::ios::binary | std::ios::trunc);
        }
    }
    void Line(const char* format, ...) __attribute__((format(printf, 2, 3))) {
        if (!out_.is_open()) {
            return;
        }
        char text[256];
        va_list args;
        va_start(args, format);
        std::vsnprintf(text, sizeof text, format, args);
        va_end(args);
        out_ << text << '\n';
    }

  private:
    std::ofstream out_;
};

struct FindDev::Found {
    std::shared_ptr<HidHandle> feature;
    std::shared_ptr<HidHandle> input;
    std::string path;
    size_t inputReportLength = 0;
};

FindDev::FindDev(HidBackend& backend, std::filesystem::path resRoot)
    : backend_(backend), resRoot_(std::move(resRoot)), console_(&std::cerr) {}

std::filesystem::path FindDev::IconsFolder() const {
    return resRoot_ / "Home" / "Icons";
}

void FindDev::SetConsole(std::ostream& console) {
    console_ = &console;
}

void FindDev::LoadCatalogue() {
    std::vector<DeviceRecord> records;
    std::vector<std::string> categories;
    {
        ErrorLog log(resRoot_ / "file_error.txt");
        ExtractCatalogue(log, records, categories);
    }
    for (DeviceRecord& record : records) {
        const auto model = resRoot_ / "VeruzUrir" / record.folder / "Config" / "DeviceFeature.ini";
        record.productName = ini::GetPrivateProfileString("Init", "PRODUCTNAME", "", model);
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        records_ = std::move(records);
        categories_ = std::move(categories);
    }
    for (size_t index = 0; index < Count(); ++index) {
        FindInterfaces(index);
    }
}

void FindDev::ExtractCatalogue(ErrorLog& log, std::vector<DeviceRecord>& records,
                               std::vector<std::string>& categories) {
    ZipArchive archive;
    if (const int error = archive.Open(IconsFolder() / "Ndevice.zip", kCataloguePassword); error != 0) {
        trace::Printf("Unzip failed!err=%d\n", error);
        log.Line("[1] ERROR:%d", error);
        return;
    }
    // The entries are read in memory, never extracted: the archive may sit in a read-only install, and programs
    // reading it at once must not meet each other's half-written files.
    trace::Write("Start Unzip...\n");
    std::optional<std::string> catalogueText;
    for (int index = 0; index < archive.Count(); ++index) {
        ZipArchive::Entry entry;
        archive.GetEntry(index, entry);
        std::string contents;
        const int result = archive.Read(index, contents);
        log.Line("[2.1]ERROR:GetLastError:%d", archive.LastSystemError());
        if (result != 0) {
            log.Line("[2.2] ERROR:zrt:%d", result);
            if (result == ZipArchive::kUnsafeName) {
                trace::Printf("refused archive entry outside the folder: %s\n", entry.name.c_str());
            }
            continue;
        }
        // After every entry read, the catalogue is what the last entry named Ndevice.json held.
        const bool isCatalogue = !entry.directory && entry.name == "Ndevice.json";
        if (!isCatalogue && !catalogueText) {
            log.Line("[3] ERROR");
            continue;
        }
        if (isCatalogue) {
            catalogueText = std::move(contents);
            Catalogue catalogue = ParseCatalogue(*catalogueText);
            records = std::move(catalogue.records);
            categories = std::move(catalogue.categories);
        }
    }
    archive.Close();
}

std::optional<FindDev::Found> FindDev::Search(const DeviceRecord& record, std::string& matchedName) const {
    Found found;
    for (const HidInterfaceInfo& info : backend_.Enumerate()) {
        if (info.busType == kBluetoothBus) {
            continue;  // a mouse paired over BLE is reached through the BLE link, even with the IDs of a record
        }
        const DeviceIds ids{info.vendorId, info.productId};
        size_t position = record.productIds.size();
        for (size_t i = 0; i < record.productIds.size() && position == record.productIds.size(); ++i) {
            if (Matches(record, ids, i)) {
                position = i;
            }
        }
        if (position == record.productIds.size()) {
            continue;
        }
        matchedName = position < record.names.size() ? record.names[position] : std::string();
        if (!Qualifies(record, info.productString) || info.usage != kVendorUsage) {
            continue;
        }
        if (info.usagePage == kInputUsagePage && !found.input) {
            found.input = backend_.Open(info.path, HidAccess::Read);
            found.inputReportLength = info.inputReportLength;
        } else if (info.usagePage == kFeatureUsagePage && !found.feature) {
            found.feature = backend_.Open(info.path, HidAccess::Write);
        } else {
            continue;
        }
        if (found.input && found.feature) {
            found.path = UpperCase(info.path);
            return found;
        }
    }
    return std::nullopt;  // a handle opened alone is closed with `found`
}

bool FindDev::FindInterfaces(size_t index) {
    const DeviceRecord record = Record(index);
    std::string matchedName = record.name;
    auto found = Search(record, matchedName);
    uint16_t receiverValue = record.receiverValue;
    if (found && record.kind != 1) {
        // A receiver of another kind tells its own value in feature report 7.
        std::array<uint8_t, kReceiverReportSize> report{};
        report[0] = kReceiverReportId;
        if (found->feature->GetFeatureReport(report)) {
            receiverValue = static_cast<uint16_t>(report[14] | report[15] << 8);
        }
    }
    std::shared_ptr<HidHandle> replacedInput;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (index >= records_.size()) {
            return false;
        }
        DeviceRecord& stored = records_[index];
        stored.name = matchedName;
        if (!found) {
            return false;
        }
        stored.present = true;
        stored.devicePath = found->path;
        stored.featureHandle = std::move(found->feature);
        replacedInput = std::exchange(stored.inputHandle, std::move(found->input));
        stored.inputReportLength = found->inputReportLength;
        stored.receiverValue = receiverValue;
    }
    // The reader blocked on the replaced input handle wakes and goes on with the new one. The replaced feature
    // handle is only dropped: the transport may still be using it until the device is chosen again.
    if (replacedInput) {
        replacedInput->Close();
    }
    return true;
}

bool FindDev::DeviceArrived(std::string_view path) {
    const auto ids = ParseDeviceIds(path);
    if (!ids) {
        return false;
    }
    for (size_t index = 0; index < Count(); ++index) {
        const DeviceRecord record = Record(index);
        if (!record.present && MatchesAnyPosition(record, *ids) && FindInterfaces(index)) {
            return true;
        }
    }
    return false;
}

bool FindDev::DeviceRemoved(std::string_view path) {
    const auto ids = ParseDeviceIds(path);
    if (!ids) {
        return false;
    }
    bool changed = false;
    for (size_t index = 0; index < Count(); ++index) {
        const DeviceRecord record = Record(index);
        if (!record.present || !MatchesAnyPosition(record, *ids)) {
            continue;
        }
        if (!FindInterfaces(index)) {
            MarkRemoved(index);
            changed = true;
        }
    }
    return changed;
}

void FindDev::MarkRemoved(size_t index) {
    std::shared_ptr<HidHandle> input, feature;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        DeviceRecord& record = records_.at(index);
        record.present = false;
        record.devicePath.clear();
        record.receiverValue = kRemovedReceiverValue;
        input = std::move(record.inputHandle);
        feature = std::move(record.featureHandle);
    }
    // Closed, not only dropped: a reader blocked on the input handle, or a transport still holding them, must fail.
    if (input) {
        input->Close();
    }
    if (feature) {
        feature->Close();
    }
}

bool FindDev::DecryptFile(const std::filesystem::path& input, const std::filesystem::path& output,
                          std::string_view password) const {
    return mousecfg::DecryptFile(input, output, password, *console_);
}

void FindDev::LoadBleList() {
    const std::filesystem::path list = IconsFolder() / "ble.json";
    // The plain text goes to a private file of this process: a fixed name beside the list would be shared by every
    // program reading the list at once (the tool and the window), and the program folder may be read-only.
    const std::filesystem::path plain = PrivateTempFile("mousecfg-ble-XXXXXX");
    const bool decrypted = !plain.empty() && DecryptFile(list, plain, kBleListPassword);
    std::string text;
    {
        std::ifstream in(plain, std::ios::binary);
        if (decrypted && in) {
            std::ostringstream buffer;
            buffer << in.rdbuf();
            text = buffer.str();
        }
    }
    std::error_code ignored;
    if (!plain.empty()) {
        std::filesystem::remove(plain, ignored);
    }
    if (!decrypted) {
        return;
    }
    try {
        const nlohmann::json root = nlohmann::json::parse(text);
        if (!root.is_object() || !root.contains("bleString")) {
            return;
        }
        std::string joined;
        for (const auto& name : root.at("bleString")) {
            joined += (joined.empty() ? "" : ",") + name.get<std::string>();
        }
        std::lock_guard<std::mutex> lock(mutex_);
        bleString_ += (bleString_.empty() || joined.empty() ? "" : ",") + joined;
    } catch (const nlohmann::json::exception& error) {
        trace::Printf("ble.json: %s\n", error.what());
    }
}

size_t FindDev::Count() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return records_.size();
}

DeviceRecord FindDev::Record(size_t index) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return index < records_.size() ? records_[index] : DeviceRecord{};
}

bool FindDev::IsPresent(size_t index) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return index < records_.size() && records_[index].present;
}

int FindDev::Kind(size_t index) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return index < records_.size() ? records_[index].kind : 0;
}

FindDev::ReaderView FindDev::ReaderInfo(size_t index) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (index >= records_.size()) {
        return {};
    }
    const DeviceRecord& record = records_[index];
    return ReaderView{record.present, record.inputHandle, record.inputReportLength, record.kind, record.isUSB};
}

std::vector<std::string> FindDev::Categories() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return categories_;
}

std::string FindDev::BleDeviceString() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return bleString_;
}

void FindDev::CloseInputHandles() {
    std::vector<std::shared_ptr<HidHandle>> handles;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (const DeviceRecord& record : records_) {
            if (record.inputHandle) {
                handles.push_back(record.inputHandle);
            }
        }
    }
    for (const auto& handle : handles) {
        handle->Close();
    }
}

}  // namespace mousecfg
