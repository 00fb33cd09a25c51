#include "Registrar.h"

#include <charconv>
#include <optional>
#include <vector>

namespace com::registrar {

namespace {

struct ScriptKey {
    enum class Mode { Normal, NoRemove, ForceRemove, Delete };
    Mode mode = Mode::Normal;
    std::string name;
    std::optional<RegValue> value;
    std::vector<std::pair<std::string, RegValue>> values;
    std::vector<ScriptKey> subkeys;
};

struct Token {
    enum class Kind { Word, Quoted, Open, Close, Equals };
    Kind kind;
    std::string text;
};

bool SameWord(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

bool Substitute(std::string_view in, std::span<const Variable> variables, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] != '%') {
            out.push_back(in[i]);
            continue;
        }
        const auto end = in.find('%', i + 1);
        if (end == std::string_view::npos)
            return false;
        const std::string_view name = in.substr(i + 1, end - i - 1);
        if (name.empty()) {
            out.push_back('%');
        } else {
            const Variable* found = nullptr;
            for (const Variable& v : variables)
                if (SameWord(v.name, name))
                    found = &v;
            if (!found)
                return false;
            out += found->value;
        }
        i = end;
    }
    return true;
}

bool Tokenize(std::string_view text, std::span<const Variable> variables, std::vector<Token>& out) {
    auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (space(c)) {
            ++i;
        } else if (c == '\'') {
            std::string raw;
            ++i;
            for (;;) {
                if (i >= text.size())
                    return false;
                if (text[i] == '\'') {
                    if (i + 1 < text.size() && text[i + 1] == '\'') {
                        raw.push_back('\'');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                raw.push_back(text[i++]);
            }
            Token t{Token::Kind::Quoted, {}};
            if (!Substitute(raw, variables, t.text))
                return false;
            out.push_back(std::move(t));
        } else if (c == '=') {
            out.push_back({Token::Kind::Equals, "="});
            ++i;
        } else {
            std::size_t end = i;
            while (end < text.size() && !space(text[end]) && text[end] != '=' && text[end] != '\'')
                ++end;
            const std::string_view word = text.substr(i, end - i);
            i = end;
            if (word == "{") {
                out.push_back({Token::Kind::Open, "{"});
            } else if (word == "}") {
                out.push_back({Token::Kind::Close, "}"});
            } else {
                Token t{Token::Kind::Word, {}};
                if (!Substitute(word, variables, t.text))
                    return false;
                out.push_back(std::move(t));
            }
        }
    }
    return true;
}

// A key name is not empty and holds neither a backslash, which separates
// keys in a path, nor a control character.
bool IsKeyName(std::string_view name) {
    if (name.empty())
        return false;
    for (const char c : name)
        if (c == '\\' || static_cast<unsigned char>(c) < 0x20)
            return false;
    return true;
}

class Parser {
public:
    explicit Parser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

    // The keys under the classes root.
    bool ParseScript(std::vector<ScriptKey>& keys) {
        while (pos_ < tokens_.size()) {
            const Token* root = Next();
            if (!root || root->kind != Token::Kind::Word ||
                !(SameWord(root->text, "HKCR") || SameWord(root->text, "HKEY_CLASSES_ROOT")))
                return false;
            if (!Expect(Token::Kind::Open) || !ParseBlock(keys, nullptr))
                return false;
        }
        return true;
    }

private:
    const Token* Peek() const { return pos_ < tokens_.size() ? &tokens_[pos_] : nullptr; }
    const Token* Next() { return pos_ < tokens_.size() ? &tokens_[pos_++] : nullptr; }
    bool Expect(Token::Kind kind) {
        const Token* t = Next();
        return t && t->kind == kind;
    }
    static bool IsName(const Token* t) {
        return t && (t->kind == Token::Kind::Word || t->kind == Token::Kind::Quoted);
    }

    // Keys and named values up to the closing brace.
    bool ParseBlock(std::vector<ScriptKey>& keys,
                    std::vector<std::pair<std::string, RegValue>>* values) {
        for (;;) {
            const Token* t = Peek();
            if (!t)
                return false;
            if (t->kind == Token::Kind::Close) {
                ++pos_;
                return true;
            }
            if (t->kind == Token::Kind::Word && SameWord(t->text, "val")) {
                ++pos_;
                const Token* name = Next();
                RegValue value;
                if (!values || !IsName(name) || !Expect(Token::Kind::Equals) || !ParseValue(value))
                    return false;
                values->emplace_back(name->text, std::move(value));
                continue;
            }
            ScriptKey key;
            if (!ParseKey(key))
                return false;
            keys.push_back(std::move(key));
        }
    }

    bool ParseKey(ScriptKey& key) {
        const Token* t = Next();
        if (t && t->kind == Token::Kind::Word) {
            if (SameWord(t->text, "NoRemove"))
                key.mode = ScriptKey::Mode::NoRemove;
            else if (SameWord(t->text, "ForceRemove"))
                key.mode = ScriptKey::Mode::ForceRemove;
            else if (SameWord(t->text, "Delete"))
                key.mode = ScriptKey::Mode::Delete;
            if (key.mode != ScriptKey::Mode::Normal)
                t = Next();
        }
        if (!IsName(t) || !IsKeyName(t->text))
            return false;
        key.name = t->text;
        if (const Token* eq = Peek(); eq && eq->kind == Token::Kind::Equals) {
            ++pos_;
            RegValue value;
            if (!ParseValue(value))
                return false;
            key.value = std::move(value);
        }
        if (const Token* open = Peek(); open && open->kind == Token::Kind::Open) {
            ++pos_;
            return ParseBlock(key.subkeys, &key.values);
        }
        return true;
    }

    bool ParseValue(RegValue& value) {
        const Token* type = Next();
        const Token* data = Next();
        if (!type || type->kind != Token::Kind::Word || !IsName(data))
            return false;
        if (SameWord(type->text, "s")) {
            value = RegValue::String(data->text);
            return true;
        }
        if (SameWord(type->text, "d")) {
            std::string_view digits = data->text;
            int base = 10;
            if (digits.starts_with("0x") || digits.starts_with("0X")) {
                digits.remove_prefix(2);
                base = 16;
            }
            uint32_t n = 0;
            const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n, base);
            if (ec != std::errc() || end != digits.data() + digits.size() || digits.empty())
                return false;
            value = RegValue::Dword(n);
            return true;
        }
        return false;
    }

    std::vector<Token> tokens_;
    std::size_t pos_ = 0;
};

bool ParseScript(std::string_view script, std::span<const Variable> variables,
                 std::vector<ScriptKey>& keys) {
    std::vector<Token> tokens;
    return Tokenize(script, variables, tokens) && Parser(std::move(tokens)).ParseScript(keys);
}

void RegisterKey(RegKey& parent, const ScriptKey& k) {
    if (k.mode == ScriptKey::Mode::Delete) {
        parent.Remove(k.name);
        return;
    }
    if (k.mode == ScriptKey::Mode::ForceRemove)
        parent.Remove(k.name);
    RegKey& key = parent.Create(k.name);
    if (k.value)
        key.SetValue("", *k.value);
    for (const auto& [name, value] : k.values)
        key.SetValue(name, value);
    for (const ScriptKey& sub : k.subkeys)
        RegisterKey(key, sub);
}

void UnregisterKey(RegKey& parent, const ScriptKey& k) {
    RegKey* key = parent.Find(k.name);
    if (!key || k.mode == ScriptKey::Mode::Delete)
        return;
    if (k.mode == ScriptKey::Mode::ForceRemove) {
        parent.Remove(k.name);
        return;
    }
    for (const ScriptKey& sub : k.subkeys)
        UnregisterKey(*key, sub);
    if (k.mode == ScriptKey::Mode::NoRemove)
        return;
    for (const auto& entry : k.values)
        key->RemoveValue(entry.first);
    if (key->Subkeys().empty())
        parent.Remove(k.name);
}

} // namespace

HRESULT Register(RegistryTree& tree, std::string_view script, std::span<const Variable> variables) {
    std::vector<ScriptKey> keys;
    if (!ParseScript(script, variables, keys))
        return E_INVALIDARG;
    for (const ScriptKey& k : keys)
        RegisterKey(tree.Root(), k);
    return S_OK;
}

HRESULT Unregister(RegistryTree& tree, std::string_view script,
                   std::span<const Variable> variables) {
    std::vector<ScriptKey> keys;
    if (!ParseScript(script, variables, keys))
        return E_INVALIDARG;
    for (const ScriptKey& k : keys)
        UnregisterKey(tree.Root(), k);
    return S_OK;
}

} // namespace com::registrar
