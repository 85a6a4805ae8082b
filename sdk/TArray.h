// The game's dynamic array: data pointer, count and capacity, its buffer in
// game-allocated storage. Elements are relocated bytewise when the buffer grows,
// as the game does, so T must not hold pointers into itself.
#pragma once

#include <cstdint>
#include <cstring>
#include <new>
#include <utility>

#include "FMemory.h"
#include "GameConvention.h"

using int32 = std::int32_t;
using uint8 = std::uint8_t;
using uint32 = std::uint32_t;

template <typename T>
class TArray {
public:
    TArray() = default;
    TArray(const TArray& other) { Append(other.Data, other.ArrayNum); }
    TArray(TArray&& other) noexcept { Swap(other); }
    ~TArray() { Empty(); }

    TArray& operator=(const TArray& other)
    {
        if (this != &other) {
            Reset();
            Append(other.Data, other.ArrayNum);
        }
        return *this;
    }

    TArray& operator=(TArray&& other) noexcept
    {
        if (this != &other) {
            Empty();
            Swap(other);
        }
        return *this;
    }

    int32 Num() const { return ArrayNum; }
    int32 Max() const { return ArrayMax; }
    bool IsEmpty() const { return ArrayNum == 0; }
    T* GetData() { return Data; }
    const T* GetData() const { return Data; }
    T& operator[](int32 index) { return Data[index]; }
    const T& operator[](int32 index) const { return Data[index]; }
    T* begin() { return Data; }
    T* end() { return Data + ArrayNum; }
    const T* begin() const { return Data; }
    const T* end() const { return Data + ArrayNum; }

    void Reserve(int32 capacity)
    {
        if (capacity <= ArrayMax)
            return;
        void* grown = FMemory::Realloc(Data, static_cast<std::size_t>(capacity) * sizeof(T));
        if (grown == nullptr)
            throw std::bad_alloc();
        Data = static_cast<T*>(grown);
        ArrayMax = capacity;
    }

    template <typename... Args>
    int32 Emplace(Args&&... args)
    {
        if (ArrayNum == ArrayMax) {
            // Build first: an argument may refer into the buffer that grows.
            T value(std::forward<Args>(args)...);
            Reserve(Grown());
            new (Data + ArrayNum) T(std::move(value));
        } else {
            new (Data + ArrayNum) T(std::forward<Args>(args)...);
        }
        return ArrayNum++;
    }

    int32 Add(const T& value) { return Emplace(value); }
    int32 Add(T&& value) { return Emplace(std::move(value)); }

    void Append(const T* values, int32 count)
    {
        if (count <= 0)
            return;
        Reserve(ArrayNum + count);
        for (int32 i = 0; i < count; ++i)
            new (Data + ArrayNum + i) T(values[i]);
        ArrayNum += count;
    }

    void RemoveAt(int32 index)
    {
        Data[index].~T();
        std::memmove(static_cast<void*>(Data + index), static_cast<const void*>(Data + index + 1),
                     static_cast<std::size_t>(ArrayNum - index - 1) * sizeof(T));
        --ArrayNum;
    }

    // Destroys the elements and keeps the buffer.
    void Reset()
    {
        for (int32 i = 0; i < ArrayNum; ++i)
            Data[i].~T();
        ArrayNum = 0;
    }

    // Destroys the elements and frees the buffer.
    void Empty()
    {
        Reset();
        if (Data != nullptr)
            FMemory::Free(Data);
        Data = nullptr;
        ArrayMax = 0;
    }

private:
    int32 Grown() const { return ArrayMax < 4 ? 4 : ArrayMax + ArrayMax / 2; }

    void Swap(TArray& other) noexcept
    {
        std::swap(Data, other.Data);
        std::swap(ArrayNum, other.ArrayNum);
        std::swap(ArrayMax, other.ArrayMax);
    }

    T* Data = nullptr;
    int32 ArrayNum = 0;
    int32 ArrayMax = 0;
};

static_assert(sizeof(TArray<int>) == 16, "a game array is pointer, count, capacity");

// The game's array owns its buffer: constructors, a destructor and assignments of
// its own. Never returned in a register, never passed by value.
template <typename T>
struct GameClass<TArray<T>> {
    static constexpr GameClassDefinition kDefinition{.userDefinedConstructor = true};
};
