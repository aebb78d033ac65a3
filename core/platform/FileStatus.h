#pragma once

#include <string>
#include <utility>

namespace tessaldo {

// The outcome of a file operation: success, or a sentence for the user that
// names the file and the reason.
class FileStatus {
public:
    static FileStatus Ok() { return FileStatus{}; }
    static FileStatus Failed(std::string message) { return FileStatus{std::move(message)}; }

    bool ok() const { return m_message.empty(); }
    explicit operator bool() const { return ok(); }
    const std::string &message() const { return m_message; }

private:
    FileStatus() = default;
    explicit FileStatus(std::string message) : m_message(std::move(message)) {}
    std::string m_message;
};

} // namespace tessaldo
