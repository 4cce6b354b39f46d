#include "tests/gui/ReferenceImages.h"

#include <cstdlib>
#include <string>

namespace mousecfg::test {

double ImageDifference(const QImage& a, const QImage& b, const QRect& area) {
    double total = 0;
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            total += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
            count += 3;
        }
    }
    return count == 0 ? 0 : total / count;
}

bool UpdatingReferences() {
    const char* update = std::getenv("MOUSECFG_UPDATE_REFERENCES");
    return update != nullptr && std::string(update) == "1";
}

}  // namespace mousecfg::test
