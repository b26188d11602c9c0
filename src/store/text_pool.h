#pragma once

#include <QString>
#include <string>
#include <string_view>
#include <unordered_map>

namespace store {

// A loader meets the same short texts over and over: years, months, amounts,
// weeks, the names of what is bought again and again. The pool hands out one
// shared copy of each, so that a notebook holds their characters once and a
// load converts them once. Long texts and texts met after the pool is full are
// converted as they come.
class TextPool {
public:
    QString text(std::string_view utf8);

private:
    // FNV-1a: the texts are a few bytes long, where it beats the general hash.
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const {
            size_t hash = 14695981039346656037ull;
            for (const char c : s)
                hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
            return hash;
        }
    };
    std::unordered_map<std::string, QString, Hash, std::equal_to<>> m_texts;
};

} // namespace store
