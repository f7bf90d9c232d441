#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace qov {

// A run-time failure: a number and a description, as the procedures that
// "catch every failure" hand them to ShowError.
class RunError : public std::runtime_error {
public:
    // The data access layer's unspecified failure; raised when a database cannot be opened.
    static constexpr std::int32_t kDatabaseUnavailable = static_cast<std::int32_t>(0x80004005u);
    // File not found / path not found / permission denied / invalid procedure call / type mismatch.
    static constexpr std::int32_t kFileNotFound = 53;
    static constexpr std::int32_t kPathNotFound = 76;
    static constexpr std::int32_t kPermissionDenied = 70;
    static constexpr std::int32_t kInvalidCall = 5;
    static constexpr std::int32_t kTypeMismatch = 13;
    static constexpr std::int32_t kOverflow = 6;
    static constexpr std::int32_t kSubscriptOutOfRange = 9;
    static constexpr std::int32_t kDiskFull = 61;

    RunError(std::int32_t number, const std::string& description, std::string helpFile = {},
             std::int32_t helpContext = 0)
        : std::runtime_error(description),
          number_(number),
          helpFile_(std::move(helpFile)),
          helpContext_(helpContext) {}

    std::int32_t number() const { return number_; }
    std::string description() const { return what(); }
    const std::string& helpFile() const { return helpFile_; }
    std::int32_t helpContext() const { return helpContext_; }

private:
    std::int32_t number_;
    std::string helpFile_;
    std::int32_t helpContext_;
};

}  // namespace qov
