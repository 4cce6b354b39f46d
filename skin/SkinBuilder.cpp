#include "skin/SkinBuilder.h"

#include "platform/TextEncoding.h"
#include "platform/Trace.h"
#include "skin/AttributeText.h"
#include "skin/ChildList.h"
#include "skin/Control.h"
#include "skin/ControlFactory.h"
#include "skin/PaintManager.h"
#include "skin/SkinResources.h"
#include "skin/Tree.h"
#include "skin/TreeNode.h"

namespace mousecfg::skin {
namespace {

constexpr size_t kMaxIncludeDepth = 16;

}  // namespace

SkinBuilder::SkinBuilder(PaintManager& manager, ControlCallback* callback) : manager_(manager), callback_(callback) {}

void SkinBuilder::Problem(int line, const std::string& text) {
    const std::string file = files_.empty() ? std::string("?") : files_.back().filename().string();
    std::string message = file + ":" + std::to_string(line) + ": " + text;
    trace::Printf("skin: %s\n", message.c_str());
    problems_.push_back(std::move(message));
}

std::filesystem::path SkinBuilder::Locate(const std::filesystem::path& file) const {
    if (file.is_absolute()) {
        return file;
    }
    std::error_code error;
    std::vector<std::filesystem::path> bases;
    if (!files_.empty()) {
        bases.push_back(files_.back().parent_path());
    }
    bases.push_back(SkinResources::GetResourcePath());
    for (const auto& base : bases) {
        if (std::filesystem::is_regular_file(base / file, error)) {
            return base / file;
        }
    }
    return file;
}

Result<XmlElement> SkinBuilder::Open(const std::filesystem::path& file) {
    auto root = ReadXmlFile(Locate(file));
    if (!root) {
        trace::Printf("skin: %s\n", root.message().c_str());
        problems_.push_back(root.message());
    }
    return root;
}

bool SkinBuilder::LoadWindow(const std::filesystem::path& file) {
    const std::filesystem::path located = Locate(file);
    auto root = Open(file);
    if (!root) {
        return false;
    }
    files_.push_back(located);
    manager_.SetSkinFolder(located.parent_path());
    if (!EqualsIgnoringAsciiCase(root->name, "Window")) {
        Problem(root->line, "the root element is <" + root->name + ">, not <Window>");
    }
    ReadWindowAttributes(*root);
    std::vector<std::unique_ptr<Control>> controls;
    BuildChildren(*root, nullptr, &controls);
    files_.pop_back();
    if (controls.size() == 1) {
        manager_.SetRoot(std::move(controls.front()));
    } else {
        auto container = CreateBuiltInControl("Container");
        for (auto& control : controls) {
            container->Children()->Add(std::move(control));
        }
        manager_.SetRoot(std::move(container));
    }
    if (!SkinResources::GetFontFamily().empty()) {
        manager_.SetFontFamilyForAll(SkinResources::GetFontFamily());
    }
    return true;
}

std::vector<std::unique_ptr<Control>> SkinBuilder::BuildPart(const std::filesystem::path& file) {
    std::vector<std::unique_ptr<Control>> controls;
    const std::filesystem::path located = Locate(file);
    auto root = Open(file);
    if (!root) {
        return controls;
    }
    files_.push_back(located);
    if (EqualsIgnoringAsciiCase(root->name, "Part") || EqualsIgnoringAsciiCase(root->name, "Window")) {
        BuildChildren(*root, nullptr, &controls);
    } else if (auto control = BuildControl(*root, nullptr)) {
        controls.push_back(std::move(control));
    }
    files_.pop_back();
    return controls;
}

std::unique_ptr<Control> SkinBuilder::BuildPartControl(const std::filesystem::path& file) {
    auto controls = BuildPart(file);
    if (controls.empty()) {
        return nullptr;
    }
    return std::move(controls.front());
}

void SkinBuilder::ReadWindowAttributes(const XmlElement& root) {
    WindowSkinInfo& info = manager_.windowInfo();
    for (const auto& [key, value] : root.attributes) {
        const std::string name = ToAsciiLower(key);
        bool ok = true;
        if (name == "size" || name == "mininfo") {
            const auto size = attr::ParseSize(value);
            ok = size.has_value();
            if (ok) {
                (name == "size" ? info.size : info.minSize) = *size;
            }
        } else if (name == "caption") {
            const auto rect = attr::ParseRect(value);
            ok = rect.has_value();
            info.caption = rect.value_or(Rect{});
        } else if (name == "title" || name == "text") {
            info.title = value;
        } else if (name == "resizable" || name == "mirror") {
            const auto flag = attr::ParseBool(value);
            ok = flag.has_value();
            (name == "mirror" ? info.mirror : info.resizable) = flag.value_or(false);
        } else {
            Problem(root.line, "Window: unknown attribute '" + key + "'");
            continue;
        }
        if (!ok) {
            Problem(root.line, "Window: bad value for attribute '" + key + "' = '" + value + "'");
        }
    }
}

void SkinBuilder::ReadFont(const XmlElement& element) {
    FontSpec font = manager_.GetDefaultFont();
    font.family = std::string(element.Attribute("family"));
    const auto id = attr::ParseInt(element.Attribute("id"));
    const auto size = attr::ParseInt(element.Attribute("size"));
    if (size) {
        font.size = *size;
    }
    font.bold = attr::ParseBool(element.Attribute("bold")).value_or(false);
    font.italic = attr::ParseBool(element.Attribute("italic")).value_or(false);
    font.underline = attr::ParseBool(element.Attribute("underline")).value_or(false);
    if (!size || *size <= 0) {
        Problem(element.line, "Font: bad or missing 'size'");
        return;
    }
    if (attr::ParseBool(element.Attribute("default")).value_or(false)) {
        manager_.SetDefaultFont(font);
    }
    if (id) {
        manager_.AddFont(*id, font);
    } else if (element.HasAttribute("id")) {
        Problem(element.line, "Font: bad value for 'id'");
    }
}

bool SkinBuilder::ReadResource(const XmlElement& element) {
    if (EqualsIgnoringAsciiCase(element.name, "Font")) {
        ReadFont(element);
        return true;
    }
    if (EqualsIgnoringAsciiCase(element.name, "Style")) {
        const std::string className(element.Attribute("class"));
        if (className.empty()) {
            Problem(element.line, "Style: missing 'class'");
            return true;
        }
        AttributeList attributes;
        for (const auto& attribute : element.attributes) {
            if (!EqualsIgnoringAsciiCase(attribute.first, "class")) {
                attributes.push_back(attribute);
            }
        }
        manager_.SetDefaultAttributes(className, std::move(attributes));
        return true;
    }
    return false;
}

void SkinBuilder::BuildChildren(const XmlElement& element, Control* parent,
                                std::vector<std::unique_ptr<Control>>* out) {
    for (const XmlElement& child : element.children) {
        if (EqualsIgnoringAsciiCase(child.name, "Include")) {
            Include(child, parent, out);
            continue;
        }
        if (ReadResource(child)) {
            continue;
        }
        auto control = BuildControl(child, parent);
        if (control && out != nullptr) {
            out->push_back(std::move(control));
        }
    }
}

void SkinBuilder::Include(const XmlElement& element, Control* parent, std::vector<std::unique_ptr<Control>>* out) {
    std::string source(element.Attribute("source"));
    if (source.empty()) {
        Problem(element.line, "Include: missing 'source'");
        return;
    }
    if (files_.size() >= kMaxIncludeDepth) {
        Problem(element.line, "Include: '" + source + "' is nested too deeply (an include loop?)");
        return;
    }
    const int count = element.HasAttribute("count") ? attr::ParseInt(element.Attribute("count")).value_or(-1) : 1;
    if (count < 0) {
        Problem(element.line, "Include: bad value for 'count'");
        return;
    }
    const std::filesystem::path located = Locate(source);
    auto root = Open(source);
    if (!root) {
        return;
    }
    files_.push_back(located);
    for (int i = 0; i < count; ++i) {
        if (EqualsIgnoringAsciiCase(root->name, "Part") || EqualsIgnoringAsciiCase(root->name, "Window")) {
            BuildChildren(*root, parent, out);
        } else if (auto control = BuildControl(*root, parent); control && out != nullptr) {
            out->push_back(std::move(control));
        }
    }
    files_.pop_back();
}

std::unique_ptr<Control> SkinBuilder::BuildControl(const XmlElement& element, Control* parent) {
    std::unique_ptr<Control> control = callback_ != nullptr ? callback_->CreateControl(element.name) : nullptr;
    if (!control) {
        control = CreateBuiltInControl(element.name);
    }
    if (!control) {
        Problem(element.line, "unknown control class <" + element.name + ">");
        return nullptr;
    }
    control->Attach(&manager_, parent);
    if (const AttributeList* defaults = manager_.GetDefaultAttributes(element.name)) {
        XmlElement styled;
        styled.attributes = *defaults;
        styled.line = element.line;
        ApplyAttributes(*control, styled, true);
    }
    // The control joins its parent before its children are built: a child tree node needs its parent node in
    // the tree already.
    Control* built = control.get();
    control = AddToParent(std::move(control), parent, element.line);
    if (parent != nullptr && control) {
        return nullptr;  // the parent could not take it (it is destroyed here, before anything else uses it)
    }
    if (built->Children() != nullptr) {
        BuildChildren(element, built, nullptr);
    } else if (!element.children.empty()) {
        Problem(element.line, "<" + element.name + "> cannot hold other controls; its children are ignored");
    }
    ApplyAttributes(*built, element, false);
    return control;
}

std::unique_ptr<Control> SkinBuilder::AddToParent(std::unique_ptr<Control> control, Control* parent, int line) {
    if (parent == nullptr) {
        return control;
    }
    auto* node = dynamic_cast<TreeNode*>(control.get());
    if (node != nullptr) {
        if (auto* tree = dynamic_cast<Tree*>(parent)) {
            tree->AddNode(std::unique_ptr<TreeNode>(static_cast<TreeNode*>(control.release())));
            return nullptr;
        }
        auto* parentNode = dynamic_cast<TreeNode*>(parent);
        if (parentNode != nullptr && parentNode->GetTree() != nullptr) {
            parentNode->GetTree()->AddNode(std::unique_ptr<TreeNode>(static_cast<TreeNode*>(control.release())),
                                           parentNode);
            return nullptr;
        }
    }
    if (parent->Children() == nullptr) {
        Problem(line, "the parent cannot hold controls");
        return control;
    }
    parent->Children()->Add(std::move(control));
    return nullptr;
}

void SkinBuilder::ApplyAttributes(Control& control, const XmlElement& element, bool defaults) {
    for (const auto& [key, value] : element.attributes) {
        const AttributeStatus status = control.TrySetAttribute(key, value);
        const std::string where = std::string(control.GetClass()) + " '" + control.GetName() + "'" +
                                  (defaults ? " (style)" : "");
        if (status == AttributeStatus::Unknown) {
            Problem(element.line, where + ": unknown attribute '" + key + "'");
            continue;
        }
        if (status == AttributeStatus::Invalid) {
            Problem(element.line, where + ": bad value for attribute '" + key + "' = '" + value + "'");
            continue;
        }
        const std::string lower = ToAsciiLower(key);
        if (lower.size() > 5 && lower.ends_with("image")) {
            const auto image = attr::ParseImage(value);
            std::error_code error;
            if (image && !image->empty() &&
                !std::filesystem::exists(manager_.ResolveImagePath(image->file), error)) {
                Problem(element.line, where + ": attribute '" + key + "' names a missing image '" + image->file + "'");
            }
        }
    }
}

}  // namespace mousecfg::skin
