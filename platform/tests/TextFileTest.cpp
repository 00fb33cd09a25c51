#include "TextFile.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace platform;

namespace {

std::vector<std::string> Lines(std::string_view text) {
    LineReader reader(text);
    std::vector<std::string> lines;
    std::string line;
    while (reader.ReadLine(line))
        lines.push_back(line);
    return lines;
}

using Fields = std::vector<TextField>;

TextField Text(const char* text) {
    return {text, true};
}
TextField Bare(const char* text) {
    return {text, false};
}

} // namespace

TEST(LineReaderTest, LinesEndAtCrLfOrLf) {
    using V = std::vector<std::string>;
    const struct {
        std::string_view text;
        V lines;
    } cases[] = {
        {"", {}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},            // LF alone, and no end after the last line
        {"\r\n\r\nx", {"", "", "x"}},    // lines holding only CR are empty
        {"a\r", {"a"}},                  // a CR ending the text
        {"\r", {""}},
        {"\n", {""}},
        {"a\rb\r\n", {"a\rb"}},          // a CR inside a line stays
        {"a\r\r\nb", {"a\r", "b"}},
        {std::string_view("n\0l\r\n", 5), {std::string("n\0l", 3)}},
        {"\xE9t\xE9\r\n\x80", {"\xE9t\xE9", "\x80"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Lines(c.text), c.lines) << testing::PrintToString(std::string(c.text));
}

TEST(LineReaderTest, FileLinesMayCrossTheBuffer) {
    const auto path = std::filesystem::path(testing::TempDir()) / "lines.txt";
    // A CR LF split across the reader's buffer boundary, and a long last line.
    std::string text(ByteReader::kBufferSize - 1, 'x');
    text += "\r\nshort\n" + std::string(ByteReader::kBufferSize + 10, 'y');
    std::ofstream(path, std::ios::binary) << text;
    ByteReader file;
    ASSERT_TRUE(file.Open(path));
    LineReader reader(file);
    std::string line;
    ASSERT_TRUE(reader.ReadLine(line));
    EXPECT_EQ(line, std::string(ByteReader::kBufferSize - 1, 'x'));
    ASSERT_TRUE(reader.ReadLine(line));
    EXPECT_EQ(line, "short");
    ASSERT_TRUE(reader.ReadLine(line));
    EXPECT_EQ(line.size(), ByteReader::kBufferSize + 10);
    EXPECT_FALSE(reader.ReadLine(line));
    EXPECT_FALSE(reader.Failed());
    std::filesystem::remove(path);
}

TEST(LineReaderTest, AFailureAfterTheFirstChunkGivesNoPartialLine) {
    // The first chunk ends inside the second line.
    const std::string text = "first\r\n" + std::string(ByteReader::kBufferSize, 's') + "\r\nlast\r\n";
    const auto path = std::filesystem::path(testing::TempDir()) / "lines-fault.txt";
    std::ofstream(path, std::ios::binary) << text;
    const ByteReaderReadLimit fault(ByteReader::kBufferSize);
    ByteReader file;
    ASSERT_TRUE(file.Open(path));
    LineReader lines(file);
    std::string line;
    ASSERT_TRUE(lines.ReadLine(line));
    EXPECT_EQ(line, "first");
    EXPECT_FALSE(lines.ReadLine(line));
    EXPECT_EQ(line, "");
    EXPECT_TRUE(lines.Failed());
    EXPECT_FALSE(lines.ReadLine(line));
    EXPECT_EQ(line, "");
    std::filesystem::remove(path);
}

TEST(SplitRecordTest, QuotedAndBareFields) {
    const struct {
        std::string_view line;
        Fields fields;
    } cases[] = {
        {R"("A","B")", {Text("A"), Text("B")}},
        {"\"XL\",\"(blank)\"", {Text("XL"), Text("(blank)")}},
        {"10", {Bare("10")}},
        {"1,523.25", {Bare("1"), Bare("523.25")}},
        {R"("a,b",c)", {Text("a,b"), Bare("c")}},                 // a comma inside quotes
        {R"("say ""hi""","")", {Text(R"(say "hi")"), Text("")}}, // doubled quotes
        {R"("""")", {Text("\"")}},
        {R"(  "x" , y  ,	z)", {Text("x"), Bare("y"), Bare("z")}}, // blanks around fields
        {R"(" padded ")", {Text(" padded ")}},
        {"a,", {Bare("a"), Bare("")}},
        {",", {Bare(""), Bare("")}},
        {"", {}},
        {"   ", {}},
        {"\xC4\xD6,\"\x93q\x94\"", {Bare("\xC4\xD6"), Text("\x93q\x94")}},
    };
    for (const auto& c : cases) {
        Fields fields{Bare("stale")};
        EXPECT_TRUE(SplitRecord(c.line, fields)) << c.line;
        EXPECT_EQ(fields, c.fields) << c.line;
    }
    for (const std::string_view bad : {R"("open)", R"("a"b)", R"("a""")" "x", R"(x,"y)"}) {
        Fields fields;
        EXPECT_FALSE(SplitRecord(bad, fields)) << bad;
    }
}

TEST(ReadNumberTest, WholeFieldMustBeANumber) {
    const struct {
        std::string_view text;
        bool ok;
        double value;
    } cases[] = {
        {"10", true, 10},     {" -2.5 ", true, -2.5}, {"1.5E-05", true, 1.5e-5},
        {".5", true, 0.5},    {"12abc", false, 0},    {"", false, 0},
        {"abc", false, 0},    {"1,5", false, 0},      {"1 2", false, 0},
    };
    for (const auto& c : cases) {
        double value = -99;
        EXPECT_EQ(ReadNumber(c.text, value), c.ok) << c.text;
        EXPECT_EQ(value, c.ok ? c.value : -99) << c.text;
    }
}

TEST(RecordTest, WrittenRecordsReadBack) {
    std::string text;
    RecordWriter writer(text);
    writer.WriteText("STOP");
    writer.EndRecord();
    writer.WriteInteger(-3);
    writer.EndRecord();
    writer.WriteText("C,L");
    writer.WriteText(R"(a "quoted" name)");
    writer.EndRecord();
    writer.WriteInteger(1);
    writer.WriteNumber(523.456789012345678);
    writer.EndRecord();
    writer.WriteInteger(2);
    writer.WriteNumber(0.000012);
    writer.EndRecord();
    EXPECT_EQ(text, "\"STOP\"\r\n-3\r\n\"C,L\",\"a \"\"quoted\"\" name\"\r\n1,523.456789012346\r\n"
                    "2,1.2E-05\r\n");

    LineReader lines(text);
    RecordReader reader(lines);
    std::vector<Fields> records;
    Fields fields;
    while (reader.ReadRecord(fields))
        records.push_back(fields);
    EXPECT_FALSE(reader.Malformed());
    EXPECT_EQ(records, (std::vector<Fields>{{Text("STOP")},
                                            {Bare("-3")},
                                            {Text("C,L"), Text(R"(a "quoted" name)")},
                                            {Bare("1"), Bare("523.456789012346")},
                                            {Bare("2"), Bare("1.2E-05")}}));
}

TEST(RecordTest, MissingFinalLineEndAndMalformedLines) {
    LineReader lines("\"A\",\"B\"\r\n7,8");
    RecordReader reader(lines);
    Fields fields;
    ASSERT_TRUE(reader.ReadRecord(fields));
    EXPECT_EQ(fields, (Fields{Text("A"), Text("B")}));
    ASSERT_TRUE(reader.ReadRecord(fields));
    EXPECT_EQ(fields, (Fields{Bare("7"), Bare("8")}));
    EXPECT_FALSE(reader.ReadRecord(fields));
    EXPECT_FALSE(reader.Malformed());

    LineReader broken("\"ok\"\r\n\"unclosed\r\nnext\r\n");
    RecordReader brokenReader(broken);
    ASSERT_TRUE(brokenReader.ReadRecord(fields));
    EXPECT_FALSE(brokenReader.ReadRecord(fields));
    EXPECT_TRUE(brokenReader.Malformed());
}
