#pragma once

#include <optional>
#include <string>
#include <utility>

namespace mousecfg {

// Outcome of an operation of our own APIs: success, or failure with a one-line message.
class Status {
public:
    static Status Ok() { return Status(); }
    static Status Error(std::string message) { return Status(std::move(message)); }

    bool ok() const { return !message_.has_value(); }
    explicit operator bool() const { return ok(); }
    // The failure text; empty on success.
    const std::string& message() const {
        static const std::string kEmpty;
        return message_ ? *message_ : kEmpty;
    }

private:
    Status() = default;
    explicit Status(std::string message) : message_(std::move(message)) {}
    std::optional<std::string> message_;
};

// A value or the message of the failure that prevented it.
template <typename T>
class Result {
public:
    Result(T value) : value_(std::move(value)) {}  // NOLINT(google-explicit-constructor)
    Result(Status failure) : failure_(std::move(failure)) {}  // NOLINT(google-explicit-constructor)

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    T& value() { return *value_; }
    const T& value() const { return *value_; }
    T& operator*() { return *value_; }
    const T& operator*() const { return *value_; }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }
    const std::string& message() const { return failure_.message(); }
    Status status() const { return ok() ? Status::Ok() : failure_; }

private:
    std::optional<T> value_;
    Status failure_ = Status::Ok();
};

}  // namespace mousecfg
