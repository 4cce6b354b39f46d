#pragma once

#include <cstddef>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/DeviceRecord.h"

namespace mousecfg {

class HidBackend;

// The password of the catalogue archive's entries and the one the BLE device list's key is derived from.
inline constexpr const char* kCataloguePassword = "QrmPackageListKey";
inline constexpr const char* kBleListPassword = "Hq7Lw2Zp9Rt4Vn6Ks8Dx";

// Usage pages of the two vendor collections the program talks to (usage 1 each).
inline constexpr uint16_t kInputUsagePage = 0xFF00;
inline constexpr uint16_t kFeatureUsagePage = 0xFF01;
// The bus of HID devices paired over Bluetooth; discovery leaves them to the BLE link.
inline constexpr uint16_t kBluetoothBus = 0x0005;

// The supported devices and which of them are plugged in. The catalogue ships as a password-protected archive
// (Home/Icons/Ndevice.zip below the resource folder) whose entries are read in memory; the BLE device
// list is an encrypted file (Home/Icons/ble.json). For every catalogue record discovery looks for the device's
// two vendor interfaces through the HID backend (cable and receiver devices; not the Bluetooth bus), opens them
// and marks the record present.
//
// Threads: loading, discovery and the device-change handlers run on the main thread; the accessors may be
// called from any thread (reader threads look at presence and handles while the main thread changes them).
// LoadCatalogue replaces the record list and must not run while readers use it.
class FindDev {
  public:
    // `resRoot` is the resource folder (the program runs with its own folder as working directory, so "res").
    // `backend` must outlive the object.
    explicit FindDev(HidBackend& backend, std::filesystem::path resRoot = "res");
    FindDev(const FindDev&) = delete;
    FindDev& operator=(const FindDev&) = delete;

    // Reads the catalogue from the archive's entry Ndevice.json in memory (nothing is written beside the archive,
    // which may be read-only) and looks for every record's device. Archive errors are written to file_error.txt
    // in the resource folder when that file exists; a catalogue that cannot be read leaves the record list empty.
    void LoadCatalogue();
    // Decrypts and reads the BLE device list, appending its names (joined with ",") to the BLE device string.
    // A list that cannot be decrypted or read leaves the string as it was; the decrypted text never stays on disk.
    void LoadBleList();
    // Decrypts `input` into `output` (see FileCipher.h). Messages go to the console stream.
    bool DecryptFile(const std::filesystem::path& input, const std::filesystem::path& output,
                     std::string_view password) const;

    // Looks for record `index`'s device among the HID interfaces; when both of its interfaces open, the record
    // becomes present with their handles and true is returned. Handles it held are replaced: the old input
    // handle is closed (its reader goes on with the new one), the old feature handle only dropped.
    bool FindInterfaces(size_t index);
    // Re-checks the records after a device-interface notification for `path` (which names vendor and product
    // ID, platform/DevicePath.h). Arrival: true when a record that was not present became present. Removal: a
    // present record whose device can no longer be found stops being present (its handles are closed, which
    // ends reads blocked on them); true when that happened.
    bool DeviceArrived(std::string_view path);
    bool DeviceRemoved(std::string_view path);

    size_t Count() const;
    // A copy of record `index`; an empty record when there is none.
    DeviceRecord Record(size_t index) const;
    bool IsPresent(size_t index) const;
    int Kind(size_t index) const;  // 0 when there is no such record

    // What an input reader needs of its record at one moment.
    struct ReaderView {
        bool present = false;
        std::shared_ptr<HidHandle> input;
        size_t inputReportLength = 0;
        int kind = 0;
        int isUSB = 0;
    };
    ReaderView ReaderInfo(size_t index) const;

    std::vector<std::string> Categories() const;
    std::string BleDeviceString() const;

    // Closes every record's input handle, ending the reads blocked on them (shutdown).
    void CloseInputHandles();

    // Where DecryptFile writes its progress and errors (std::cerr by default). Must outlive its use.
    void SetConsole(std::ostream& console);

    const std::filesystem::path& ResourceRoot() const { return resRoot_; }
    std::filesystem::path IconsFolder() const;

  private:
    struct Found;
    class ErrorLog;
    std::optional<Found> Search(const DeviceRecord& record, std::string& matchedName) const;
    void ExtractCatalogue(ErrorLog& log, std::vector<DeviceRecord>& records, std::vector<std::string>& categories);
    void MarkRemoved(size_t index);

    HidBackend& backend_;
    const std::filesystem::path resRoot_;
    std::ostream* console_;
    // State below is protected by mutex_.
    mutable std::mutex mutex_;
    std::vector<DeviceRecord> records_;
    std::vector<std::string> categories_;
    std::string bleString_;
};

}  // namespace mousecfg
