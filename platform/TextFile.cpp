#include "TextFile.h"

#include "Conversions.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

size_t SkipBlanks(std::string_view text, size_t at) {
    while (at < text.size() && IsBlank(text[at]))
        ++at;
    return at;
}

} // namespace

bool LineReader::ReadLine(std::string& line) {
    line.clear();
    bool started = false;
    for (;;) {
        if (!pending_.empty()) {
            started = true;
            const void* lf = std::memchr(pending_.data(), '\n', pending_.size());
            if (lf != nullptr) {
                const size_t length =
                    static_cast<size_t>(static_cast<const char*>(lf) - pending_.data());
                line.append(pending_.data(), length);
                pending_.remove_prefix(length + 1);
                break;
            }
            line.append(pending_);
            pending_ = {};
        }
        if (file_ == nullptr)
            break;
        const std::span<const uint8_t> chunk = file_->NextChunk();
        if (chunk.empty()) {
            if (file_->Failed()) {
                line.clear();
                return false;
            }
            break;
        }
        pending_ = std::string_view(reinterpret_cast<const char*>(chunk.data()), chunk.size());
    }
    if (!started)
        return false;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

bool SplitRecord(std::string_view line, std::vector<TextField>& fields) {
    fields.clear();
    size_t at = SkipBlanks(line, 0);
    if (at == line.size())
        return true;
    for (;;) {
        TextField field;
        at = SkipBlanks(line, at);
        if (at < line.size() && line[at] == '"') {
            field.quoted = true;
            ++at;
            for (;;) {
                const size_t quote = line.find('"', at);
                if (quote == std::string_view::npos)
                    return false;
                field.text.append(line.substr(at, quote - at));
                at = quote + 1;
                if (at < line.size() && line[at] == '"') {
                    field.text.push_back('"');
                    ++at;
                    continue;
                }
                break;
            }
            at = SkipBlanks(line, at);
            if (at < line.size() && line[at] != ',')
                return false;
        } else {
            const size_t comma = std::min(line.find(',', at), line.size());
            size_t end = comma;
            while (end > at && IsBlank(line[end - 1]))
                --end;
            field.text.assign(line.substr(at, end - at));
            at = comma;
        }
        fields.push_back(std::move(field));
        if (at == line.size())
            return true;
        ++at; // the comma
    }
}

bool ReadNumber(std::string_view text, double& value) {
    const size_t start = SkipBlanks(text, 0);
    size_t end = text.size();
    while (end > start && IsBlank(text[end - 1]))
        --end;
    text = text.substr(start, end - start);
    size_t used = 0;
    double read = 0;
    if (!ParseLeadingNumber(text, read, &used) || used != text.size())
        return false;
    value = read;
    return true;
}

bool RecordReader::ReadRecord(std::vector<TextField>& fields) {
    fields.clear();
    malformed_ = false;
    if (!lines_.ReadLine(line_))
        return false;
    if (!SplitRecord(line_, fields)) {
        malformed_ = true;
        return false;
    }
    return true;
}

void RecordWriter::Separate() {
    if (fieldWritten_)
        out_.push_back(',');
    fieldWritten_ = true;
}

void RecordWriter::WriteText(std::string_view text) {
    Separate();
    out_.push_back('"');
    for (const char c : text) {
        if (c == '"')
            out_.push_back('"');
        out_.push_back(c);
    }
    out_.push_back('"');
}

void RecordWriter::WriteNumber(double value) {
    Separate();
    out_ += FormatGeneralInvariant(value);
}

void RecordWriter::WriteInteger(int64_t value) {
    Separate();
    out_ += std::to_string(value);
}

void RecordWriter::EndRecord() {
    out_ += "\r\n";
    fieldWritten_ = false;
}

} // namespace platform
