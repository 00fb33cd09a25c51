#include "Registry.h"

#include "SafeReplace.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/file.h>
#include <unistd.h>

namespace com {

namespace {

constexpr std::string_view kHeader = "VERITOPE REGISTRY 1";

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

template <class F> void ForEachPart(std::string_view path, F f) {
    while (!path.empty()) {
        const auto cut = path.find('\\');
        const std::string_view part = path.substr(0, cut);
        if (!part.empty() && !f(part))
            return;
        if (cut == std::string_view::npos)
            break;
        path.remove_prefix(cut + 1);
    }
}

void Quote(std::string& out, std::string_view s) {
    out.push_back('"');
    for (char c : s) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out.push_back(c);
        }
    }
    out.push_back('"');
}

// Reads a quoted text at the start of `s`, leaving `s` after it.
std::optional<std::string> Unquote(std::string_view& s) {
    if (s.empty() || s.front() != '"')
        return std::nullopt;
    std::string out;
    for (std::size_t i = 1; i < s.size(); ++i) {
        char c = s[i];
        if (c == '"') {
            s.remove_prefix(i + 1);
            return out;
        }
        if (c == '\\') {
            if (++i == s.size())
                return std::nullopt;
            switch (s[i]) {
            case '\\': c = '\\'; break;
            case '"': c = '"'; break;
            case 'n': c = '\n'; break;
            case 'r': c = '\r'; break;
            default: return std::nullopt;
            }
        }
        out.push_back(c);
    }
    return std::nullopt;
}

void SerializeKey(const RegKey& key, const std::string& path, std::string& out) {
    out += '[';
    out += path;
    out += "]\n";
    for (const auto& [name, value] : key.Values()) {
        if (name.empty())
            out += '@';
        else
            Quote(out, name);
        out += '=';
        if (value.type == RegValue::Type::String) {
            Quote(out, value.text);
        } else {
            char digits[16];
            std::snprintf(digits, sizeof digits, "dword:%08x", value.number);
            out += digits;
        }
        out += '\n';
    }
    out += '\n';
    for (const auto& sub : key.Subkeys())
        SerializeKey(*sub, path + '\\' + sub->Name(), out);
}

bool ReadFile(const std::string& path, std::string& text, bool& missing) {
    std::ifstream in(path, std::ios::binary);
    missing = false;
    if (!in) {
        missing = errno == ENOENT;
        return false;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad())
        return false;
    text = buffer.str();
    return true;
}

} // namespace

RegKey* RegKey::Find(std::string_view name) const {
    for (const auto& sub : subkeys_)
        if (SameName(sub->Name(), name))
            return sub.get();
    return nullptr;
}

RegKey& RegKey::Create(std::string_view name) {
    if (RegKey* existing = Find(name))
        return *existing;
    subkeys_.push_back(std::make_unique<RegKey>(std::string(name)));
    return *subkeys_.back();
}

bool RegKey::Remove(std::string_view name) {
    const auto it = std::find_if(subkeys_.begin(), subkeys_.end(),
                                 [&](const auto& sub) { return SameName(sub->Name(), name); });
    if (it == subkeys_.end())
        return false;
    subkeys_.erase(it);
    return true;
}

const RegValue* RegKey::Value(std::string_view name) const {
    for (const auto& [n, v] : values_)
        if (SameName(n, name))
            return &v;
    return nullptr;
}

void RegKey::SetValue(std::string_view name, RegValue value) {
    for (auto& [n, v] : values_) {
        if (SameName(n, name)) {
            v = std::move(value);
            return;
        }
    }
    values_.emplace_back(std::string(name), std::move(value));
}

bool RegKey::RemoveValue(std::string_view name) {
    const auto it = std::find_if(values_.begin(), values_.end(),
                                 [&](const auto& entry) { return SameName(entry.first, name); });
    if (it == values_.end())
        return false;
    values_.erase(it);
    return true;
}

std::optional<std::string> RegKey::DefaultString() const {
    const RegValue* v = Value("");
    if (!v || v->type != RegValue::Type::String)
        return std::nullopt;
    return v->text;
}

RegKey* RegistryTree::FindPath(std::string_view path) {
    RegKey* key = &root_;
    ForEachPart(path, [&](std::string_view part) {
        key = key->Find(part);
        return key != nullptr;
    });
    return key;
}

RegKey& RegistryTree::CreatePath(std::string_view path) {
    RegKey* key = &root_;
    ForEachPart(path, [&](std::string_view part) {
        key = &key->Create(part);
        return true;
    });
    return *key;
}

bool RegistryTree::RemovePath(std::string_view path) {
    const auto cut = path.rfind('\\');
    RegKey* parent = cut == std::string_view::npos ? &root_ : FindPath(path.substr(0, cut));
    const std::string_view name = cut == std::string_view::npos ? path : path.substr(cut + 1);
    return parent && !name.empty() && parent->Remove(name);
}

std::string RegistryTree::Serialize() const {
    std::string out(kHeader);
    out += "\n\n";
    SerializeKey(root_, std::string(kRootName), out);
    return out;
}

std::optional<RegistryTree> RegistryTree::Parse(std::string_view text) {
    RegistryTree tree;
    RegKey* current = nullptr;
    bool sawHeader = false;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!sawHeader) {
            if (line != kHeader)
                return std::nullopt;
            sawHeader = true;
            continue;
        }
        if (line.empty())
            continue;
        if (line.front() == '[') {
            if (line.back() != ']')
                return std::nullopt;
            std::string_view path = line.substr(1, line.size() - 2);
            if (!path.starts_with(kRootName))
                return std::nullopt;
            path.remove_prefix(kRootName.size());
            if (!path.empty() && path.front() != '\\')
                return std::nullopt;
            current = &tree.CreatePath(path);
            continue;
        }
        if (!current)
            return std::nullopt;
        std::string name;
        if (line.front() == '@') {
            line.remove_prefix(1);
        } else {
            auto quoted = Unquote(line);
            if (!quoted || quoted->empty())
                return std::nullopt;
            name = std::move(*quoted);
        }
        if (line.empty() || line.front() != '=')
            return std::nullopt;
        line.remove_prefix(1);
        if (line.starts_with("dword:")) {
            line.remove_prefix(6);
            if (line.size() != 8 ||
                !std::all_of(line.begin(), line.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); }))
                return std::nullopt;
            current->SetValue(name, RegValue::Dword(static_cast<uint32_t>(
                                        std::strtoul(std::string(line).c_str(), nullptr, 16))));
        } else {
            auto value = Unquote(line);
            if (!value || !line.empty())
                return std::nullopt;
            current->SetValue(name, RegValue::String(std::move(*value)));
        }
    }
    if (!sawHeader)
        return std::nullopt;
    return tree;
}

namespace registry {

std::string DefaultPath() {
    if (const char* env = std::getenv("VERITOPE_REGISTRY"); env && *env)
        return env;
    std::string base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::string(home) + "/.config";
    else
        base = ".";
    return base + "/veritope/registry";
}

HRESULT Read(const std::string& path, RegistryTree& tree) {
    std::string text;
    bool missing = false;
    if (!ReadFile(path, text, missing)) {
        if (!missing)
            return REGDB_E_READREGDB;
        tree = RegistryTree();
        return S_OK;
    }
    auto parsed = RegistryTree::Parse(text);
    if (!parsed)
        return REGDB_E_READREGDB;
    tree = std::move(*parsed);
    return S_OK;
}

HRESULT Update(const std::string& path, const std::function<HRESULT(RegistryTree&)>& change) {
    std::error_code ec;
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty())
        std::filesystem::create_directories(parent, ec);

    const std::string lockPath = path + ".lock";
    const int lock = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lock < 0)
        return REGDB_E_WRITEREGDB;
    while (::flock(lock, LOCK_EX) != 0 && errno == EINTR) {
    }

    RegistryTree tree;
    HRESULT hr = Read(path, tree);
    if (SUCCEEDED(hr))
        hr = change(tree);
    if (SUCCEEDED(hr) && !platform::ReplaceFileContents(path, tree.Serialize(), 0600))
        hr = REGDB_E_WRITEREGDB;
    ::close(lock);
    return hr;
}

} // namespace registry

} // namespace com
