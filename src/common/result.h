// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <optional>
#include <utility>

// A value, or the Czech message that says why there is none.
template <typename T> class [[nodiscard]] Result {
public:
    Result(T value) : m_value(std::move(value)) {}
    static Result failure(QString message, int code = 0)
    {
        Result r;
        r.m_error = std::move(message);
        r.m_code = code;
        return r;
    }

    // The failure of an earlier step of another kind, as this step's.
    template <typename U> static Result failureOf(const Result<U>& step) { return failure(step.error(), step.code()); }

    bool ok() const { return m_value.has_value(); }
    const T& value() const& { return *m_value; }
    T&& value() && { return std::move(*m_value); }
    T valueOr(T fallback) const { return m_value ? *m_value : std::move(fallback); }
    // Empty when there is a value.
    const QString& error() const { return m_error; }
    // The kind of failure, for a caller that tells kinds apart (an exit status); 0 unless given.
    int code() const { return m_code; }

private:
    Result() = default;
    std::optional<T> m_value;
    QString m_error;
    int m_code = 0;
};

// Success, or the Czech message that says why the step failed.
template <> class [[nodiscard]] Result<void> {
public:
    Result() = default;
    static Result failure(QString message, int code = 0)
    {
        Result r;
        r.m_failed = true;
        r.m_error = std::move(message);
        r.m_code = code;
        return r;
    }

    template <typename U> static Result failureOf(const Result<U>& step) { return failure(step.error(), step.code()); }

    bool ok() const { return !m_failed; }
    const QString& error() const { return m_error; }
    int code() const { return m_code; }

private:
    bool m_failed = false;
    QString m_error;
    int m_code = 0;
};
