#include "LifePatternFile.h"

#include "ByteFile.h"
#include "Conversions.h"
#include "SafeReplace.h"

#include <algorithm>
#include <charconv>
#include <istream>
#include <ios>
#include <limits>
#include <ostream>
#include <span>
#include <streambuf>
#include <string>
#include <system_error>

namespace lifeboard {

namespace {

constexpr std::string_view kHeader105 = "#Life 1.05";
constexpr std::string_view kHeader106 = "#Life 1.06";
constexpr std::string_view kExtended = "#D Extended properties:";
constexpr std::string_view kNegative = "#D Extended properties: Negative";

constexpr int64_t kInt32Min = std::numeric_limits<int32_t>::min();
constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();

bool FitsInt32(int64_t v) {
    return v >= kInt32Min && v <= kInt32Max;
}

// Lines of a stream, one trailing CR dropped; a line longer than
// kMaxPatternLineLength characters without its line end is refused.
class LineReader {
public:
    enum class Result { kLine, kEnd, kTooLong, kInputError };

    explicit LineReader(std::istream& in) : buffer_(in.rdbuf()) {}

    Result Next(std::string& line) {
        line.clear();
        if (!buffer_)
            return Result::kInputError;
        try {
            bool any = false;
            for (;;) {
                const int c = buffer_->sbumpc();
                if (c == std::char_traits<char>::eof())
                    break;
                any = true;
                if (c == '\n')
                    break;
                // Room for the CR of a longest line's CR LF.
                if (line.size() > kMaxPatternLineLength)
                    return Result::kTooLong;
                line.push_back(static_cast<char>(c));
            }
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (line.size() > kMaxPatternLineLength)
                return Result::kTooLong;
            return any ? Result::kLine : Result::kEnd;
        } catch (...) {
            // A stream buffer reports an input error by throwing.
            return Result::kInputError;
        }
    }

private:
    std::streambuf* buffer_;
};

class PatternReader {
public:
    PatternReader(std::istream& in, PatternTarget& target, int16_t neiCount)
        : lines_(in), target_(target), neiCount_(neiCount) {}

    PatternReadResult Read() {
        std::string line;
        switch (lines_.Next(line)) {
        case LineReader::Result::kLine:
            break;
        case LineReader::Result::kTooLong:
            return Finish(PatternStatus::kFormatError);
        case LineReader::Result::kEnd:
        case LineReader::Result::kInputError:
            return Finish(PatternStatus::kReadError);
        }
        if (line == kHeader105)
            return Finish(Read105());
        if (line == kHeader106)
            return Finish(Read106());
        return Finish(PatternStatus::kFormatError);
    }

private:
    // Reads the next line; kOk at the end of the input with done set.
    PatternStatus NextLine(std::string& line, bool& done) {
        done = false;
        switch (lines_.Next(line)) {
        case LineReader::Result::kLine:
            return PatternStatus::kOk;
        case LineReader::Result::kEnd:
            done = true;
            return PatternStatus::kOk;
        case LineReader::Result::kTooLong:
        case LineReader::Result::kInputError:
            break;
        }
        return PatternStatus::kReadError;
    }

    PatternStatus Read105() {
        std::string line;
        int64_t column = 0;
        int64_t row = 0;
        for (;;) {
            bool done = false;
            if (NextLine(line, done) != PatternStatus::kOk)
                return PatternStatus::kReadError;
            if (done)
                return PatternStatus::kOk;
            if (ApplyRuleLine(target_, line, neiCount_))
                continue;
            if (line.starts_with("#P ")) {
                int32_t x = 0;
                int32_t y = 0;
                if (!ReadNumberPair(std::string_view(line).substr(3), x, y, false))
                    return PatternStatus::kReadError;
                column = x;
                row = y;
            } else if (line.starts_with('.') || line.starts_with('*')) {
                const int64_t last = column + static_cast<int64_t>(line.size()) - 1;
                if (!FitsInt32(row) || !FitsInt32(column) || !FitsInt32(last))
                    return PatternStatus::kReadError;
                const auto y = static_cast<int32_t>(row);
                for (size_t i = 0; i < line.size(); ++i)
                    if (line[i] == '*')
                        target_.SetCell(static_cast<int32_t>(column + static_cast<int64_t>(i)), y);
                Extend(static_cast<int32_t>(column), static_cast<int32_t>(last), y);
                ++row;
            }
        }
    }

    PatternStatus Read106() {
        std::string line;
        for (;;) {
            bool done = false;
            if (NextLine(line, done) != PatternStatus::kOk)
                return PatternStatus::kReadError;
            if (done)
                return PatternStatus::kOk;
            if (line == kExtended) {
                if (NextLine(line, done) != PatternStatus::kOk)
                    return PatternStatus::kReadError;
                if (done)
                    return PatternStatus::kOk;
                neiCount_ = LatticeLineCount(line);
                target_.SetNeiCount(neiCount_);
            } else if (line == kNegative) {
                target_.SetNegative();
            } else if (line.starts_with('#')) {
                ApplyRuleLine(target_, line, neiCount_);
            } else {
                int32_t x = 0;
                int32_t y = 0;
                if (!ReadNumberPair(line, x, y, true))
                    return PatternStatus::kReadError;
                target_.SetCell(x, y);
                Extend(x, x, y);
            }
        }
    }

    static int16_t LatticeLineCount(std::string_view line) {
        const std::string_view head = line.substr(0, 5);
        if (head == "#D 4 ")
            return 4;
        if (head == "#D 3 ")
            return 3;
        if (head == "#D 12")
            return 12;
        if (head == "#D 6 ")
            return 6;
        return 8;
    }

    // Two numbers separated by a blank, each rounded to the nearest integer.
    // With splitAtBlank the first number is the text before the first blank
    // (a cell line); otherwise blanks may precede it (a position line). False
    // when either number is missing or beyond 32 bits.
    static bool ReadNumberPair(std::string_view text, int32_t& x, int32_t& y, bool splitAtBlank) {
        std::string_view first;
        std::string_view rest;
        if (splitAtBlank) {
            const size_t blank = text.find(' ');
            if (blank == std::string_view::npos)
                return false;
            first = text.substr(0, blank);
            rest = text.substr(blank + 1);
        } else {
            double v = 0;
            size_t length = 0;
            if (!platform::ParseLeadingNumber(text, v, &length))
                return false;
            first = text.substr(0, length);
            rest = text.substr(length);
            if (!rest.starts_with(' '))
                return false;
        }
        double vx = 0;
        double vy = 0;
        return platform::ParseLeadingNumber(first, vx) && platform::ParseLeadingNumber(rest, vy) &&
               platform::ToInt32Rounded(vx, x) && platform::ToInt32Rounded(vy, y);
    }

    void Extend(int32_t fromX, int32_t toX, int32_t y) {
        if (!bounds_) {
            bounds_ = PatternBounds{fromX, toX, y, y};
            return;
        }
        bounds_->minX = std::min(bounds_->minX, fromX);
        bounds_->maxX = std::max(bounds_->maxX, toX);
        bounds_->minY = std::min(bounds_->minY, y);
        bounds_->maxY = std::max(bounds_->maxY, y);
    }

    PatternReadResult Finish(PatternStatus status) const { return {status, bounds_}; }

    LineReader lines_;
    PatternTarget& target_;
    int16_t neiCount_;
    std::optional<PatternBounds> bounds_;
};

std::string_view LatticeLine(int16_t neiCount) {
    switch (neiCount) {
    case 3:
        return "#D 3 neighbors - triangular lattice";
    case 4:
        return "#D 4 neighbors - square lattice";
    case 6:
        return "#D 6 neighbors - hexagonal lattice";
    case 12:
        return "#D 12 neighbors - triangular lattice (rules in hexadecimal format)";
    default:
        return "#D 8 neighbors - standard lattice";
    }
}

void PutLine(std::ostream& out, std::string_view text) {
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.write("\r\n", 2);
}

} // namespace

bool ApplyRuleLine(PatternTarget& target, std::string_view line, int16_t n) {
    const std::optional<RuleTables> rule = ParseRuleLine(line, n);
    if (!rule)
        return false;
    for (int16_t k = 0; k <= std::min<int16_t>(n, kMaxNeiCount); ++k) {
        target.SetRuleS(k, rule->survival[k]);
        target.SetRuleB(k, rule->birth[k]);
    }
    return true;
}

PatternReadResult ReadPattern(std::istream& in, PatternTarget& target, int16_t neiCount) {
    return PatternReader(in, target, neiCount).Read();
}

namespace {

// The stream of a read: the bytes of the platform's reader, which opens only a
// regular file; a read error is thrown, as the line reader expects of a stream
// buffer.
class ReaderBuffer final : public std::streambuf {
public:
    explicit ReaderBuffer(platform::ByteReader& file) : file_(file) {}

protected:
    int_type underflow() override {
        const std::span<const uint8_t> chunk = file_.NextChunk();
        if (chunk.empty()) {
            if (file_.Failed())
                throw std::ios_base::failure("read error");
            return traits_type::eof();
        }
        // The chunk stays in the reader's buffer until the next one is asked for.
        char* begin = const_cast<char*>(reinterpret_cast<const char*>(chunk.data()));
        setg(begin, begin, begin + chunk.size());
        return traits_type::to_int_type(*begin);
    }

private:
    platform::ByteReader& file_;
};

} // namespace

PatternReadResult ReadPatternFile(const std::filesystem::path& path, PatternTarget& target,
                                  int16_t neiCount) {
    platform::ByteReader file;
    if (!file.Open(path))
        return {PatternStatus::kOpenError, std::nullopt};
    ReaderBuffer buffer(file);
    std::istream in(&buffer);
    return ReadPattern(in, target, neiCount);
}

bool WritePattern(std::ostream& out, int16_t neiCount, bool negative, const RuleTables& rule,
                  const CellSource& cells) {
    PutLine(out, kHeader106);
    PutLine(out, "#D User Life file saved by 'Veritope - Lifeboard'");
    PutLine(out, kExtended);
    PutLine(out, LatticeLine(neiCount));
    if (negative)
        PutLine(out, kNegative);
    PutLine(out, RuleLineText(rule, neiCount));
    // Room for two 32-bit numbers, a blank and CR LF.
    char text[32];
    int32_t x = 0;
    int32_t y = 0;
    while (out && cells(x, y)) {
        char* end = std::to_chars(text, text + 11, x).ptr;
        *end++ = ' ';
        end = std::to_chars(end, end + 11, y).ptr;
        *end++ = '\r';
        *end++ = '\n';
        out.write(text, end - text);
    }
    out.flush();
    return static_cast<bool>(out);
}

namespace {

// The stream of a save: its bytes go to the file written aside.
class ReplaceBuffer final : public std::streambuf {
public:
    explicit ReplaceBuffer(platform::SafeReplace& file) : file_(file) {}

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        file_.WriteByte(static_cast<uint8_t>(c));
        return file_.Failed() ? traits_type::eof() : c;
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        file_.Write(s, static_cast<size_t>(n));
        return file_.Failed() ? 0 : n;
    }

private:
    platform::SafeReplace& file_;
};

} // namespace

// The file is written aside and renamed over the old one only when written
// whole, so a failed save leaves the old pattern as it was.
PatternWriteStatus WritePatternFile(const std::filesystem::path& path, int16_t neiCount,
                                    bool negative, const RuleTables& rule,
                                    const CellSource& cells) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        return PatternWriteStatus::kOpenError;
    platform::SafeReplace file(path);
    if (!file.Ok())
        return PatternWriteStatus::kOpenError;
    ReplaceBuffer buffer(file);
    std::ostream out(&buffer);
    const bool written = WritePattern(out, neiCount, negative, rule, cells);
    return written && file.Commit() ? PatternWriteStatus::kOk : PatternWriteStatus::kWriteError;
}

} // namespace lifeboard
