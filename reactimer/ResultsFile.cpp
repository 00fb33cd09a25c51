#include "ResultsFile.h"

#include "ByteFile.h"
#include "Conversions.h"
#include "SafeReplace.h"
#include "TextFile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace reactimer {

namespace {

// Reads records until the end of the lines; a line of blanks alone holds no
// record.
bool ReadRecords(platform::LineReader& lines, StageResults& results) {
    platform::RecordReader reader(lines);
    std::vector<platform::TextField> fields;
    StageResults read;
    while (reader.ReadRecord(fields)) {
        if (fields.empty())
            continue;
        if (read.nums == kMaxStages || fields.size() != 2 || fields[0].quoted || fields[1].quoted)
            return false;
        double number = 0;
        int16_t stage = 0;
        if (!platform::ReadNumber(fields[0].text, number) || !platform::ToInt16Rounded(number, stage))
            return false;
        double mean = 0;
        // Any finite mean is a time the window can fit and chart; a mean
        // beyond double ("1e400", "-inf") is a field that does not parse.
        if (!platform::ReadNumber(fields[1].text, mean) || !std::isfinite(mean))
            return false;
        read.means[static_cast<size_t>(read.nums++)] = mean;
    }
    if (reader.Malformed() || reader.Failed())
        return false;
    results = read;
    return true;
}

// Fifteen digits of a mean within half a unit of their last place of the
// largest double round up past it, to a text that reads back as no number; such
// a mean is written as the largest fifteen-digit number of its sign instead.
constexpr double kLargestWrittenMean = 1.79769313486231e308;

} // namespace

std::string WriteResults(const StageMeans& means, int nums) {
    std::string text;
    platform::RecordWriter writer(text);
    for (int k = 0; k < nums && k < kMaxStages; ++k) {
        writer.WriteInteger(k + 1);
        const double mean = means[static_cast<size_t>(k)];
        writer.WriteNumber(std::isfinite(mean) ? std::clamp(mean, -kLargestWrittenMean, kLargestWrittenMean) : mean);
        writer.EndRecord();
    }
    return text;
}

bool ReadResults(std::string_view text, StageResults& results) {
    platform::LineReader lines(text);
    return ReadRecords(lines, results);
}

bool LoadResultsFile(const std::filesystem::path& path, StageResults& results) {
    platform::ByteReader file;
    if (!file.Open(path, kMaxResultsFileBytes))
        return false;
    platform::LineReader lines(file);
    return ReadRecords(lines, results);
}

bool SaveResultsFile(const std::filesystem::path& path, const StageMeans& means, int nums) {
    return platform::ReplaceFileContents(path, WriteResults(means, nums));
}

} // namespace reactimer
