// Counting the game-allocated blocks that game objects hold in their strings and
// arrays, so a check of live blocks can tell the game's own from what was left over.
#pragma once

#include <cstdint>

#include "FString.h"
#include "GameStructs.h"

namespace sim {

template <typename T>
inline constexpr bool kHoldsBlocks = false;
template <>
inline constexpr bool kHoldsBlocks<FString> = true;
template <typename T>
inline constexpr bool kHoldsBlocks<TArray<T>> = true;

template <typename T>
std::int64_t BlocksOf(const TArray<T>& array);

inline std::int64_t BlocksOf(const FString& text) { return BlocksOf(text.GetCharArray()); }

template <typename T>
std::int64_t BlocksOf(const TArray<T>& array)
{
    std::int64_t blocks = array.GetData() != nullptr ? 1 : 0;
    if constexpr (kHoldsBlocks<T>)
        for (const T& element : array)
            blocks += BlocksOf(element);
    return blocks;
}

inline std::int64_t BlocksOf(const FCustomItemData& data)
{
    return BlocksOf(data.Strings) + BlocksOf(data.Floats) + BlocksOf(data.ReservedList) + BlocksOf(data.Classes) +
           BlocksOf(data.Names) + BlocksOf(data.ByteArrays) + BlocksOf(data.Doubles);
}

}  // namespace sim
