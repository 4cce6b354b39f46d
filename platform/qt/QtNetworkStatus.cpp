#include "platform/qt/QtNetworkStatus.h"

#include <QNetworkInformation>

#include "platform/Trace.h"

namespace mousecfg::qt {

bool QtNetworkStatus::IsConnectedToInternet() {
    if (QNetworkInformation::instance() == nullptr &&
        !QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability)) {
        trace::Write("network information: no backend; counted as not connected\n");
        return false;
    }
    const QNetworkInformation* information = QNetworkInformation::instance();
    return information != nullptr && information->reachability() == QNetworkInformation::Reachability::Online;
}

}  // namespace mousecfg::qt
