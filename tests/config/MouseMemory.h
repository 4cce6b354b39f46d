#pragma once

#include <array>
#include <cstdint>

namespace mousecfg {
namespace sim {
class VirtualMouse;
}
struct DeviceFeature;
struct MouseConfig;
struct SensorOptions;

namespace test {

// The four assignment bytes of the built-in function codes the tests' documents use, as the mouse's
// documentation of its command set lists them (independent of the encoder under test).
std::array<uint8_t, 4> BuiltInPayload(int code);

// Checks (with EXPECT) that the virtual mouse holds profile `profile` of the document as a full write leaves it:
// key slots 0..11 of the model's buttons and the wheel positions (built-in codes only), DPI table and colours,
// the lighting header and the selected mode's record, the report-rate code, the system settings and device
// options of `options`, the active profile and the profile's saved tag. The expected bytes are computed here
// from the document, not by the code under test.
void ExpectMouseHoldsProfile(const sim::VirtualMouse& mouse, const MouseConfig& config, const DeviceFeature& feature,
                             const SensorOptions& options, int profile, uint8_t rateCode);

}  // namespace test
}  // namespace mousecfg
