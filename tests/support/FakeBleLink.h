#pragma once

#include <string>
#include <vector>

#include "device/BleLink.h"

namespace mousecfg::test {

// A BLE link that records the calls made to it and answers them as configured (single-threaded use).
class FakeBleLink final : public BleLink {
public:
    HResult RegisterDevices(const std::string& deviceNames, MessageSink* window, int messageNumber) override {
        registered.push_back(deviceNames);
        this->window = window;
        this->messageNumber = messageNumber;
        return result;
    }
    HResult QueryStatus(int16_t* status) override {
        ++queries;
        *status = queryStatus;
        return result;
    }
    HResult SendFrame(const std::string& hexText, int16_t* sent) override {
        texts.push_back(hexText);
        *sent = sendResult;
        return result;
    }

    HResult result = kS_OK;
    int16_t sendResult = 1;
    int16_t queryStatus = 7;
    std::vector<std::string> texts;
    std::vector<std::string> registered;
    MessageSink* window = nullptr;
    int messageNumber = 0;
    int queries = 0;
};

}  // namespace mousecfg::test
