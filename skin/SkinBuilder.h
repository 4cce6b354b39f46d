#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "skin/XmlElement.h"

namespace mousecfg::skin {

class Control;
class ControlCallback;
class PaintManager;

// Builds controls from skin files into a paint manager.
//
// A window's skin file has the root element <Window> (attributes size, mininfo, caption, title, resizable)
// holding <Font> (id, family, size, bold, italic, underline, default), <Style> (class plus the default
// attributes of that class; class "ToolTip" styles the window's tips, see ToolTipStyle.h), <Include> (source,
// count) and the window's control tree. A part file has the root
// <Part> with the same children, or is a single control element. Controls are elements named by class; custom
// classes are asked of the callback first. A control's attributes are applied after its class's style and
// after its children were built (so "selectedid" of a combo sees its items).
//
// Problems (a file that cannot be read or is not well-formed, an unknown class, attribute or value, a missing
// image, an include loop) are traced as "skin: file:line: ..." and collected; the rest is still built.
class SkinBuilder {
public:
    SkinBuilder(PaintManager& manager, ControlCallback* callback);

    // Loads a window's skin file and makes its controls the manager's tree. False when the file could not be
    // read or parsed (the manager keeps its tree then).
    bool LoadWindow(const std::filesystem::path& file);
    // Builds the controls of a part file for the caller to add to a container. Empty when it failed.
    std::vector<std::unique_ptr<Control>> BuildPart(const std::filesystem::path& file);
    // The first control of a part file (list rows, tree nodes), or none.
    std::unique_ptr<Control> BuildPartControl(const std::filesystem::path& file);

    const std::vector<std::string>& problems() const { return problems_; }

private:
    // Finds a skin file: absolute; beside the file being read; in the resource path; from the working folder.
    std::filesystem::path Locate(const std::filesystem::path& file) const;
    Result<XmlElement> Open(const std::filesystem::path& file);
    void ReadWindowAttributes(const XmlElement& root);
    bool ReadResource(const XmlElement& element);
    void ReadFont(const XmlElement& element);
    // Builds the control of `element` and adds it to `parent` (or returns it when there is no parent).
    std::unique_ptr<Control> BuildControl(const XmlElement& element, Control* parent);
    void BuildChildren(const XmlElement& element, Control* parent, std::vector<std::unique_ptr<Control>>* out);
    void Include(const XmlElement& element, Control* parent, std::vector<std::unique_ptr<Control>>* out);
    std::unique_ptr<Control> AddToParent(std::unique_ptr<Control> control, Control* parent, int line);
    void ApplyAttributes(Control& control, const XmlElement& element, bool defaults);
    void Problem(int line, const std::string& text);

    PaintManager& manager_;
    ControlCallback* callback_;
    std::vector<std::filesystem::path> files_;  // the file being read last; includes push onto it
    std::vector<std::string> problems_;
};

}  // namespace mousecfg::skin
