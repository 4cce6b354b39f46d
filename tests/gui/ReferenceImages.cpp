#include "tests/gui/ReferenceImages.h"

#include <cstdlib>
#include <gtest/gtest.h>
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

void CompareWithReference(const QImage& shot, const QString& path, const std::vector<std::string>& regions,
                          const std::function<QRect(const std::string&)>& rectOf) {
    if (UpdatingReferences()) {
        ASSERT_TRUE(shot.save(path));
        GTEST_SKIP() << "reference written: " << path.toStdString();
    }
    QImage reference(path);
    ASSERT_FALSE(reference.isNull()) << "missing reference " << path.toStdString();
    reference = reference.convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(reference.size(), shot.size());
    for (const std::string& region : regions) {
        const QRect area = rectOf(region);
        ASSERT_FALSE(area.isEmpty()) << region;
        EXPECT_LT(ImageDifference(shot, reference, area), 12.0) << region << " differs from " << path.toStdString();
    }
}

}  // namespace mousecfg::test
