// Whole scenarios of the mouse session against the virtual mouse, with the apply worker on its own thread: what
// the mouse ends up holding is decoded from its memory and compared with the document.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

#include <nlohmann/json.hpp>

#include "config/ApplyMessages.h"
#include "config/KeyAssignment.h"
#include "config/ReportRate.h"
#include "device/DeviceMessages.h"
#include "device/DeviceRequest.h"
#include "platform/AtomicFile.h"
#include "platform/PrivateProfile.h"
#include "sim/VirtualMouse.h"
#include "tests/config/MouseMemory.h"
#include "tests/config/SessionHarness.h"

namespace mousecfg {
namespace {

using test::RigLink;
using test::SessionHarness;

// Frames the mouse received per command code (writes; reads carry bit 7).
std::map<int, int> FramesByCode(const sim::VirtualMouse& mouse) {
    std::map<int, int> counts;
    for (const auto& entry : mouse.Log()) {
        if (entry.direction == sim::FrameLogEntry::Direction::Received) {
            ++counts[entry.report[3]];
        }
    }
    return counts;
}

std::filesystem::path ModelFolder(const SessionHarness& h) {
    return h.res.path() / "VeruzUrir" / "MouseA";
}

std::array<uint16_t, 4> SavedTags(const SessionHarness& h) {
    ini::ClearCache();
    return LoadDeviceFeature(ModelFolder(h), h.session->feature().chipNumber).profileTags;
}

void ExpectHeld(SessionHarness& h, int profile) {
    const MouseSession& s = *h.session;
    const ProfileSettings& settings = s.config().profiles[static_cast<size_t>(profile)];
    const int index = s.link() == LinkKind::Receiver ? settings.dongleRate : settings.usbRate;
    test::ExpectMouseHoldsProfile(h.rig.mouse(), s.config(), s.feature(), s.options(), profile,
                                  static_cast<uint8_t>(RateCodeFromIndex(s.deviceName(), index)));
}

// A full write sends each request once on the cable and writeTimes (4) times through the receiver; only the two
// wheel positions go once. Every frame of the Part's sequence, and no other.
TEST(ApplyScenario, FullWriteSendsEachRequestOnceOnTheCableAndWriteTimesThroughTheReceiver) {
    for (RigLink link : {RigLink::Cable, RigLink::Receiver}) {
        SessionHarness h(link);
        h.Load();
        const int n = link == RigLink::Cable ? 1 : h.session->feature().writeTimes;
        ASSERT_EQ(h.session->feature().keyCount, 8);
        ASSERT_TRUE(h.session->StartApply(true));
        ASSERT_TRUE(h.WaitForRuns());

        const std::map<int, int> expected = {
            {0x82, 2},          // active profile and tags read once each
            {0x02, 5 * n + n},  // active profile, tag, sleep, sensor byte, lift-off; the new tag
            {0x03, n},         {0x04, 8 * n}, {0x05, 2}, {0x06, n}, {0x07, n}, {0x09, 2 * n}, {0x0A, 2 * n},
        };
        EXPECT_EQ(FramesByCode(h.rig.mouse()), expected) << (link == RigLink::Cable ? "cable" : "receiver");
        ExpectHeld(h, 0);
        EXPECT_EQ(SavedTags(h)[0], h.rig.mouse().System().profileTags[0]);
        ASSERT_TRUE(h.session->lastOutcome().has_value());
        EXPECT_TRUE(h.session->lastOutcome()->wrote);
        EXPECT_EQ(h.session->lastOutcome()->failedWrites, 0);
        EXPECT_FALSE(h.session->ApplyRunning());
        EXPECT_EQ(h.pages.progress, (std::vector<std::pair<bool, bool>>{{true, true}, {false, false}}));
        EXPECT_EQ(h.pages.steps.back().first, h.pages.steps.back().second);
    }
}

TEST(ApplyScenario, ASecondFullRunWithMatchingTagsOnlyReads) {
    SessionHarness h(RigLink::Receiver);
    h.Load();
    ASSERT_TRUE(h.session->StartApply(true));
    ASSERT_TRUE(h.WaitForRuns());
    const auto tags = SavedTags(h);
    h.rig.mouse().ClearLog();

    ASSERT_TRUE(h.session->StartApply(true));
    ASSERT_TRUE(h.WaitForRuns());
    EXPECT_EQ(FramesByCode(h.rig.mouse()), (std::map<int, int>{{0x82, 2}}));
    EXPECT_EQ(SavedTags(h), tags) << "no new tag";
    EXPECT_FALSE(h.session->lastOutcome()->wrote);
    ExpectHeld(h, 0);
}

// Switching to a profile the mouse does not hold writes it in full; switching back to one it holds writes only
// the active profile and takes the lighting mode, DPI level and report rate the mouse reports.
TEST(ApplyScenario, ProfileSwitchWritesWhatTheMouseLacksAndReadsBackWhatItHolds) {
    SessionHarness h(RigLink::Cable);
    h.Load();
    ASSERT_TRUE(h.session->StartApply(true));
    ASSERT_TRUE(h.WaitForRuns());

    MouseConfig& config = h.session->config();
    config.profiles[1].dpiLevels[0].gear = 20;
    config.lighting[1][0].mode = 4;
    config.keyProfiles[1][ButtonName(3)].code = 29;
    h.session->SelectProfile(1);
    ASSERT_TRUE(h.WaitForRuns());
    EXPECT_EQ(h.rig.mouse().System().activeProfile, 1);
    ExpectHeld(h, 1);
    EXPECT_FALSE(h.session->applyState().profileSwitched);

    // The document of profile 0 drifted from what the mouse holds (as after a change made on the mouse).
    config.profiles[0].currentDpiLevel = 5;
    config.lighting[0][0].mode = 3;
    config.profiles[0].usbRate = 0;
    h.rig.mouse().ClearLog();
    const auto tags = SavedTags(h);
    h.session->SelectProfile(0);
    ASSERT_TRUE(h.WaitForRuns());
    EXPECT_EQ(FramesByCode(h.rig.mouse()), (std::map<int, int>{{0x82, 2}, {0x02, 1}, {0x89, 2}, {0x86, 1}, {0x83, 1}}));
    EXPECT_EQ(h.rig.mouse().System().activeProfile, 0);
    EXPECT_EQ(config.profiles[0].currentDpiLevel, 1);
    EXPECT_EQ(config.lighting[0][0].mode, 2);
    EXPECT_EQ(config.profiles[0].usbRate, 3);
    EXPECT_EQ(SavedTags(h), tags);
    ExpectHeld(h, 0);
}

// After a macro change the keys alone are written, even though the tags match, and every profile gets a new tag.
TEST(ApplyScenario, AMacroChangeWritesTheKeysOnlyAndRenewsTheTagsOfAllProfiles) {
    SessionHarness h(RigLink::Cable);
    h.Load();
    ASSERT_TRUE(h.session->StartApply(true));
    ASSERT_TRUE(h.WaitForRuns());
    const auto tags = SavedTags(h);
    h.rig.mouse().ClearLog();
    h.session->OnMacrosChanged();
    EXPECT_TRUE(h.session->applyState().macrosChanged) << "until the run has finished";
    ASSERT_TRUE(h.WaitForRuns());
    EXPECT_EQ(FramesByCode(h.rig.mouse()), (std::map<int, int>{{0x82, 2}, {0x04, 8}, {0x05, 2}, {0x02, 1}}));
    const auto renewed = SavedTags(h);
    for (size_t p = 0; p < 3; ++p) {
        EXPECT_NE(renewed[p], tags[p]) << "profile " << p;
    }
    EXPECT_EQ(renewed[3], tags[3]);
    EXPECT_EQ(h.rig.mouse().System().profileTags[0], renewed[0]);
    EXPECT_FALSE(h.session->applyState().macrosChanged);
}

// A run that follows the mouse takes the profile the mouse reports and writes it when the mouse lacks it.
TEST(ApplyScenario, FollowingTheMouseAdoptsItsActiveProfile) {
    SessionHarness h(RigLink::Receiver);
    h.Load();
    h.rig.mouse().SetActiveProfile(2);
    h.session->applyState().followMouseProfile = true;
    ASSERT_TRUE(h.session->StartApply(true));
    ASSERT_TRUE(h.WaitForRuns());
    EXPECT_EQ(h.session->config().currentProfile, 2);
    EXPECT_EQ(h.pages.selector.back(), 2);
    EXPECT_EQ(h.session->lastOutcome()->adoptedProfile, 2);
    EXPECT_FALSE(h.session->applyState().followMouseProfile);
    ExpectHeld(h, 2);
}

// An exchange file of `config` naming the device `name`.
std::string ExchangeFile(const MouseConfig& config, const std::u16string& name) {
    nlohmann::json document = nlohmann::json::parse(MouseConfigText(config));
    document["MouseName"] = nlohmann::json::array();
    for (char16_t unit : name) {
        document["MouseName"].push_back(static_cast<int>(unit));
    }
    return document.dump(4);
}

TEST(ApplyScenario, AFileOfAnotherDeviceKeepsTheConfigurationButIsReappliedAndAnOwnFileReplacesIt) {
    SessionHarness h(RigLink::Cable);
    h.Load();
    const auto configFile = MouseConfigPath(ModelFolder(h));
    const std::string saved = test::TempDir::Read(configFile);
    MouseConfig changed = h.session->config();
    changed.profiles[0].dpiLevels[2].gear = 40;

    const auto tagsBefore = SavedTags(h);
    h.dialogs.openAnswers.push_back(
        {h.res.Write("other.Mouse.Config", ExchangeFile(changed, u"Virtual Mousf")).string()});
    EXPECT_EQ(h.session->ImportConfiguration(), ImportResult::OtherDevice);
    ASSERT_TRUE(h.WaitForRuns());
    EXPECT_EQ(h.boxes.shown.size(), 1u);
    EXPECT_EQ(test::TempDir::Read(configFile), saved);
    EXPECT_NE(h.session->config().profiles[0].dpiLevels[2].gear, 40);
    EXPECT_TRUE(h.session->lastOutcome()->wrote) << "imports write whatever the tags say";
    const auto tagsAfter = SavedTags(h);
    for (size_t p = 0; p < 4; ++p) {
        EXPECT_NE(tagsAfter[p], tagsBefore[p]) << "four new tags, profile " << p;
    }

    // The device's own file, its name in other letter case: replaces the configuration.
    h.rig.mouse().ClearLog();
    h.dialogs.openAnswers.push_back(
        {h.res.Write("mine.Mouse.Config", ExchangeFile(changed, u"virtual MOUSE")).string()});
    EXPECT_EQ(h.session->ImportConfiguration(), ImportResult::Imported);
    ASSERT_TRUE(h.WaitForRuns());
    EXPECT_EQ(h.boxes.shown.size(), 1u);
    EXPECT_EQ(h.session->config().profiles[0].dpiLevels[2].gear, 40);
    MouseConfig stored;
    ASSERT_TRUE(LoadMouseConfig(stored, configFile));
    EXPECT_EQ(stored.profiles, changed.profiles);
    ExpectHeld(h, 0);
}

TEST(ApplyScenario, ResetBringsBackTheFactoryConfigurationAndOptionsAndWritesThem) {
    SessionHarness h(RigLink::Receiver);
    h.Load();
    MouseSession& s = *h.session;
    const auto model = ModelFolder(h);
    s.config().profiles[0].dpiLevels[1].gear = 60;
    s.config().keyProfiles[0][ButtonName(3)].code = 29;
    ASSERT_TRUE(s.SaveDocument());
    ASSERT_TRUE(s.SetSensorOption(sensor_key::kSleepTime, 33));
    ASSERT_TRUE(ini::WritePrivateProfileString("MacUsed", "0", "1", model / "Config" / "DeviceFeature.ini"));
    const auto tagsBefore = SavedTags(h);

    ASSERT_TRUE(s.ResetConfiguration());
    ASSERT_TRUE(h.WaitForRuns());
    MouseConfig factory;
    ASSERT_TRUE(LoadMouseConfig(factory, model / "Config" / "ResetMouseConfig.json"));
    EXPECT_EQ(s.config().profiles, factory.profiles);
    EXPECT_EQ(s.config().keyProfiles[0].at(ButtonName(3)).code, factory.keyProfiles[0].at(ButtonName(3)).code);
    EXPECT_EQ(s.options().sleepTime, 10);
    EXPECT_EQ(ini::GetProfileNumber("Set", "SleepTime", h.res / "Set.ini"), 10);
    EXPECT_EQ(ini::GetPrivateProfileString("MacUsed", "0", "gone", model / "Config" / "DeviceFeature.ini"), "gone");
    for (int p = 0; p < 3; ++p) {
        EXPECT_EQ(s.feature().LoadProfileDpiValues("profile", p), s.feature().LoadProfileDpiValues("profile_reset", p));
    }
    const auto tagsAfter = SavedTags(h);
    for (size_t p = 0; p < 4; ++p) {
        EXPECT_NE(tagsAfter[p], tagsBefore[p]);
    }
    EXPECT_NE(std::find(h.handled.begin(), h.handled.end(), msg::kMacrosReload), h.handled.end());
    ExpectHeld(h, 0);
}

// Without the factory file the configuration file is not replaced, but the rest of the reset (options, DPI
// memory, tags, the full write) still runs, and the caller is told.
TEST(ApplyScenario, ResetWithoutTheFactoryFileKeepsTheAssignmentsAndRunsTheRest) {
    SessionHarness h(RigLink::Cable);
    h.Load();
    MouseSession& s = *h.session;
    std::filesystem::remove(ModelFolder(h) / "Config" / "ResetMouseConfig.json");
    s.config().keyProfiles[0][ButtonName(3)].code = 29;
    s.config().profiles[0].dpiLevels[1].gear = 60;
    ASSERT_TRUE(s.SaveDocument());
    ASSERT_TRUE(s.SetSensorOption(sensor_key::kSleepTime, 33));

    EXPECT_FALSE(s.ResetConfiguration());
    ASSERT_TRUE(h.WaitForRuns());
    EXPECT_EQ(s.config().keyProfiles[0].at(ButtonName(3)).code, 29);
    EXPECT_EQ(s.feature().GearDpi(s.config().profiles[0].dpiLevels[1].gear), "800") << "factory DPI values";
    EXPECT_EQ(s.options().sleepTime, 10);
    EXPECT_TRUE(s.lastOutcome()->wrote);
    EXPECT_FALSE(s.ApplyRunning());
    MouseConfig saved;
    ASSERT_TRUE(LoadMouseConfig(saved, MouseConfigPath(ModelFolder(h))));
    EXPECT_EQ(saved.keyProfiles[0].at(ButtonName(3)).code, 29);
    ExpectHeld(h, 0);
}

// A fire value change rewrites the fire-key buttons of the profile and nothing else but the tag; a later single
// run is no longer diverted.
TEST(ApplyScenario, FireValueChangeRewritesOnlyTheFireKeyButtons) {
    SessionHarness h(RigLink::Cable);
    h.Load();
    MouseSession& s = *h.session;
    for (int button : {3, 4}) {
        ASSERT_TRUE(AssignFunction(s.config(), s.macros(), 0, button, 102, s.functions(), s.keyNames()));
    }
    ASSERT_TRUE(s.StartApply(true));
    ASSERT_TRUE(h.WaitForRuns());
    const auto before = h.rig.mouse().Profile(0).macros;
    h.rig.mouse().ClearLog();

    s.config().profiles[0].fireValue = 30;
    s.applyState().fireRefresh = true;
    s.RequestApply(request::kKeyAssignment, false);
    ASSERT_TRUE(h.WaitForRuns());
    const auto frames = FramesByCode(h.rig.mouse());
    EXPECT_EQ(frames.at(0x04), 2);
    EXPECT_GE(frames.at(0x08), 2);
    EXPECT_EQ(frames.at(0x02), 1) << "the new tag";
    EXPECT_EQ(frames.size(), 3u);
    const auto held = h.rig.mouse().Profile(0);
    EXPECT_EQ(held.keys[3], (std::array<uint8_t, 4>{0x0A, 0x01, 3, 0}));
    EXPECT_NE(held.macros[3], before[3]) << "the delays grew by the new fire value";
    EXPECT_NE(held.macros[4], before[4]);
    EXPECT_FALSE(s.applyState().fireRefresh);

    h.rig.mouse().ClearLog();
    s.config().profiles[0].dpiLevels[0].gear = 12;
    s.RequestApply(request::kDpiTable, false);
    ASSERT_TRUE(h.WaitForRuns());
    EXPECT_EQ(FramesByCode(h.rig.mouse()), (std::map<int, int>{{0x06, 1}, {0x02, 1}}));
}

// Over BLE the mouse's tags are known only from earlier replies: a first full run mismatches, and because
// macros cannot travel over BLE every macro binding becomes its button's default, in the document as well.
TEST(ApplyScenario, BleMismatchTurnsMacroBindingsIntoDefaults) {
    SessionHarness h(RigLink::Ble);
    h.Load();
    MouseSession& s = *h.session;
    for (int profile : {0, 1}) {
        ASSERT_TRUE(AssignMacro(s.config(), s.macros(), profile, 3, 0, 0));
    }
    ASSERT_EQ(s.macros().groups()[0].macros[0].bindKeys, 2);
    ASSERT_TRUE(s.StartApply(true));
    ASSERT_TRUE(h.WaitForRuns());
    h.Drain();
    for (int profile : {0, 1}) {
        const KeyBinding& binding = s.config().keyProfiles[static_cast<size_t>(profile)].at(ButtonName(3));
        EXPECT_EQ(binding.code, s.feature().keyDefaults[3]);
        EXPECT_TRUE(binding.macroGuid.empty());
    }
    EXPECT_EQ(s.macros().groups()[0].macros[0].bindKeys, 0);
    EXPECT_EQ(h.rig.mouse().Profile(0).keys[3], test::BuiltInPayload(4));
    EXPECT_EQ(FramesByCode(h.rig.mouse()).count(0x08), 0u) << "no macro data over BLE";
    MouseConfig saved;
    ASSERT_TRUE(LoadMouseConfig(saved, MouseConfigPath(ModelFolder(h))));
    EXPECT_EQ(saved.keyProfiles[1].at(ButtonName(3)).code, 4);
}

// A BLE run writes a new tag for its profile; the next run must find the mouse holding it and leave the macro
// bindings alone.
TEST(ApplyScenario, AfterABleRunTheNextRunFindsTheTagsMatching) {
    SessionHarness h(RigLink::Ble, nullptr, PacingValues{std::chrono::milliseconds(2), {}, {}});
    h.Load();
    MouseSession& s = *h.session;
    ASSERT_TRUE(s.StartApply(true));  // the first run knows no tags of the mouse: a mismatch
    ASSERT_TRUE(h.WaitForRuns());
    h.Drain();
    ASSERT_TRUE(AssignMacro(s.config(), s.macros(), 0, 3, 0, 0));
    for (int run = 0; run < 2; ++run) {
        ASSERT_TRUE(s.StartApply(true));
        ASSERT_TRUE(h.WaitForRuns());
        h.Drain();
        EXPECT_FALSE(s.config().keyProfiles[0].at(ButtonName(3)).macroGuid.empty()) << "run " << run;
        EXPECT_TRUE(s.image().bleMacroFallback == false) << "run " << run;
    }
}

// The Apply button saves the document first and writes the pending setting.
TEST(ApplyScenario, TheApplyButtonSavesAndWritesThePendingSetting) {
    SessionHarness h(RigLink::Cable);
    h.Load();
    h.session->config().profiles[0].dpiLevels[3].enabled = 0;
    h.session->applyState().pendingType = request::kDpiTable;
    h.session->ApplyButton();
    MouseConfig saved;
    ASSERT_TRUE(LoadMouseConfig(saved, MouseConfigPath(ModelFolder(h))));
    EXPECT_EQ(saved.profiles[0].dpiLevels[3].enabled, 0);
    ASSERT_TRUE(h.WaitForRuns());
    EXPECT_EQ(FramesByCode(h.rig.mouse()), (std::map<int, int>{{0x06, 1}, {0x02, 1}}));
    EXPECT_EQ(h.rig.mouse().Profile(0).dpiTable[0], 0b00110111);
    EXPECT_NE(std::find(h.handled.begin(), h.handled.end(), msg::kMacrosReload), h.handled.end());
}

// A run whose results cannot be stored (read-only folder, full disk) leaves the mouse ahead of the files: the next
// start would undo it without a word. The outcome carries the failure, naming the file, and a message says so.
TEST(ApplyScenario, ResultsThatCannotBeSavedAreReportedWithTheFile) {
    for (const char* name : {"MouseConfig.json", "DeviceFeature.ini"}) {
        SessionHarness h(RigLink::Cable);
        h.Load();
        const auto file = ModelFolder(h) / "Config" / name;
        const std::string before = test::TempDir::Read(file);
        SetWriteFailureForTesting([&](const std::filesystem::path& target) { return target == file; });
        h.session->config().profiles[0].dpiLevels[3].enabled = 0;
        h.session->applyState().pendingType = request::kDpiTable;
        h.session->ApplyButton();
        const bool finished = h.WaitForRuns();
        SetWriteFailureForTesting({});
        ASSERT_TRUE(finished) << name;
        const Status& saved = h.session->lastOutcome()->saved;
        EXPECT_FALSE(saved) << name;
        EXPECT_NE(saved.message().find(file.string()), std::string::npos) << saved.message();
        ASSERT_EQ(h.boxes.shown.size(), 1u) << name;
        EXPECT_EQ(h.boxes.shown[0].text, MouseSessionTexts().saveFailed + "\n" + saved.message());
        EXPECT_FALSE(h.boxes.shown[0].modal);
        EXPECT_EQ(test::TempDir::Read(file), before) << name;

        ASSERT_TRUE(h.session->StartApply(false));
        ASSERT_TRUE(h.WaitForRuns());
        EXPECT_TRUE(h.session->lastOutcome()->saved) << "the failure was reported once";
    }
}

// A pacer that calls `action` at its n-th wait (on the worker's thread) and can hold the worker there.
class TriggerPacer final : public Pacer {
  public:
    TriggerPacer(int at, std::function<void()> action) : at_(at), action_(std::move(action)) {}
    void Pause(std::chrono::milliseconds) override {
        if (++count_ == at_) {
            action_();
        }
    }

  private:
    int at_;
    std::function<void()> action_;
    std::atomic<int> count_{0};
};

TEST(ApplyScenario, ADeviceThatVanishesMidRunEndsTheRunCleanlyAndTheDocumentStays) {
    test::SimMouseRig* rig = nullptr;
    TriggerPacer pacer(40, [&] { rig->Unplug(); });
    SessionHarness h(RigLink::Receiver, &pacer, PacingValues{std::chrono::milliseconds(1), {}, {}});
    rig = &h.rig;
    h.Load();
    const std::string saved = test::TempDir::Read(MouseConfigPath(ModelFolder(h)));
    ASSERT_TRUE(h.session->StartApply(true));
    ASSERT_TRUE(h.WaitForRuns());
    EXPECT_FALSE(h.session->ApplyRunning());
    EXPECT_GT(h.session->lastOutcome()->failedWrites, 0);
    EXPECT_EQ(test::TempDir::Read(MouseConfigPath(ModelFolder(h))), saved);
    EXPECT_TRUE(h.timers.IsTimerRunning(timer::kStatusPoll));
}

// A pacer that, once armed, holds the worker at its next wait until opened.
class GatePacer final : public Pacer {
  public:
    void Pause(std::chrono::milliseconds) override {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!armed_) {
            return;
        }
        reached_ = true;
        changed_.notify_all();
        changed_.wait(lock, [&] { return !armed_; });
    }
    void Arm() {
        std::lock_guard<std::mutex> lock(mutex_);
        armed_ = true;
    }
    void WaitUntilReached() {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return reached_; });
    }
    void Open() {
        std::lock_guard<std::mutex> lock(mutex_);
        armed_ = false;
        changed_.notify_all();
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool armed_ = false;
    bool reached_ = false;
};

TEST(ApplyScenario, ARequestDuringARunIsDroppedAndTheStatusPollPausesForTheRun) {
    GatePacer gate;
    SessionHarness h(RigLink::Cable, &gate, PacingValues{std::chrono::milliseconds(1), {}, {}});
    h.Load();
    h.timers.SetTimer(timer::kStatusPoll, timer::kStatusPollInterval);
    gate.Arm();
    ASSERT_TRUE(h.session->StartApply(true));
    gate.WaitUntilReached();
    EXPECT_FALSE(h.timers.IsTimerRunning(timer::kStatusPoll));
    EXPECT_TRUE(h.session->ApplyRunning());
    EXPECT_FALSE(h.session->StartApply(false));
    h.session->RequestApply(request::kDpiTable, false);
    gate.Open();
    ASSERT_TRUE(h.WaitForRuns());
    h.Drain();
    EXPECT_EQ(h.finishedRuns, 1);
    EXPECT_FALSE(h.session->ApplyRunning());
    EXPECT_EQ(h.timers.Interval(timer::kStatusPoll), timer::kStatusPollInterval);
}

// The values the reader threads compare with follow the document while another thread reads them.
TEST(ApplyScenario, ReaderThreadsSeeTheValuesOfTheCurrentProfile) {
    SessionHarness h(RigLink::Cable);
    h.Load();
    MouseSession& s = *h.session;
    s.config().profiles[2].currentDpiLevel = 4;
    s.config().lighting[2][0].mode = 5;
    s.config().profiles[2].usbRate = 1;
    std::atomic<bool> stop{false};
    std::atomic<int> outOfRange{0};
    std::thread reader([&] {
        while (!stop.load()) {
            const int profile = s.CurrentProfile();
            outOfRange += profile < 0 || profile > 2 || s.DpiLevelFlag(s.CurrentDpiLevel()) < 0 ? 1 : 0;
            s.MappedButton(0, 2);
        }
    });
    for (int i = 0; i < 200; ++i) {
        s.ShowProfile(i % 3);
    }
    s.ShowProfile(2);
    stop = true;
    reader.join();
    EXPECT_EQ(outOfRange.load(), 0);
    EXPECT_EQ(s.CurrentProfile(), 2);
    EXPECT_EQ(s.CurrentDpiLevel(), 4);
    EXPECT_EQ(s.CurrentLightingValue(), 5);
    EXPECT_EQ(s.ReportRateCode(), 4);
    EXPECT_EQ(s.MappedButton(0, 2), 2) << "K3_MAP = 3: key slot 3 is page button 2";
}

}  // namespace
}  // namespace mousecfg
