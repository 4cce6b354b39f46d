#include "update/BackgroundJob.h"

namespace mousecfg::update {

BackgroundJob::~BackgroundJob() {
    cancel_ = true;
    if (worker_.joinable()) {
        worker_.join();
    }
}

bool BackgroundJob::Start(Job job, std::weak_ptr<MessageSink> target) {
    if (running_.exchange(true)) {
        return false;
    }
    if (worker_.joinable()) {
        worker_.join();  // the previous job has ended; only its thread is left to collect
    }
    worker_ = std::thread([this, job = std::move(job), target = std::move(target)] {
        Message message = job(cancel_);
        running_ = false;
        if (const std::shared_ptr<MessageSink> sink = target.lock()) {
            sink->Post(std::move(message));
        }
    });
    return true;
}

}  // namespace mousecfg::update
