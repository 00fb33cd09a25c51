#include "ResultsFile.h"

#include "ByteFile.h"
#include "Conversions.h"
#include "TextFile.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>
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
        if (!platform::ReadNumber(fields[1].text, mean) || !std::isfinite(mean) ||
            std::fabs(mean) > 2147483647.0)
            return false;
        read.means[static_cast<size_t>(read.nums++)] = mean;
    }
    if (reader.Malformed() || reader.Failed())
        return false;
    results = read;
    return true;
}

// Writes `bytes` aside in the target's folder, flushed to disk, and renames
// it over the target; on any failure the aside file goes and the target stays.
bool ReplaceFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::path aside = path;
    aside += ".saving";
    const int fd = ::open(aside.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    bool ok = true;
    size_t done = 0;
    while (ok && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        if (ok)
            done += static_cast<size_t>(n);
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(aside.c_str(), path.c_str()) == 0;
    if (!ok)
        ::unlink(aside.c_str());
    return ok;
}

} // namespace

std::string WriteResults(const StageMeans& means, int nums) {
    std::string text;
    platform::RecordWriter writer(text);
    for (int k = 0; k < nums && k < kMaxStages; ++k) {
        writer.WriteInteger(k + 1);
        writer.WriteNumber(means[static_cast<size_t>(k)]);
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
    if (!file.Open(path))
        return false;
    platform::LineReader lines(file);
    return ReadRecords(lines, results);
}

bool SaveResultsFile(const std::filesystem::path& path, const StageMeans& means, int nums) {
    return ReplaceFile(path, WriteResults(means, nums));
}

} // namespace reactimer
