#pragma once

#include "ByteFile.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Single-byte text as the programs read and write it: lines ended by CR LF, and
// records of comma-separated fields in which a text stands between double
// quotes and a number without them. Bytes pass unchanged (the Windows-1252
// code page; the window layer turns them into Qt strings and back).

namespace platform {

// Reads lines from a file or from text in memory. A line ends at LF, and a CR
// just before the LF is not part of it (so a line holding only CR is empty);
// a CR ending the last line is dropped too. The end of the text ends the last
// line; nothing after the last LF is no line.
class LineReader {
public:
    // Reads the open file from where it stands; the file must outlive the reader.
    explicit LineReader(ByteReader& file) : file_(&file) {}
    // Reads text in memory, which must outlive the reader.
    explicit LineReader(std::string_view text) : pending_(text) {}

    // The next line, without its end, into `line`; false, with `line` empty,
    // when no line is left or the file failed to read.
    bool ReadLine(std::string& line);
    // True once the file failed to read (as opposed to ending).
    bool Failed() const { return file_ != nullptr && file_->Failed(); }

private:
    ByteReader* file_ = nullptr;
    std::string_view pending_; // read but not handed out yet
};

struct TextField {
    std::string text;
    bool quoted = false; // written between double quotes

    bool operator==(const TextField&) const = default;
};

// Splits one line into its fields. Fields are separated by commas; blanks
// (spaces, tabs) around a field are not part of it. A field that begins with a
// double quote runs to the closing quote and may hold commas; two quotes in a
// row inside it stand for one. A line of blanks alone has no fields; a comma at
// the end of a line is followed by an empty field. False, with `fields`
// holding what came before, for a quote that is not closed or a closing quote
// followed by anything but blanks and a comma.
bool SplitRecord(std::string_view line, std::vector<TextField>& fields);

// Whether the text of a field is a decimal number and nothing else (blanks
// around it allowed), read with "." as the point whatever the locale.
bool ReadNumber(std::string_view text, double& value);

// Reads one record per line.
class RecordReader {
public:
    explicit RecordReader(LineReader& lines) : lines_(lines) {}

    // The fields of the next line; false at the end of the text, after a read
    // failure, or on a line that SplitRecord refuses (then Malformed()).
    bool ReadRecord(std::vector<TextField>& fields);
    bool Malformed() const { return malformed_; }
    bool Failed() const { return lines_.Failed(); }

private:
    LineReader& lines_;
    std::string line_;
    bool malformed_ = false;
};

// Writes records into text in memory, ready to be saved whole: fields separated
// by commas without spaces, texts between double quotes (a quote inside
// doubled), numbers as FormatGeneralInvariant writes them, each record ended
// by CR LF.
class RecordWriter {
public:
    explicit RecordWriter(std::string& out) : out_(out) {}

    void WriteText(std::string_view text);
    void WriteNumber(double value);
    void WriteInteger(int64_t value);
    void EndRecord();

private:
    void Separate();

    std::string& out_;
    bool fieldWritten_ = false;
};

} // namespace platform
