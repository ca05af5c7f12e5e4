#include "platform/plvoledb/driver/ConnectionString.h"

#include "platform/plvoledb/driver/Value.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace plv::db {
namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

}  // namespace

bool ConnectionString::LessNoCase::operator()(std::string_view a, std::string_view b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Lower(x) < Lower(y); });
}

// Error messages name the key only: values may be passwords.
ConnectionString::ConnectionString(std::string_view text) {
    size_t i = 0;
    const size_t n = text.size();
    while (i < n) {
        size_t stop = text.find_first_of("=;", i);
        if (stop == std::string_view::npos || text[stop] == ';') {
            size_t end = stop == std::string_view::npos ? n : stop;
            if (!Trim(text.substr(i, end - i)).empty())
                throw DbError("connection string: '=' missing after a key at offset " + std::to_string(i));
            i = end + 1;
            continue;
        }
        std::string key(Trim(text.substr(i, stop - i)));
        if (key.empty())
            throw DbError("connection string: empty key at offset " + std::to_string(i));
        i = stop + 1;
        while (i < n && IsBlank(text[i])) ++i;

        std::string value;
        if (i < n && (text[i] == '\'' || text[i] == '"')) {
            const char quote = text[i++];
            for (;;) {
                if (i >= n) throw DbError("connection string: unterminated quote in the value of " + key);
                if (text[i] == quote) {
                    if (i + 1 < n && text[i + 1] == quote) {
                        value += quote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += text[i++];
            }
            while (i < n && IsBlank(text[i])) ++i;
            if (i < n && text[i] != ';')
                throw DbError("connection string: text after the quoted value of " + key);
        } else {
            size_t end = std::min(text.find(';', i), n);
            value = Trim(text.substr(i, end - i));
            i = end;
        }
        ++i;  // the ';'
        values_.insert_or_assign(std::move(key), std::move(value));
    }
    static const std::pair<const char*, const char*> kAliases[] = {
        {"Server", "Data Source"},     {"Address", "Data Source"}, {"Addr", "Data Source"},
        {"Network Address", "Data Source"}, {"Database", "Initial Catalog"}, {"UID", "User ID"},
        {"PWD", "Password"},           {"Timeout", "Connect Timeout"},
    };
    for (auto [alias, key] : kAliases) {
        auto it = values_.find(std::string_view(alias));
        if (it == values_.end()) continue;
        std::string value = std::move(it->second);
        values_.erase(it);
        if (auto known = values_.find(std::string_view(key)); known != values_.end() && known->second != value)
            throw DbError(std::string("connection string: ") + alias + " and " + key + " name different values");
        values_.insert_or_assign(key, std::move(value));
    }
}

std::string ConnectionString::Get(std::string_view key, std::string_view fallback) const {
    auto it = values_.find(key);
    return std::string(it == values_.end() ? fallback : std::string_view(it->second));
}

bool ConnectionString::Has(std::string_view key) const { return values_.find(key) != values_.end(); }

std::string BuildConnectionString(const std::vector<std::pair<std::string, std::string>>& pairs) {
    std::string out;
    for (const auto& [key, value] : pairs) {
        if (Trim(key).empty() || key.find_first_of("=;") != std::string::npos)
            throw DbError("connection string: a key may not be empty nor hold '=' or ';'");
        out += key;
        out += '=';
        const bool quoted = value.find_first_of(";'\"") != std::string::npos ||
                            (!value.empty() && (IsBlank(value.front()) || IsBlank(value.back())));
        if (!quoted) {
            out += value;
        } else {
            out += '\'';
            for (char c : value) {
                if (c == '\'') out += c;
                out += c;
            }
            out += '\'';
        }
        out += ';';
    }
    return out;
}

std::optional<std::string> ResolveSqlitePath(const ConnectionString& connection,
                                             const std::string& currentCompanyFolder) {
    namespace fs = std::filesystem;
    const std::string source(Trim(connection.Get("Data Source")));
    const bool inCompany = source.empty() || source == ".";
    if (!inCompany && source.front() != '/' && source.front() != '.') return std::nullopt;

    fs::path folder;
    if (source.empty() || source.front() != '/') {
        if (currentCompanyFolder.empty())
            throw DbError("no current company folder to resolve the data source in");
        folder = fs::path(currentCompanyFolder);
        if (!inCompany) folder /= source;
    } else {
        folder = source;
    }

    const std::string catalog(Trim(connection.Get("Initial Catalog")));
    if (catalog.empty() || catalog == ".") throw DbError("connection string names no Initial Catalog");
    if (catalog.find_first_of("/\\") != std::string::npos || catalog.find("..") != std::string::npos)
        throw DbError("Initial Catalog must be a plain file name: " + catalog);
    fs::path file(catalog);
    if (!file.has_extension()) file += ".db";
    const fs::path path = (folder / file).lexically_normal();
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(path, ec))) return path.string();
    const fs::path real = fs::canonical(path, ec);
    const fs::path realFolder = ec ? fs::path() : fs::canonical(folder, ec);
    if (ec || real.parent_path() != realFolder)
        throw DbError("Initial Catalog " + catalog + " leads out of its folder");
    return real.string();
}

std::string RedactSecrets(std::string_view text) {
    std::string out;
    size_t i = 0;
    const size_t n = text.size();
    auto keyAt = [&](size_t at, std::string_view key) {
        if (at + key.size() > n || (at > 0 && (std::isalnum(static_cast<unsigned char>(text[at - 1])) || text[at - 1] == '_')))
            return false;
        for (size_t k = 0; k < key.size(); ++k)
            if (Lower(text[at + k]) != key[k]) return false;
        return true;
    };
    while (i < n) {
        // A password key: its value, quoted or not, is masked.
        size_t keyLength = keyAt(i, "password") ? 8 : keyAt(i, "pwd") ? 3 : 0;
        if (keyLength) {
            size_t j = i + keyLength;
            while (j < n && IsBlank(text[j])) ++j;
            if (j < n && text[j] == '=') {
                ++j;
                while (j < n && IsBlank(text[j])) ++j;
                out.append(text.substr(i, j - i));
                if (j < n && (text[j] == '\'' || text[j] == '"')) {
                    const char quote = text[j++];
                    while (j < n && text[j] != quote) j += text[j] == '\\' && j + 1 < n ? 2 : 1;
                    j = std::min(n, j + 1);
                } else {
                    while (j < n && !IsBlank(text[j]) && text[j] != ';' && text[j] != '&') ++j;
                }
                out += "***";
                i = j;
                continue;
            }
        }
        // A URI's "user:password@": whatever lies between the user and the last '@' before the
        // host, blanks, slashes and '@' included, since a malformed address may hold any of them.
        if (text.substr(i, 3) == "://") {
            if (const auto secret = UriSecret(text.substr(i + 3))) {
                out.append("://").append(text.substr(i + 3, secret->first)).append("***");
                i += 3 + secret->first + secret->second;
                continue;
            }
        }
        out += text[i++];
    }
    return out;
}

std::optional<std::pair<size_t, size_t>> UriSecret(std::string_view afterScheme) {
    // The address ends with its line, a quote or the next address.
    size_t end = afterScheme.find_first_of("\n\r\"");
    end = std::min(end == std::string_view::npos ? afterScheme.size() : end, afterScheme.find("://"));
    const std::string_view address = afterScheme.substr(0, end);
    const size_t at = address.rfind('@');
    if (at == std::string_view::npos) return std::nullopt;
    // The user name ends at the first ':' or '@'; a password, if any, follows.
    size_t user = address.find_first_of(":@");
    if (user == at) return std::nullopt;  // "user@host": no password
    if (address[user] == ':') ++user;
    return std::make_pair(user, at - user);
}

std::string RedactSecrets(std::string_view text, std::string_view address) {
    std::string out = RedactSecrets(text);
    const size_t scheme = address.find("://");
    const auto secret = scheme == std::string_view::npos ? std::nullopt : UriSecret(address.substr(scheme + 3));
    if (!secret || secret->second == 0) return out;
    const std::string password(address.substr(scheme + 3 + secret->first, secret->second));
    // The database's own message quotes the pieces its parser cut the address into
    // ("SECRETPART@host", a port "SE"): a quoted text that holds a piece of the password goes.
    std::string masked;
    for (size_t i = 0; i < out.size();) {
        const size_t open = out.find('"', i);
        const size_t close = open == std::string::npos ? std::string::npos : out.find('"', open + 1);
        if (close == std::string::npos) {
            masked.append(out, i, std::string::npos);
            break;
        }
        masked.append(out, i, open + 1 - i);
        const std::string quoted = out.substr(open + 1, close - open - 1);
        const size_t hostAt = quoted.rfind('@');
        const std::string before = quoted.substr(0, hostAt == std::string::npos ? quoted.size() : hostAt);
        const bool holds = !before.empty() && (password.find(before) != std::string::npos ||
                                               before.find(password) != std::string::npos);
        masked += holds ? "***" + (hostAt == std::string::npos ? std::string() : quoted.substr(hostAt)) : quoted;
        masked += '"';
        i = close + 1;
    }
    // And the password itself, or a long piece of it, wherever else it stands.
    auto replaceAll = [&](const std::string& piece) {
        for (size_t at = masked.find(piece); !piece.empty() && at != std::string::npos; at = masked.find(piece, at + 3))
            masked.replace(at, piece.size(), "***");
    };
    replaceAll(password);
    size_t start = 0;
    for (size_t k = 0; k <= password.size(); ++k)
        if (k == password.size() || std::string_view("@/:;?# ").find(password[k]) != std::string_view::npos) {
            if (k - start >= 4) replaceAll(password.substr(start, k - start));
            start = k + 1;
        }
    return masked;
}

}  // namespace plv::db
