// The journal: everything the plugin does to the game and asks of the host, in
// the order it did it.
//
//   Call      a game member function: receiver, arguments, result
//   Read      a field or bitfield the plugin resolved: its value then
//   Write     the same, when the plugin changed it: the value written, and before
//   Service   a host service (player lookup, messenger, registry...)
//   Dispatch  the host running one of the plugin's commands
//
// Recording is cheap, so that a server left running for days can keep it on: a
// member's name is referred to, never copied (every name comes from static
// storage), and values are kept raw (numbers, object pointers, copied bytes) and
// turned into text only when shown. The journal keeps the last Capacity()
// entries, in fixed-size chunks that are reused once they fall out of that
// window, so its memory stays flat and no append ever copies the whole journal.
//
// Field writes. The plugin gets a field's address once and reads or writes it in
// place, so a write cannot be seen as it happens. Each resolution of a field is
// recorded as a Read with the value it had, and the field is watched from then
// on. At the next journal event the watched value is compared again: if it
// changed, that entry becomes a Write of the new value (the old one kept as
// "before"). A call, a host service or the end of a command ends every watch, so
// what the game itself does inside a call never counts as the plugin's write; a
// field resolution ends only the watches whose value already changed, so a
// reference held over several resolutions is still seen. A write of the value the
// field already held changes nothing and stays a Read.
//
// Storage that the host hands to a command and the plugin may rewrite (an RCON
// request's body) is watched for the whole command instead: each change appears
// as a Write entry of its own, at the first journal event after it.
//
// Game objects are shown by the describer the game sets; they must outlive the
// entries that name them, so the game clears the journal when it goes away.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Export.h"

namespace sim {

enum class JournalKind : std::uint8_t { Call, Read, Write, Service, Dispatch };

// One value as the journal keeps it: how to show it, and 16 bytes of payload:
// the value itself, or where its bytes lie in the storage kept beside the entry.
struct JournalValue {
    using Format = std::string (*)(const JournalValue& value, std::string_view kept);

    Format format = nullptr;  // null: no value
    std::uint64_t a = 0;
    std::uint64_t b = 0;

    // The bytes this value copied, out of the storage kept beside its entry.
    std::string_view Bytes(std::string_view kept) const { return kept.substr(a, b); }
    std::string Show(std::string_view kept) const { return format != nullptr ? format(*this, kept) : std::string(); }
};

// Values that need nothing kept beside the entry.
SDK_API JournalValue BoolValue(bool value);
SDK_API JournalValue IntValue(std::int64_t value);
SDK_API JournalValue UIntValue(std::uint64_t value);
SDK_API JournalValue FloatValue(float value);
SDK_API JournalValue DoubleValue(double value);
// A game object, shown by the object describer when the entry is shown.
SDK_API JournalValue ObjectValue(const void* object);
// Text in static storage, shown as it is ("host", "<callback>").
SDK_API JournalValue FixedValue(std::string_view text);

// Shows game objects: "Alice", "Raptor_Character_BP_C#3". Set by the game; without
// one an object shows as its address.
using ObjectDescriber = std::string (*)(const void* object);
SDK_API void SetObjectDescriber(ObjectDescriber describer);
SDK_API std::string DescribeObject(const void* object);

class Journal;

// The entry being recorded. Empty (false) when the journal is off; every
// operation on an empty record does nothing.
class SDK_API JournalRecord {
public:
    JournalRecord() = default;
    explicit operator bool() const { return journal_ != nullptr; }
    std::uint64_t Seq() const { return seq_; }

    void Arg(std::size_t index, const JournalValue& value);
    void Result(const JournalValue& value);

    // Copies `size` bytes beside the entry; the value shows them with `format`.
    JournalValue Keep(JournalValue::Format format, const void* data, std::size_t size);
    // UTF-16 text and narrow text, copied and shown quoted.
    JournalValue Text(const void* units, std::size_t count);  // `count` UTF-16 units
    JournalValue Narrow(std::string_view text);

private:
    friend class Journal;
    JournalRecord(Journal* journal, std::uint64_t seq) : journal_(journal), seq_(seq) {}
    Journal* journal_ = nullptr;
    std::uint64_t seq_ = 0;
};

// How to watch one kind of value: the bytes that tell one value from another,
// and the journal value for such bytes.
struct WatchOps {
    void (*snapshot)(const void* address, std::uint32_t detail, std::string& out);
    JournalValue (*value)(JournalRecord& record, std::string_view bytes, std::uint32_t detail);
};

// An entry as shown: every value turned into text.
struct SDK_API JournalEntry {
    std::uint64_t seq = 0;         // 1 for the first entry since the journal was cleared
    JournalKind kind = JournalKind::Call;
    std::string member;            // the full member name, as resolved
    std::string receiver;          // the receiver's label; "" for a static function
    std::vector<std::string> args; // each argument's value as text
    bool hasResult = false;        // a call with a result, a Read or a Write
    std::string result;            // a call's result; the value read or written
    std::string before;            // a Write: the value before

    // "receiver member <- (arg, arg) -> result", "receiver field is value",
    // "receiver field set to value (was before)".
    std::string ToString() const;
};

class SDK_API Journal {
public:
    static constexpr std::size_t kDefaultCapacity = 100'000;

    Journal();
    ~Journal();
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    // Keeps the last `entries` entries; 0 turns the journal off. Clears it.
    void SetCapacity(std::size_t entries);
    std::size_t Capacity() const { return capacity_; }
    bool On() const { return capacity_ != 0; }

    // Forgets every entry and watch; sequence numbers start again at 1. The
    // capacity stays.
    void Clear();

    // Recording. Begin settles the watches (see above) and starts an entry with
    // room for `args` arguments and, with `result`, a result.
    JournalRecord Begin(JournalKind kind, std::string_view member, const JournalValue& receiver, std::size_t args,
                        bool result);
    // A Read entry of a field at `address`, watched as WatchOps says.
    void Access(std::string_view member, const JournalValue& receiver, const void* address, const WatchOps& ops,
                std::uint32_t detail = 0);
    // Watches storage until Unwatch; returns the watch's id.
    std::uint64_t WatchStorage(std::string_view member, const JournalValue& receiver, const void* address,
                               const WatchOps& ops, std::uint32_t detail = 0);
    void Unwatch(std::uint64_t id);
    // Settles every watch now, as a call would (at the end of a command, and
    // before the entries are shown).
    void Settle();

    // Entries recorded since the last Clear, dropped ones included.
    std::uint64_t Recorded() const { return nextSeq_ - 1; }
    // Entries that fell out of the window.
    std::uint64_t Dropped() const;
    std::size_t Size() const { return static_cast<std::size_t>(Recorded() - Dropped()); }
    // The bytes its storage holds, reserved and spare included: what bounds its
    // memory, which the running numbers above cannot show.
    std::size_t HeldBytes() const;

    // The kept entries, oldest first; with `last`, only the last that many.
    std::vector<JournalEntry> Entries(std::size_t last = static_cast<std::size_t>(-1));
    // The member names of the kept calls (game member functions only), in order,
    // for tests that assert a sequence.
    std::vector<std::string> Members();
    // The kept calls and host services named `member`.
    std::vector<JournalEntry> CallsTo(std::string_view member);
    // The kept reads and writes of the field `member`.
    std::vector<JournalEntry> Accesses(std::string_view member);

    struct Chunk;
    struct Watch;

private:
    friend class JournalRecord;

    struct Stored;
    Stored* Locate(std::uint64_t seq, Chunk** chunk);
    JournalRecord Append(JournalKind kind, std::string_view member, const JournalValue& receiver, std::size_t args,
                         std::size_t extra);
    void SettleWatches(bool endAll);
    void DropOldChunks();
    JournalEntry Show(const Chunk& chunk, std::size_t index) const;
    template <typename Keep>
    std::vector<JournalEntry> Select(Keep keep);

    std::size_t capacity_ = kDefaultCapacity;
    std::uint64_t nextSeq_ = 1;
    std::deque<std::unique_ptr<Chunk>> chunks_;  // oldest first; each holds kChunkEntries sequence numbers
    std::unique_ptr<Chunk> spare_;               // a dropped chunk, kept for reuse
    std::vector<Watch> watches_;
    std::string watchBytes_;  // the watches' snapshots
    std::string scratch_;
    std::uint64_t nextWatchId_ = 1;
    bool settling_ = false;
};

SDK_API Journal& GetJournal();

}  // namespace sim
