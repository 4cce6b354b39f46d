#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <functional>
#include <string>
#include <vector>

namespace mousecfg::test {

// The mean difference of the colour channels of two screenshots inside `area`, 0 (same) to 255. Screenshots are
// compared with their reference pictures region by region with this, within a tolerance: fonts render slightly
// differently between machines.
double ImageDifference(const QImage& a, const QImage& b, const QRect& area);

// MOUSECFG_UPDATE_REFERENCES=1: the tests write their reference pictures instead of comparing with them.
bool UpdatingReferences();

// Compares `shot` with the reference picture at `path` in the areas `rectOf` gives for the control names
// `regions` (a mean difference below 12 passes); when UpdatingReferences() it writes the picture instead and
// skips the test.
void CompareWithReference(const QImage& shot, const QString& path, const std::vector<std::string>& regions,
                          const std::function<QRect(const std::string&)>& rectOf);

}  // namespace mousecfg::test
