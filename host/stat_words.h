// What the spawn commands' grammars share: the rule that stops a line, word
// conversions that turn a failure into that rule, and the optional stat words at
// the end of a line. Nothing here touches the game.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include "host/random.h"
#include "host/words.h"

namespace kestrova {

// Why a command line does nothing, as far as its words tell. A line stops at the
// first of these and nothing after it is read.
struct LineStop {
    enum class Rule : std::uint8_t {
        TooFewWords,     // the line has `word` words; the command needs `needed`
        NotNumeric,      // word `word` fails the numeric test
        DoesNotConvert,  // word `word` (colour part `part`) passes it, but its conversion fails
    };

    Rule rule = Rule::TooFewWords;
    int word = 0;
    int needed = 0;
    int part = -1;            // the part of a colour list, from 0; -1 for a whole word
    std::string message;      // the conversion's own message

    static LineStop TooFew(int words, int needed)
    {
        LineStop stop;
        stop.word = words;
        stop.needed = needed;
        return stop;
    }

    static LineStop NotNumber(int word)
    {
        LineStop stop;
        stop.rule = Rule::NotNumeric;
        stop.word = word;
        return stop;
    }

    static LineStop Conversion(int word, int part, std::string message)
    {
        LineStop stop;
        stop.rule = Rule::DoesNotConvert;
        stop.word = word;
        stop.part = part;
        stop.message = std::move(message);
        return stop;
    }

    bool IsConversion() const { return rule == Rule::DoesNotConvert; }
};

// The first of `indices` whose word fails the numeric test, or -1.
inline int FirstNotNumeric(const CommandWords& words, std::initializer_list<int> indices)
{
    for (const int i : indices)
        if (!IsNumeric(words[i]))
            return i;
    return -1;
}

// Runs the conversions of a line in the order they are asked for. The first that
// fails becomes the line's stop; each call after that does nothing and gives false.
class WordConversions {
public:
    WordConversions(const CommandWords& words, std::optional<LineStop>& stop) : words_(words), stop_(stop) {}

    // Runs `convert`, whose conversions belong to word `word` (part `part` of it).
    template <typename Convert>
    bool Run(int word, Convert&& convert, int part = -1)
    {
        if (stop_)
            return false;
        try {
            convert();
            return true;
        } catch (const std::out_of_range& e) {
            stop_ = LineStop::Conversion(word, part, e.what());
        } catch (const std::invalid_argument& e) {
            stop_ = LineStop::Conversion(word, part, e.what());
        }
        return false;
    }

    bool Int(int word, std::int32_t& into)
    {
        return Run(word, [&] { into = ToInt(ToNarrow(words_[word])); });
    }

    bool Float(int word, float& into)
    {
        return Run(word, [&] { into = ToFloat(ToNarrow(words_[word])); });
    }

    const CommandWords& Words() const { return words_; }

private:
    const CommandWords& words_;
    std::optional<LineStop>& stop_;
};

// How one stat word reads.
struct StatWord {
    enum class Kind : std::uint8_t {
        Absent,    // no such word, or a word after the stat words ended
        Number,    // `low` is the number
        Range,     // drawn between `low` and `high`, the ends as written
        BadRange,  // has '-' but is not two numeric pieces: the slot stays 0, the words go on
        Ends,      // no '-' and not numeric: this slot and the rest stay 0
    };

    Kind kind = Kind::Absent;
    double low = 0;
    double high = 0;
};

template <std::size_t Count>
struct StatWords {
    std::array<StatWord, Count> slots{};
    int ended = -1;  // the word that ended the stat words, or -1
};

// One slot per word from word `first` on, while words last: a number, or a range of
// two numeric pieces such as 20-30. A range is split at its first '-' and each end
// read by `readEnd` from narrow text, as is a whole number; a conversion that fails
// stops the line through `conversions`. A word with '-' that is not two numeric
// pieces leaves its slot at 0 and parsing goes on; a word without '-' that is not
// numeric ends the stat words. Nothing is drawn here: see DrawStatValues.
template <std::size_t Count, typename ReadEnd>
StatWords<Count> ParseStatWords(WordConversions& conversions, int first, ReadEnd readEnd)
{
    const CommandWords& words = conversions.Words();
    StatWords<Count> parsed;
    for (int i = first; i < words.Num() && i < first + static_cast<int>(Count); ++i) {
        const FString::WideView word = words[i];
        StatWord& slot = parsed.slots[static_cast<std::size_t>(i - first)];
        if (word.find(WTEXT('-')) != FString::WideView::npos) {
            int pieces = 0;
            bool numeric = true;
            ForEachPiece(word, WTEXT('-'), [&](FString::WideView piece) {
                ++pieces;
                numeric = numeric && IsNumeric(piece);
            });
            if (pieces != 2 || !numeric) {
                slot.kind = StatWord::Kind::BadRange;
                continue;
            }
            const std::string text = ToNarrow(word);
            const std::size_t dash = text.find('-');
            if (!conversions.Run(i, [&] {
                    slot.low = readEnd(std::string_view(text).substr(0, dash));
                    slot.high = readEnd(std::string_view(text).substr(dash + 1));
                }))
                break;
            slot.kind = StatWord::Kind::Range;
            continue;
        }
        if (!IsNumeric(word)) {
            slot.kind = StatWord::Kind::Ends;
            parsed.ended = i;
            break;
        }
        if (!conversions.Run(i, [&] { slot.low = readEnd(ToNarrow(word)); }))
            break;
        slot.kind = StatWord::Kind::Number;
    }
    return parsed;
}

// The slots' values: a number as read, a range drawn with DrawUnit (one draw per
// word read, range or not), anything else 0; `finish` turns the double into a slot.
template <typename Slot, std::size_t Count, typename Finish>
std::array<Slot, Count> DrawStatValues(const StatWords<Count>& words, Finish finish)
{
    std::array<Slot, Count> values{};
    for (std::size_t i = 0; i < Count; ++i) {
        const StatWord& word = words.slots[i];
        if (word.kind != StatWord::Kind::Number && word.kind != StatWord::Kind::Range)
            continue;
        const double u = DrawUnit();
        values[i] = finish(word.kind == StatWord::Kind::Range ? word.low + u * (word.high - word.low) : word.low);
    }
    return values;
}

}  // namespace kestrova
