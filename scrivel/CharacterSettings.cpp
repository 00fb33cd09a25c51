#include "CharacterSettings.h"

#include "ByteFile.h"
#include "Conversions.h"

namespace scrivel {

namespace {

constexpr int kSpace = 32;
constexpr int kTab = 9;
constexpr int kLineFeed = 10;
constexpr int kCarriageReturn = 13;

// The next line of bytes from pos, without its end (CR LF, CR or LF); false when
// nothing is left. A last line without an end is a line; the end of the last line
// does not start another one.
bool NextLine(std::string_view bytes, size_t& pos, std::string_view& line) {
    if (pos >= bytes.size())
        return false;
    size_t end = pos;
    while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
        ++end;
    line = bytes.substr(pos, end - pos);
    pos = end;
    if (pos < bytes.size())
        pos += bytes[pos] == '\r' && pos + 1 < bytes.size() && bytes[pos + 1] == '\n' ? 2 : 1;
    return true;
}

// A field of a group line read as a number rounded to a code; false outside 0..255.
bool ReadCode(std::string_view field, int& code) {
    int16_t value = 0;
    if (!platform::ToInt16Rounded(platform::Val(field), value) || value < 0 || value >= kCodes)
        return false;
    code = value;
    return true;
}

} // namespace

CharacterSettings::CharacterSettings() {
    nextAlias_.fill(-1);
    prevAlias_.fill(-1);
    indexToChar_.fill(-1);
    charToIndex_.fill(-1);
}

void CharacterSettings::UpdateLookupTable() {
    indexToChar_.fill(-1);
    charToIndex_.fill(-1);
    int16_t n = 0;
    for (int code = 0; code < kCodes; ++code) {
        if (prevAlias_[code] == -1 && counted_[code]) {
            indexToChar_[n] = static_cast<int16_t>(code);
            charToIndex_[code] = n;
            ++n;
        }
    }
    all_ = n;
}

int CharacterSettings::Ind2Char(int index) const {
    return InRange(index) ? indexToChar_[index] : -1;
}

int CharacterSettings::Char2Ind(int code) const {
    return InRange(code) ? charToIndex_[code] : -1;
}

bool CharacterSettings::Counts(int code) const {
    return InRange(code) && counted_[code];
}

void CharacterSettings::SetCounts(int code, bool counted) {
    if (InRange(code))
        counted_[code] = counted;
}

int CharacterSettings::IsAlias(int code) const {
    if (!InRange(code))
        return -1;
    while (prevAlias_[code] >= 0)
        code = prevAlias_[code];
    return code;
}

int CharacterSettings::NextAlias(int code) const {
    return InRange(code) ? nextAlias_[code] : -1;
}

int CharacterSettings::PrevAlias(int code) const {
    return InRange(code) ? prevAlias_[code] : -1;
}

bool CharacterSettings::IsFree(int code) const {
    return InRange(code) && prevAlias_[code] == -1 && nextAlias_[code] == -1;
}

std::vector<int> CharacterSettings::Members(int head) const {
    std::vector<int> members;
    if (!InRange(head) || prevAlias_[head] != -1)
        return members;
    for (int m = nextAlias_[head]; m >= 0; m = nextAlias_[m])
        members.push_back(m);
    return members;
}

void CharacterSettings::SetDefaultCharacters() {
    counted_.fill(false);
    nextAlias_.fill(-1);
    prevAlias_.fill(-1);
    counted_[kSpace] = true;
    const int chain[] = {kSpace, kTab, kLineFeed, kCarriageReturn};
    for (size_t k = 1; k < std::size(chain); ++k) {
        nextAlias_[chain[k - 1]] = static_cast<int16_t>(chain[k]);
        prevAlias_[chain[k]] = static_cast<int16_t>(chain[k - 1]);
    }
    for (int c = 'A'; c <= 'Z'; ++c) {
        counted_[c] = true;
        nextAlias_[c] = static_cast<int16_t>(c + 32);
        prevAlias_[c + 32] = static_cast<int16_t>(c);
    }
    CopyHeadStatesToMembers();
}

void CharacterSettings::CopyStateToChain(int code) {
    if (!InRange(code))
        return;
    for (int m = nextAlias_[code]; m >= 0; m = nextAlias_[m])
        counted_[m] = counted_[code];
}

void CharacterSettings::CopyHeadStatesToMembers() {
    for (int code = 0; code < kCodes; ++code)
        if (prevAlias_[code] == -1)
            CopyStateToChain(code);
}

bool CharacterSettings::ChangeHead(int oldHead, int newHead) {
    if (!InRange(oldHead) || !InRange(newHead) || prevAlias_[oldHead] != -1)
        return false;
    if (oldHead == newHead)
        return true;
    if (!IsFree(newHead))
        return false;
    nextAlias_[newHead] = nextAlias_[oldHead];
    nextAlias_[oldHead] = -1;
    if (nextAlias_[newHead] >= 0)
        prevAlias_[nextAlias_[newHead]] = static_cast<int16_t>(newHead);
    return true;
}

bool CharacterSettings::AddMember(int head, int code) {
    if (!InRange(head) || !InRange(code) || head == code || prevAlias_[head] != -1 ||
        !IsFree(code))
        return false;
    int tail = head;
    while (nextAlias_[tail] >= 0)
        tail = nextAlias_[tail];
    nextAlias_[tail] = static_cast<int16_t>(code);
    prevAlias_[code] = static_cast<int16_t>(tail);
    return true;
}

bool CharacterSettings::RemoveMember(int code) {
    if (!InRange(code) || prevAlias_[code] < 0)
        return false;
    const int16_t next = nextAlias_[code];
    const int16_t prev = prevAlias_[code];
    nextAlias_[code] = -1;
    prevAlias_[code] = -1;
    nextAlias_[prev] = next;
    if (next >= 0)
        prevAlias_[next] = prev;
    return true;
}

void CharacterSettings::RemoveGroup(int head) {
    if (!InRange(head) || prevAlias_[head] != -1)
        return;
    int code = head;
    while (code >= 0) {
        const int next = nextAlias_[code];
        nextAlias_[code] = -1;
        prevAlias_[code] = -1;
        code = next;
    }
}

std::string CharacterSettings::WriteSettingsFile() const {
    std::string out;
    out.reserve(kCodes + 2 + 4 * kCodes + 2 * kCodes);
    for (int code = 0; code < kCodes; ++code)
        out += counted_[code] ? '1' : '0';
    out += "\r\n";
    for (int head = 0; head < kCodes; ++head) {
        if (prevAlias_[head] != -1 || nextAlias_[head] < 0)
            continue;
        out += std::to_string(head);
        for (int m = nextAlias_[head]; m >= 0; m = nextAlias_[m]) {
            out += '\t';
            out += std::to_string(m);
        }
        out += "\r\n";
    }
    return out;
}

bool CharacterSettings::LoadSettingsFile(const std::filesystem::path& path) {
    std::string bytes;
    return platform::ReadWholeFile(path, kMaxSettingsFileBytes, bytes) && ReadSettingsFile(bytes);
}

bool CharacterSettings::ReadSettingsFile(std::string_view bytes) {
    size_t pos = 0;
    std::string_view line;
    if (!NextLine(bytes, pos, line))
        return false;
    std::array<bool, kCodes> counted{};
    for (size_t k = 0; k < line.size() && k < kCodes; ++k)
        counted[k] = line[k] == '1';

    std::array<int16_t, kCodes> next, prev;
    next.fill(-1);
    prev.fill(-1);
    std::array<bool, kCodes> named{};
    while (NextLine(bytes, pos, line)) {
        if (line.empty())
            return false;
        int previous = -1;
        size_t start = 0;
        while (true) {
            const size_t tab = line.find('\t', start);
            const std::string_view field =
                line.substr(start, tab == std::string_view::npos ? std::string_view::npos
                                                                 : tab - start);
            int code = 0;
            if (!ReadCode(field, code) || named[code])
                return false;
            named[code] = true;
            if (previous >= 0) {
                next[previous] = static_cast<int16_t>(code);
                prev[code] = static_cast<int16_t>(previous);
            }
            previous = code;
            if (tab == std::string_view::npos)
                break;
            start = tab + 1;
        }
    }
    counted_ = counted;
    nextAlias_ = next;
    prevAlias_ = prev;
    CopyHeadStatesToMembers();
    return true;
}

std::string CharacterSettings::char2string(int code) {
    switch (code) {
    case kTab:
        return "[Tab]";
    case kCarriageReturn:
        return "[CR]";
    case kLineFeed:
        return "[LF]";
    case kSpace:
        return "[Spc]";
    default:
        break;
    }
    if (code >= 33 && code <= 126)
        return std::string(1, static_cast<char>(code));
    std::string label = "[";
    label += std::to_string(code);
    label += ']';
    return label;
}

} // namespace scrivel
