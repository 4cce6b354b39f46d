#include "cli/FrameTracer.h"

#include "device/HexText.h"

namespace mousecfg::cli {

void FrameTracer::OnReportSent(const FeatureReport& report) {
    std::fprintf(out_, "> %s\n", ToSpacedHex(report).c_str());
    std::fflush(out_);
}

void FrameTracer::OnReportReceived(const FeatureReport& report) {
    std::fprintf(out_, "< %s\n", ToSpacedHex(report).c_str());
    std::fflush(out_);
}

}  // namespace mousecfg::cli
