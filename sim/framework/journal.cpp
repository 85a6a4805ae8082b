#include "journal.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include <fmt/format.h>

#include "host.h"

namespace sim {

namespace {

// Entries per chunk. A chunk is the unit of growth and of dropping: appending
// never moves more than one chunk's storage, and the journal holds at most one
// chunk beyond its capacity.
constexpr std::size_t kChunkEntries = 1024;

ObjectDescriber& Describer()
{
    static ObjectDescriber describer = nullptr;
    return describer;
}

std::string FormatBool(const JournalValue& v, std::string_view) { return v.a != 0 ? "true" : "false"; }
std::string FormatInt(const JournalValue& v, std::string_view) { return fmt::format("{}", static_cast<std::int64_t>(v.a)); }
std::string FormatUInt(const JournalValue& v, std::string_view) { return fmt::format("{}", v.a); }
std::string FormatFloat(const JournalValue& v, std::string_view)
{
    return fmt::format("{}", std::bit_cast<float>(static_cast<std::uint32_t>(v.a)));
}
std::string FormatDouble(const JournalValue& v, std::string_view) { return fmt::format("{}", std::bit_cast<double>(v.a)); }
std::string FormatObject(const JournalValue& v, std::string_view)
{
    return DescribeObject(reinterpret_cast<const void*>(static_cast<std::uintptr_t>(v.a)));
}
std::string FormatFixed(const JournalValue& v, std::string_view)
{
    return std::string(reinterpret_cast<const char*>(static_cast<std::uintptr_t>(v.a)), static_cast<std::size_t>(v.b));
}
std::string FormatText(const JournalValue& v, std::string_view kept)
{
    const std::string_view bytes = v.Bytes(kept);
    // The copy is not aligned for text units.
    WideString units(bytes.size() / sizeof(WIDECHAR), WIDECHAR{});
    std::memcpy(units.data(), bytes.data(), units.size() * sizeof(WIDECHAR));
    return fmt::format("\"{}\"", ToUtf8(units));
}
std::string FormatNarrow(const JournalValue& v, std::string_view kept) { return fmt::format("\"{}\"", v.Bytes(kept)); }

}  // namespace

JournalValue BoolValue(bool value) { return {&FormatBool, value ? 1u : 0u, 0}; }
JournalValue IntValue(std::int64_t value) { return {&FormatInt, static_cast<std::uint64_t>(value), 0}; }
JournalValue UIntValue(std::uint64_t value) { return {&FormatUInt, value, 0}; }
JournalValue FloatValue(float value) { return {&FormatFloat, std::bit_cast<std::uint32_t>(value), 0}; }
JournalValue DoubleValue(double value) { return {&FormatDouble, std::bit_cast<std::uint64_t>(value), 0}; }
JournalValue ObjectValue(const void* object) { return {&FormatObject, reinterpret_cast<std::uintptr_t>(object), 0}; }
JournalValue FixedValue(std::string_view text)
{
    return {&FormatFixed, reinterpret_cast<std::uintptr_t>(text.data()), text.size()};
}

void SetObjectDescriber(ObjectDescriber describer) { Describer() = describer; }

std::string DescribeObject(const void* object)
{
    if (object == nullptr)
        return "null";
    return Describer() != nullptr ? Describer()(object) : fmt::format("{}", object);
}

// One entry as kept: its values lie in the chunk's value list, receiver first,
// then the arguments, then `extra` slots (a call's result; a field's value and
// the value before).
struct Journal::Stored {
    std::string_view member;
    std::uint32_t firstValue = 0;
    std::uint8_t args = 0;
    std::uint8_t extra = 0;
    JournalKind kind = JournalKind::Call;
};

struct Journal::Chunk {
    std::uint64_t firstSeq = 0;
    std::vector<Stored> entries;
    std::vector<JournalValue> values;
    std::string kept;  // bytes that values copied

    std::size_t HeldBytes() const
    {
        return sizeof *this + entries.capacity() * sizeof(Stored) + values.capacity() * sizeof(JournalValue) +
               kept.capacity();
    }

    void Reset(std::uint64_t first)
    {
        firstSeq = first;
        entries.clear();
        values.clear();
        kept.clear();
        entries.reserve(kChunkEntries);
    }
};

struct Journal::Watch {
    std::uint64_t id = 0;   // a storage watch; 0 for a field's
    std::uint64_t seq = 0;  // a field's entry; 0 for a storage watch
    std::string_view member;
    JournalValue receiver;
    const void* address = nullptr;
    const WatchOps* ops = nullptr;
    std::uint32_t detail = 0;
    std::size_t offset = 0;  // the snapshot, in watchBytes_
    std::size_t size = 0;
};

void JournalRecord::Arg(std::size_t index, const JournalValue& value)
{
    Journal::Chunk* chunk = nullptr;
    if (journal_ == nullptr)
        return;
    if (Journal::Stored* stored = journal_->Locate(seq_, &chunk); stored != nullptr && index < stored->args)
        chunk->values[stored->firstValue + 1 + index] = value;
}

void JournalRecord::Result(const JournalValue& value)
{
    Journal::Chunk* chunk = nullptr;
    if (journal_ == nullptr)
        return;
    if (Journal::Stored* stored = journal_->Locate(seq_, &chunk); stored != nullptr && stored->extra > 0)
        chunk->values[stored->firstValue + 1 + stored->args] = value;
}

JournalValue JournalRecord::Keep(JournalValue::Format format, const void* data, std::size_t size)
{
    Journal::Chunk* chunk = nullptr;
    if (journal_ == nullptr || journal_->Locate(seq_, &chunk) == nullptr)
        return {};
    const std::size_t offset = chunk->kept.size();
    if (size != 0)
        chunk->kept.append(static_cast<const char*>(data), size);
    return {format, offset, size};
}

JournalValue JournalRecord::Text(const void* units, std::size_t count)
{
    return Keep(&FormatText, units, count * sizeof(WIDECHAR));
}

JournalValue JournalRecord::Narrow(std::string_view text) { return Keep(&FormatNarrow, text.data(), text.size()); }

std::string JournalEntry::ToString() const
{
    const std::string who = receiver.empty() ? member : receiver + " " + member;
    if (kind == JournalKind::Read)
        return who + " is " + result;
    if (kind == JournalKind::Write)
        return who + " set to " + result + " (was " + before + ")";
    std::string text = who + " <- (";
    for (std::size_t i = 0; i < args.size(); ++i)
        text += (i ? ", " : "") + args[i];
    text += ")";
    return hasResult ? text + " -> " + result : text;
}

Journal::Journal() = default;
Journal::~Journal() = default;

void Journal::SetCapacity(std::size_t entries)
{
    capacity_ = entries;
    Clear();
}

void Journal::Clear()
{
    chunks_.clear();
    spare_.reset();
    watches_.clear();
    watchBytes_.clear();
    nextSeq_ = 1;
}

std::uint64_t Journal::Dropped() const
{
    const std::uint64_t recorded = Recorded();
    return recorded > capacity_ ? recorded - capacity_ : 0;
}

std::size_t Journal::HeldBytes() const
{
    std::size_t bytes = spare_ ? spare_->HeldBytes() : 0;
    for (const auto& chunk : chunks_)
        bytes += chunk->HeldBytes();
    return bytes + watches_.capacity() * sizeof(Watch) + watchBytes_.capacity() + scratch_.capacity();
}

Journal::Stored* Journal::Locate(std::uint64_t seq, Chunk** chunk)
{
    if (chunks_.empty() || seq < chunks_.front()->firstSeq || seq >= nextSeq_)
        return nullptr;
    Chunk& found = *chunks_[static_cast<std::size_t>((seq - chunks_.front()->firstSeq) / kChunkEntries)];
    *chunk = &found;
    return &found.entries[static_cast<std::size_t>(seq - found.firstSeq)];
}

JournalRecord Journal::Append(JournalKind kind, std::string_view member, const JournalValue& receiver,
                              std::size_t args, std::size_t extra)
{
    if (chunks_.empty() || chunks_.back()->entries.size() == kChunkEntries) {
        std::unique_ptr<Chunk> chunk = spare_ ? std::move(spare_) : std::make_unique<Chunk>();
        chunk->Reset(nextSeq_);
        chunks_.push_back(std::move(chunk));
    }
    Chunk& chunk = *chunks_.back();
    Stored stored;
    stored.member = member;
    stored.firstValue = static_cast<std::uint32_t>(chunk.values.size());
    stored.args = static_cast<std::uint8_t>(args);
    stored.extra = static_cast<std::uint8_t>(extra);
    stored.kind = kind;
    chunk.entries.push_back(stored);
    chunk.values.resize(chunk.values.size() + 1 + args + extra);
    chunk.values[stored.firstValue] = receiver;
    const std::uint64_t seq = nextSeq_++;
    DropOldChunks();
    return JournalRecord(this, seq);
}

// Chunks wholly older than the window go; the newest never does.
void Journal::DropOldChunks()
{
    const std::uint64_t firstKept = Dropped() + 1;
    while (chunks_.size() > 1 && chunks_.front()->firstSeq + kChunkEntries <= firstKept) {
        spare_ = std::move(chunks_.front());
        chunks_.pop_front();
    }
}

JournalRecord Journal::Begin(JournalKind kind, std::string_view member, const JournalValue& receiver,
                             std::size_t args, bool result)
{
    if (!On())
        return {};
    SettleWatches(true);
    return Append(kind, member, receiver, args, result ? 1 : 0);
}

void Journal::Access(std::string_view member, const JournalValue& receiver, const void* address,
                     const WatchOps& ops, std::uint32_t detail)
{
    if (!On())
        return;
    SettleWatches(false);
    // A field resolved again is watched from the new entry: the older one was a read.
    std::erase_if(watches_, [&](const Watch& watch) {
        return watch.seq != 0 && watch.address == address && watch.ops == &ops && watch.detail == detail;
    });
    JournalRecord record = Append(JournalKind::Read, member, receiver, 0, 2);
    scratch_.clear();
    ops.snapshot(address, detail, scratch_);
    record.Result(ops.value(record, scratch_, detail));
    watches_.push_back({0, record.Seq(), member, receiver, address, &ops, detail, watchBytes_.size(), scratch_.size()});
    watchBytes_ += scratch_;
}

std::uint64_t Journal::WatchStorage(std::string_view member, const JournalValue& receiver, const void* address,
                                    const WatchOps& ops, std::uint32_t detail)
{
    if (!On())
        return 0;
    scratch_.clear();
    ops.snapshot(address, detail, scratch_);
    const std::uint64_t id = nextWatchId_++;
    watches_.push_back({id, 0, member, receiver, address, &ops, detail, watchBytes_.size(), scratch_.size()});
    watchBytes_ += scratch_;
    return id;
}

void Journal::Unwatch(std::uint64_t id)
{
    if (id == 0)
        return;
    std::erase_if(watches_, [id](const Watch& watch) { return watch.id == id; });
    if (watches_.empty())
        watchBytes_.clear();
}

void Journal::Settle() { SettleWatches(true); }

// Compares every watched value with its snapshot. A field that changed becomes a
// Write and its watch ends; one that did not ends too when `endAll` (a call or the
// end of a command), and is watched on otherwise. Watched storage that changed
// gets a Write entry of its own and is watched on.
void Journal::SettleWatches(bool endAll)
{
    if (watches_.empty() || settling_)
        return;
    settling_ = true;
    std::size_t keptWatches = 0;
    bool ended = false;
    for (std::size_t i = 0; i < watches_.size(); ++i) {
        Watch watch = watches_[i];
        scratch_.clear();
        watch.ops->snapshot(watch.address, watch.detail, scratch_);
        const std::string_view before = std::string_view(watchBytes_).substr(watch.offset, watch.size);
        const bool changed = scratch_ != before;
        bool keep = true;
        if (watch.seq != 0) {
            if (changed) {
                Chunk* chunk = nullptr;
                if (Stored* stored = Locate(watch.seq, &chunk)) {
                    stored->kind = JournalKind::Write;
                    JournalValue* value = &chunk->values[stored->firstValue + 1];
                    value[1] = value[0];
                    JournalRecord record(this, watch.seq);
                    const JournalValue written = watch.ops->value(record, scratch_, watch.detail);
                    chunk->values[stored->firstValue + 1] = written;
                }
            }
            keep = !changed && !endAll;
        } else if (changed) {
            JournalRecord record = Append(JournalKind::Write, watch.member, watch.receiver, 0, 2);
            const JournalValue was = watch.ops->value(record, before, watch.detail);
            const JournalValue now = watch.ops->value(record, scratch_, watch.detail);
            Chunk* chunk = nullptr;
            if (Stored* stored = Locate(record.Seq(), &chunk)) {
                chunk->values[stored->firstValue + 1] = now;
                chunk->values[stored->firstValue + 2] = was;
            }
            // The new snapshot goes after the old ones; the bytes are compacted below.
            watch.offset = watchBytes_.size();
            watch.size = scratch_.size();
            watchBytes_ += scratch_;
            ended = true;
        }
        if (keep)
            watches_[keptWatches++] = watch;
        else
            ended = true;
    }
    watches_.resize(keptWatches);
    if (ended) {
        // Keep only the snapshots still in use, so a long command's watches do not pile up.
        scratch_.clear();
        for (Watch& watch : watches_) {
            const std::size_t offset = scratch_.size();
            scratch_.append(watchBytes_, watch.offset, watch.size);
            watch.offset = offset;
        }
        watchBytes_.swap(scratch_);
    }
    settling_ = false;
}

JournalEntry Journal::Show(const Chunk& chunk, std::size_t index) const
{
    const Stored& stored = chunk.entries[index];
    const JournalValue* values = &chunk.values[stored.firstValue];
    JournalEntry entry;
    entry.seq = chunk.firstSeq + index;
    entry.kind = stored.kind;
    entry.member = std::string(stored.member);
    entry.receiver = values[0].Show(chunk.kept);
    entry.args.reserve(stored.args);
    for (std::size_t i = 0; i < stored.args; ++i)
        entry.args.push_back(values[1 + i].Show(chunk.kept));
    if (stored.extra > 0) {
        entry.hasResult = true;
        entry.result = values[1 + stored.args].Show(chunk.kept);
    }
    if (stored.kind == JournalKind::Write)
        entry.before = values[2 + stored.args].Show(chunk.kept);
    return entry;
}

template <typename Keep>
std::vector<JournalEntry> Journal::Select(Keep keep)
{
    Settle();
    std::vector<JournalEntry> entries;
    const std::uint64_t firstKept = Dropped() + 1;
    for (const auto& chunk : chunks_) {
        for (std::size_t i = 0; i < chunk->entries.size(); ++i)
            if (chunk->firstSeq + i >= firstKept && keep(chunk->firstSeq + i, chunk->entries[i]))
                entries.push_back(Show(*chunk, i));
    }
    return entries;
}

std::vector<JournalEntry> Journal::Entries(std::size_t last)
{
    const std::uint64_t size = Size();
    const std::uint64_t from = nextSeq_ - std::min<std::uint64_t>(last, size);
    return Select([from](std::uint64_t seq, const Stored&) { return seq >= from; });
}

std::vector<std::string> Journal::Members()
{
    Settle();
    std::vector<std::string> names;
    const std::uint64_t firstKept = Dropped() + 1;
    for (const auto& chunk : chunks_)
        for (std::size_t i = 0; i < chunk->entries.size(); ++i)
            if (chunk->firstSeq + i >= firstKept && chunk->entries[i].kind == JournalKind::Call)
                names.emplace_back(chunk->entries[i].member);
    return names;
}

std::vector<JournalEntry> Journal::CallsTo(std::string_view member)
{
    return Select([member](std::uint64_t, const Stored& stored) {
        return (stored.kind == JournalKind::Call || stored.kind == JournalKind::Service) && stored.member == member;
    });
}

std::vector<JournalEntry> Journal::Accesses(std::string_view member)
{
    return Select([member](std::uint64_t, const Stored& stored) {
        return (stored.kind == JournalKind::Read || stored.kind == JournalKind::Write) && stored.member == member;
    });
}

Journal& GetJournal()
{
    static Journal journal;
    return journal;
}

}  // namespace sim
