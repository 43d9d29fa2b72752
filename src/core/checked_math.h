#pragma once
// Unsigned arithmetic that says when the true result does not fit. GCC and Clang have
// builtins for it; other compilers get the portable test, which gives the same answers.
#include <limits>
#include <type_traits>

namespace tsumugi {

namespace checked_detail {
template <typename T>
bool PortableAdd(T a, T b, T* out) {
    *out = static_cast<T>(a + b);
    return *out < a;
}
template <typename T>
bool PortableMul(T a, T b, T* out) {
    *out = static_cast<T>(a * b);
    return a != 0 && b > std::numeric_limits<T>::max() / a;
}
}  // namespace checked_detail

// *out = a + b; true when the sum overflowed (*out then holds the wrapped value).
template <typename T>
bool AddOverflows(T a, T b, T* out) {
    static_assert(std::is_unsigned_v<T>, "unsigned types only");
#if defined(__GNUC__) || defined(__clang__)
    return __builtin_add_overflow(a, b, out);
#else
    return checked_detail::PortableAdd(a, b, out);
#endif
}

// *out = a * b; true when the product overflowed (*out then holds the wrapped value).
template <typename T>
bool MulOverflows(T a, T b, T* out) {
    static_assert(std::is_unsigned_v<T>, "unsigned types only");
#if defined(__GNUC__) || defined(__clang__)
    return __builtin_mul_overflow(a, b, out);
#else
    return checked_detail::PortableMul(a, b, out);
#endif
}

}  // namespace tsumugi
