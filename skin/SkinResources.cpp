#include "skin/SkinResources.h"

#include <algorithm>

#include "skin/PaintManager.h"
#include "skin/SkinPlatform.h"

namespace mousecfg::skin {
namespace {

struct State {
    std::filesystem::path resourcePath;
    std::string fontFamily;
    bool rightToLeft = false;
    TextQuery* textQuery = nullptr;
    std::vector<PaintManager*> managers;
};

State& Shared() {
    static State state;
    return state;
}

}  // namespace

void SkinResources::SetResourcePath(std::filesystem::path folder) {
    Shared().resourcePath = std::move(folder);
}

const std::filesystem::path& SkinResources::GetResourcePath() {
    return Shared().resourcePath;
}

void SkinResources::SetTextQueryInterface(TextQuery* query) {
    Shared().textQuery = query;
}

TextQuery* SkinResources::GetTextQueryInterface() {
    return Shared().textQuery;
}

void SkinResources::ReloadText() {
    // Copy: reloading a text may raise notifications whose handlers open or close windows.
    const std::vector<PaintManager*> managers = Shared().managers;
    for (PaintManager* manager : managers) {
        if (std::find(Shared().managers.begin(), Shared().managers.end(), manager) != Shared().managers.end()) {
            manager->ReloadText();
        }
    }
}

void SkinResources::SetFontFamily(std::string family) {
    Shared().fontFamily = std::move(family);
    if (Shared().fontFamily.empty()) {
        return;
    }
    for (PaintManager* manager : Shared().managers) {
        manager->SetFontFamilyForAll(Shared().fontFamily);
    }
}

const std::string& SkinResources::GetFontFamily() {
    return Shared().fontFamily;
}

void SkinResources::SetRightToLeft(bool rightToLeft) {
    if (rightToLeft == Shared().rightToLeft) {
        return;
    }
    Shared().rightToLeft = rightToLeft;
    SkinPlatform::Get().SetRightToLeft(rightToLeft);
    for (PaintManager* manager : Shared().managers) {
        manager->NeedUpdate();
    }
}

bool SkinResources::IsRightToLeft() {
    return Shared().rightToLeft;
}

void SkinResources::Register(PaintManager* manager) {
    Shared().managers.push_back(manager);
}

void SkinResources::Unregister(PaintManager* manager) {
    auto& managers = Shared().managers;
    managers.erase(std::remove(managers.begin(), managers.end(), manager), managers.end());
}

const std::vector<PaintManager*>& SkinResources::Managers() {
    return Shared().managers;
}

}  // namespace mousecfg::skin
