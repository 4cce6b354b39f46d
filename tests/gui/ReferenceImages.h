#pragma once

#include <QImage>
#include <QRect>

namespace mousecfg::test {

// The mean difference of the colour channels of two screenshots inside `area`, 0 (same) to 255. Screenshots are
// compared with their reference pictures region by region with this, within a tolerance: fonts render slightly
// differently between machines.
double ImageDifference(const QImage& a, const QImage& b, const QRect& area);

// MOUSECFG_UPDATE_REFERENCES=1: the tests write their reference pictures instead of comparing with them.
bool UpdatingReferences();

}  // namespace mousecfg::test
