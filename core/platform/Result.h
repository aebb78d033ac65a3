#pragma once

#include <optional>
#include <string>
#include <utility>

namespace tessaldo {

// What the core answers where something can fail: a value, or one whole
// sentence for the user saying why not. Every face shows or prints that
// sentence as it is; none completes it. Exceptions are kept for programming
// errors, which no user can cause.
template <class T> class Result {
public:
    static Result Ok(T value) { return Result{std::move(value), {}}; }
    static Result Failed(std::string sentence) { return Result{std::nullopt, std::move(sentence)}; }

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    // Only when ok().
    const T &value() const { return *m_value; }
    T &value() { return *m_value; }
    // The sentence, only when not ok().
    const std::string &message() const { return m_message; }

private:
    Result(std::optional<T> value, std::string message) : m_value(std::move(value)), m_message(std::move(message)) {}
    std::optional<T> m_value;
    std::string m_message;
};

// Success with nothing to give, or the sentence saying why not.
template <> class Result<void> {
public:
    static Result Ok() { return Result{}; }
    static Result Failed(std::string sentence) { return Result{std::move(sentence)}; }

    bool ok() const { return m_message.empty(); }
    explicit operator bool() const { return ok(); }
    const std::string &message() const { return m_message; }

private:
    Result() = default;
    explicit Result(std::string message) : m_message(std::move(message)) {}
    std::string m_message;
};

} // namespace tessaldo
