#include <fmt/format.h>

#include "check/explain.h"
#include "framework/host.h"

namespace kestrova::check {

std::string Utf8(WideView text) { return sim::ToUtf8(text); }
std::string Utf8(const FString& text) { return sim::ToUtf8(text.View()); }
std::string Visible(std::string_view text)
{
    std::string shown;
    for (const char c : text) {
        if (c == '\t')
            shown += "\\t";
        else if (static_cast<unsigned char>(c) < 0x20)
            shown += fmt::format("\\x{:02x}", static_cast<unsigned char>(c));
        else
            shown += c;
    }
    return shown;
}

std::string Code(std::string_view text) { return fmt::format("`{}`", Visible(text)); }
std::string NumberText(float value) { return fmt::format("{}", value); }

std::string ReadsAs(const FString& word, std::int32_t value)
{
    const std::string written = Utf8(word);
    const std::string read = std::to_string(value);
    return written == read ? std::string() : fmt::format(" ({} reads as {})", Code(written), read);
}

std::string Span(std::string_view singular, std::string_view plural, int first, int last)
{
    if (first == last)
        return fmt::format("{} {}", singular, first);
    return fmt::format("{} {} to {}", plural, first, last);
}

StopNote GrammarStop(const LineStop& stop, const TArray<FString>& words, std::string_view command,
                     const Numbering& numbering, std::string_view consequence,
                     const std::function<std::string(int word)>& role)
{
    StopNote note{numbering.Typed(StopOf(stop, CommandWords(words))), {}};
    switch (stop.rule) {
    case LineStop::Rule::TooFewWords: {
        std::string missing;
        for (int word = stop.word; word < stop.needed; ++word)
            missing += fmt::format("{}{} ({})", missing.empty() ? "" : ", ", numbering.Word(word), role(word));
        note.reason = fmt::format("{} needs at least {} words, its name included; {} has {}, so {}. Missing: {}",
                                  command, stop.needed, numbering.lineName, stop.word, consequence, missing);
        break;
    }
    case LineStop::Rule::NotNumeric:
        note.reason = fmt::format("{} {} is not a number (an optional sign, then digits with at most one point), so {}",
                                  numbering.Word(stop.word), Code(Utf8(words[stop.word])), consequence);
        break;
    case LineStop::Rule::DoesNotConvert: {
        std::string what = fmt::format("{} {}", numbering.Word(stop.word), Code(Utf8(words[stop.word])));
        if (stop.part >= 0) {
            int part = 0;
            ForEachPiece(words[stop.word].View(), WTEXT(','), [&](FString::WideView piece) {
                if (part++ == stop.part)
                    what = fmt::format("the part {} for region {} in {}", Code(Utf8(piece)), stop.part, what);
            });
        }
        note.reason = fmt::format("{} passes the number test, but its conversion fails (\"{}\"), so {}", what,
                                  stop.message, consequence);
        break;
    }
    }
    return note;
}

std::string BadRangeReading(std::string_view slot)
{
    return fmt::format("has a '-' but is not two numbers either side of it, so {} stays 0; the stat words go on", slot);
}

std::string EndsReading(std::string_view rest, bool plural)
{
    return fmt::format("not a number and no range, so the stat words end here: {} {} 0", rest,
                       plural ? "stay" : "stays");
}

std::string ClassPhrase(const ClassFacts& facts)
{
    switch (facts.kind) {
    case ClassFacts::Kind::None: return "names nothing in this world";
    case ClassFacts::Kind::Creature: return "names the creature class " + facts.name;
    case ClassFacts::Kind::Item: return "names the item class " + facts.name;
    case ClassFacts::Kind::Other: return "names " + facts.name + ", which is neither a creature nor an item";
    }
    return {};
}

StopNote Note(Stop stop, std::string reason) { return StopNote{std::move(stop), std::move(reason)}; }

const char* VerdictName(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Spawns: return "spawns";
    case Verdict::SpawnsThenStops: return "spawns-then-stops";
    case Verdict::DoesNothing: return "does-nothing";
    case Verdict::Reloads: return "reloads";
    case Verdict::NotACommand: return "not-a-command";
    }
    return "";
}

}  // namespace kestrova::check
