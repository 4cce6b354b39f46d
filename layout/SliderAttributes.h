#pragma once

#include "layout/CControlAttributes.h"

namespace mousecfg::layout {

// A slider entry: only its position is applied; the thumb image is read and kept.
class SliderAttributes : public CControlAttributes {
public:
    void Parse(const nlohmann::json& entry) override;
    const std::string& GetThumbImage() const { return thumbImage_; }

protected:
    void Dress(skin::Control& control, const PageImages& images) const override;

private:
    std::string thumbImage_;
};

}  // namespace mousecfg::layout
