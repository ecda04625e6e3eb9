#pragma once
// The program's one failure type: a message and, possibly, the failure it wraps.
#include <exception>
#include <memory>
#include <string>
#include <utility>

class Failure : public std::exception {
public:
    explicit Failure(std::wstring message, std::shared_ptr<const Failure> inner = nullptr)
        : message_(std::move(message)), inner_(std::move(inner)) {}

    const std::wstring& message() const noexcept { return message_; }
    const Failure* inner() const noexcept { return inner_.get(); }
    const char* what() const noexcept override { return "Failure"; }

private:
    std::wstring message_;
    std::shared_ptr<const Failure> inner_;
};
