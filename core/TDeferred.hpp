#pragma once

#include <cassert>
#include <cstddef>
#include <optional>
#include <utility>

// A process-wide object that is built explicitly, at a known point of the
// start-up order, rather than during static initialisation; it can be torn
// down and built again (tests do). Reads like the object itself: `shop->draw`,
// `(*cellSprite)`, `inventorySlots[0]`.
template <class T>
class TDeferred {
public:
    template <class... Args>
    T& emplace(Args&&... args)
    {
        return value.emplace(std::forward<Args>(args)...);
    }
    void reset() { value.reset(); }
    bool built() const { return value.has_value(); }

    T& operator*()
    {
        assert(value);
        return *value;
    }
    T* operator->()
    {
        assert(value);
        return &*value;
    }
    decltype(auto) operator[](std::size_t index) { return (**this)[index]; }

private:
    std::optional<T> value;
};
