#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <functional>
#include <string>
#include <vector>

namespace mousecfg::skin::qt::test {

// The mean difference of the colour channels inside `area`, 0 (same) to 255.
double Difference(const QImage& a, const QImage& b, const QRect& area);

// Compares `shot` with the reference picture `name` in tests/gui/reference, region by region (fonts render
// slightly differently between machines, so whole pictures are not compared pixel for pixel). `rectOf` gives
// a region by control name. MOUSECFG_UPDATE_REFERENCES=1 writes the reference instead and skips the test.
void CompareWithReference(const QImage& shot, const QString& name, const std::vector<std::string>& regions,
                          const std::function<QRect(const std::string&)>& rectOf);

}  // namespace mousecfg::skin::qt::test
