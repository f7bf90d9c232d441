#include "app/file_check.h"

#include <filesystem>
#include <system_error>

namespace qov {

std::string TextFileProblem(const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return "file not found";
    }
    if (error) {
        return error.message();
    }
    if (status.type() != std::filesystem::file_type::regular) {
        return "not a regular file";
    }
    const auto size = std::filesystem::file_size(path, error);
    if (!error && size > kMaxTextFileSize) {
        return "larger than 4 MB";
    }
    return {};
}

std::string ReplaceFileProblem(const std::string& path) {
    std::error_code error;
    const auto type = std::filesystem::status(path, error).type();
    if (type == std::filesystem::file_type::not_found ||
        type == std::filesystem::file_type::regular) {
        return {};
    }
    return error ? error.message() : "not a regular file";
}

}  // namespace qov
