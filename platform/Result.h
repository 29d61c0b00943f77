#pragma once

// One way to report a failure: a Result holds either its value or an Error, a one-line message
// saying what went wrong (naming the file or option concerned). Code that fails returns one; the
// caller decides whether and where to print it. Nothing beneath the program's entry points prints.

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace dazed {

struct Error {
    std::string message;
};

// Makes the error side of any Result: `return failure("no such file");`.
[[nodiscard]] inline Error failure(std::string message)
{
    return Error{std::move(message)};
}

template <class T> class [[nodiscard]] Result {
public:
    Result(T value)
        : m_state(std::in_place_index<0>, std::move(value))
    {
    }
    Result(Error error)
        : m_state(std::in_place_index<1>, std::move(error))
    {
    }

    [[nodiscard]] bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }

    // The value; only when ok().
    [[nodiscard]] T& value() & { return std::get<0>(m_state); }
    [[nodiscard]] const T& value() const& { return std::get<0>(m_state); }
    [[nodiscard]] T&& value() && { return std::get<0>(std::move(m_state)); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    // The failure; only when !ok().
    [[nodiscard]] const Error& error() const { return std::get<1>(m_state); }

private:
    std::variant<T, Error> m_state;
};

// The result of something that gives nothing back when it works.
template <> class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Error error)
        : m_error(std::move(error))
    {
    }
    [[nodiscard]] bool ok() const { return !m_error; }
    explicit operator bool() const { return ok(); }
    [[nodiscard]] const Error& error() const { return *m_error; }

private:
    std::optional<Error> m_error;
};

} // namespace dazed

// Passes a failure up, in the manner of SerenityOS's TRY: evaluates `expression`, a Result; on
// failure returns its error from the enclosing function (which must itself return a Result),
// otherwise declares `declaration` with its value:
//
//     DAZED_TRY(std::string bytes, readFileOfAtMost(path, kLimit));
//
// DAZED_TRY_VOID does the same for a Result<void>, which has no value to keep.
#define DAZED_TRY_JOIN2(a, b) a##b
#define DAZED_TRY_JOIN(a, b) DAZED_TRY_JOIN2(a, b)
#define DAZED_TRY_RESULT DAZED_TRY_JOIN(dazedTryResult, __LINE__)
#define DAZED_TRY(declaration, expression)                                                                   \
    auto DAZED_TRY_RESULT = (expression);                                                                    \
    if (!DAZED_TRY_RESULT.ok())                                                                              \
        return DAZED_TRY_RESULT.error();                                                                     \
    declaration = std::move(DAZED_TRY_RESULT).value()
#define DAZED_TRY_VOID(expression)                                                                           \
    do {                                                                                                     \
        if (auto dazedTryVoid = (expression); !dazedTryVoid.ok())                                            \
            return dazedTryVoid.error();                                                                     \
    } while (false)
