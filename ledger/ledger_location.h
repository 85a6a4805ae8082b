// Where one line lies in the ledger's files.
#pragma once

#include <cstdint>

namespace kestrova {

// Each ledger file has a generation: the current file's rises by one at every
// rotation, so a file's generation stays the same while its name moves from
// `name.jsonl` to `name.1.jsonl` and on. Offset and length are in bytes; the
// length leaves out the line's '\n'.
struct LineLocation {
    std::uint64_t offset = 0;
    std::uint32_t length = 0;
    std::uint32_t generation = 0;
};

}  // namespace kestrova
