// A move-only owner for one system handle; its kind's invalid value and close call live in traits.
#pragma once

#include <utility>

namespace quelvane::platform {

template <class Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() = default;
    explicit UniqueHandle(Type value) : value_(value) {}
    UniqueHandle(UniqueHandle &&other) noexcept : value_(other.release()) {}
    UniqueHandle &operator=(UniqueHandle &&other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle &) = delete;
    UniqueHandle &operator=(const UniqueHandle &) = delete;
    ~UniqueHandle() { reset(); }

    Type get() const { return value_; }
    bool valid() const { return value_ != Traits::invalid(); }
    explicit operator bool() const { return valid(); }

    Type release() { return std::exchange(value_, Traits::invalid()); }
    void reset(Type value = Traits::invalid())
    {
        if (valid())
            Traits::close(value_);
        value_ = value;
    }

private:
    Type value_ = Traits::invalid();
};

} // namespace quelvane::platform
