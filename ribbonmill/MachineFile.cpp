#include "MachineFile.h"

#include "ByteFile.h"
#include "SafeReplace.h"
#include "TextFile.h"

#include <cmath>
#include <limits>
#include <optional>
#include <unordered_set>
#include <vector>

namespace ribbonmill {

namespace {

using platform::TextField;

constexpr std::string_view kEnd = "E";

bool IsText(const std::vector<TextField>& fields, std::size_t count) {
    if (fields.size() != count)
        return false;
    for (const TextField& field : fields) {
        if (!field.quoted)
            return false;
    }
    return true;
}

bool IsEnd(const std::vector<TextField>& fields, std::size_t count) {
    if (!IsText(fields, count))
        return false;
    for (const TextField& field : fields) {
        if (field.text != kEnd)
            return false;
    }
    return true;
}

// One text field, quoted or not (the current state, N).
std::optional<std::string> OneField(const std::vector<TextField>& fields) {
    if (fields.size() != 1)
        return std::nullopt;
    return fields.front().text;
}

std::optional<Direction> DirectionOf(std::string_view text) {
    for (const Direction d : {Direction::Left, Direction::Right, Direction::Stop}) {
        if (TapeMachine::DirectionText(d) == text)
            return d;
    }
    return std::nullopt;
}

// The symbol whose long form is text, below n; nullopt for any other text.
std::optional<int16_t> SymbolOf(std::string_view text, int n) {
    for (int16_t symbol = -1; symbol < n; ++symbol) {
        if (clsTape::Symb2String(symbol, false) == text)
            return symbol;
    }
    return std::nullopt;
}

class Reader {
public:
    explicit Reader(std::string_view text) : lines_(text), records_(lines_) {}
    bool Next(std::vector<TextField>& fields) { return records_.ReadRecord(fields); }

private:
    platform::LineReader lines_;
    platform::RecordReader records_;
};

// The cells of the tape section, up to and with its "E","E" record.
struct TapeRecords {
    std::vector<int16_t> symbols;
    int64_t head = -1;
    int64_t first = -1;
    int64_t last = -1;
};

bool ReadTape(Reader& reader, TapeRecords& tape) {
    std::vector<TextField> fields;
    for (;;) {
        if (!reader.Next(fields) || !IsText(fields, 2))
            return false;
        const std::string& flag = fields[0].text;
        if (flag == kEnd)
            return fields[1].text == kEnd;
        if (flag.size() != 2 || (flag[0] != 'C' && flag[0] != 'X') ||
            (flag[1] != 'L' && flag[1] != 'R' && flag[1] != 'X'))
            return false;
        // No file the program writes holds more cells than a tape.
        if (tape.symbols.size() >= static_cast<std::size_t>(clsTape::kMaxCells))
            return false;
        const auto index = static_cast<int64_t>(tape.symbols.size());
        const auto mark = [index](int64_t& at) {
            if (at >= 0)
                return false;
            at = index;
            return true;
        };
        if ((flag[0] == 'C' && !mark(tape.head)) || (flag[1] == 'L' && !mark(tape.first)) ||
            (flag[1] == 'R' && !mark(tape.last)))
            return false;
        tape.symbols.push_back(clsTape::String2Symb(fields[1].text));
    }
}

} // namespace

std::string MachineText(const TapeMachine& machine) {
    std::string out;
    platform::RecordWriter writer(out);
    const auto record = [&writer](std::initializer_list<std::string_view> texts) {
        for (const std::string_view text : texts)
            writer.WriteText(text);
        writer.EndRecord();
    };
    for (const std::string& state : machine.States())
        record({state});
    record({kStopName});
    record({machine.StateName(machine.CurrentState())});
    record({std::to_string(machine.SymbolCount())});
    const clsTape& tape = machine.Tape();
    writer.WriteInteger(tape.curoffset);
    writer.EndRecord();
    for (clsTape::Cell cell = tape.LeftEnd(); cell <= tape.RightEnd(); ++cell) {
        const char flag[2] = {cell == tape.cur ? 'C' : 'X',
                              cell == tape.left ? 'L' : (cell == tape.right ? 'R' : 'X')};
        record({std::string_view(flag, 2), clsTape::Symb2String(tape.Symbol(cell), false)});
    }
    record({kEnd, kEnd});
    for (int row = 0; row < static_cast<int>(machine.Rules().size()); ++row) {
        const auto texts = machine.RuleTexts(row);
        record({texts[0], texts[1], texts[2], texts[3], texts[4]});
    }
    record({kEnd, kEnd, kEnd, kEnd, kEnd});
    return out;
}

bool ReadMachine(std::string_view text, TapeMachine& machine) {
    Reader reader(text);
    std::vector<TextField> fields;

    // The states, up to "STOP".
    std::vector<std::string> states;
    bool statesEnded = false;
    while (reader.Next(fields)) {
        if (!IsText(fields, 1))
            break;
        if (fields[0].text == kStopName) {
            statesEnded = true;
            break;
        }
        states.push_back(fields[0].text);
    }
    // Two states of one name would make the rule table ambiguous: the states
    // before the second of them are kept.
    std::size_t distinct = 0;
    {
        std::unordered_set<std::string_view> seen;
        seen.reserve(states.size());
        while (distinct < states.size() && seen.insert(states[distinct]).second)
            ++distinct;
    }
    if (distinct < states.size()) {
        states.resize(distinct);
        statesEnded = false;
    }
    machine.LoadStates(std::move(states));
    // What fails from here on completes the table of what was read.
    struct Complete {
        TapeMachine& machine;
        std::vector<Rule> rules;
        ~Complete() { machine.LoadRules(std::move(rules)); }
    } complete{machine, {}};
    if (!statesEnded)
        return false;

    // The current state and N.
    if (!reader.Next(fields))
        return false;
    const std::optional<std::string> current = OneField(fields);
    const int currentIndex = current ? machine.StateIndex(*current) : -1;
    if (!current || (currentIndex < 0 && *current != kStopName))
        return false;
    machine.SetCurrentState(currentIndex < 0 ? kStop : currentIndex);
    if (!reader.Next(fields))
        return false;
    const std::optional<std::string> count = OneField(fields);
    std::optional<int> n;
    for (int i = 0; count && i <= kMaxSymbols; ++i) {
        if (*count == std::to_string(i))
            n = i;
    }
    if (!n)
        return false;
    machine.SetSymbolCount(*n);
    machine.LoadRules({});

    // The tape: a new one, replaced by the file's once it was read whole.
    machine.ClearTape();
    double offset = 0;
    if (!reader.Next(fields) || fields.size() != 1 || !platform::ReadNumber(fields[0].text, offset) ||
        offset != std::floor(offset) || std::fabs(offset) > std::numeric_limits<int32_t>::max())
        return false;
    const auto curoffset = static_cast<int32_t>(offset);
    TapeRecords cells;
    if (!ReadTape(reader, cells) || cells.first < 0 || cells.head < 0 ||
        cells.last != cells.first + clsTape::kBoxes - 1 || cells.head != cells.first + curoffset)
        return false;
    machine.LoadTape(std::make_unique<clsTape>(cells.symbols, static_cast<std::size_t>(cells.first),
                                               curoffset, machine.View()));

    // The rules, the complete table in its order.
    const int width = machine.SymbolCount() + 1;
    const std::size_t rows = machine.States().size() * static_cast<std::size_t>(width);
    for (;;) {
        if (!reader.Next(fields) || !IsText(fields, 5))
            return false;
        if (IsEnd(fields, 5))
            return complete.rules.size() == rows;
        const std::size_t row = complete.rules.size();
        if (row == rows)
            return false;
        Rule rule;
        rule.oldState = static_cast<int32_t>(row / static_cast<std::size_t>(width));
        rule.oldSymbol = static_cast<int16_t>(static_cast<int>(row % static_cast<std::size_t>(width)) - 1);
        const std::optional<int16_t> written = SymbolOf(fields[2].text, machine.SymbolCount());
        const std::optional<Direction> direction = DirectionOf(fields[3].text);
        if (fields[0].text != machine.StateName(rule.oldState) ||
            fields[1].text != clsTape::Symb2String(rule.oldSymbol, false) || !written || !direction)
            return false;
        rule.newSymbol = *written;
        rule.direction = *direction;
        if (rule.Halts()) {
            if (fields[4].text != kStopName)
                return false;
            rule.newState = kStop;
        } else {
            rule.newState = machine.StateIndex(fields[4].text);
            if (rule.newState < 0)
                return false;
        }
        complete.rules.push_back(rule);
    }
}

bool SaveMachine(const std::filesystem::path& path, const TapeMachine& machine) {
    return platform::ReplaceFileContents(path, MachineText(machine));
}

LoadResult LoadMachine(const std::filesystem::path& path, TapeMachine& machine) {
    std::string text;
    if (!platform::ReadWholeFile(path, kMaxMachineFileBytes, text))
        return LoadResult::Unopened;
    return ReadMachine(text, machine) ? LoadResult::Loaded : LoadResult::Damaged;
}

} // namespace ribbonmill
