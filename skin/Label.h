#pragma once

#include "skin/Control.h"

namespace mousecfg::skin {

// A text with alignment, colour and font. With "autocalcwidth" its width follows its text.
class Label : public Control {
public:
    std::string_view GetClass() const override { return "Label"; }
    Size EstimateSize(Size available) override;
    // The size the text needs in the control's font (the window's text measurement).
    Size MeasureText() const;

protected:
    AttributeStatus ApplyAttribute(const std::string& name, std::string_view value) override;
    void PaintText(Painter& painter) override;

private:
    bool autoWidth_ = false;
};

}  // namespace mousecfg::skin
