#pragma once

#include <QString>
#include <optional>
#include <utility>

namespace platform {

// What an operation that can fail hands up: its value, or the one message that says why there is
// none. Each layer passes the message on unchanged or adds its own words to it; only the
// program's main turns a failure into an exit status or a message box.
template <typename T, typename Message = QString> class Outcome
{
public:
    Outcome(T value) : held(std::move(value)) {}
    static Outcome failure(Message why) { return Outcome(std::move(why)); }

    explicit operator bool() const { return held.has_value(); }
    T &operator*() { return *held; }
    const T &operator*() const { return *held; }
    T *operator->() { return &*held; }
    const T *operator->() const { return &*held; }
    const Message &message() const { return why; }

private:
    explicit Outcome(Message why, int = 0) : why(std::move(why)) {}

    std::optional<T> held;
    Message why;
};

} // namespace platform
