#pragma once

#include <cstdio>

#include "device/ReportTransport.h"

namespace mousecfg::cli {

// Prints every feature report that passes the transport: "> " and the bytes sent, "< " and the bytes
// received, each byte as two lower-case hex digits, separated by single blanks, one report per line.
class FrameTracer final : public FrameObserver {
public:
    explicit FrameTracer(std::FILE* out) : out_(out) {}
    void OnReportSent(const FeatureReport& report) override;
    void OnReportReceived(const FeatureReport& report) override;

private:
    std::FILE* out_;
};

}  // namespace mousecfg::cli
