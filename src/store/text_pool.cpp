#include "store/text_pool.h"

namespace store {

namespace {

// Longer texts are notes and descriptions, which rarely repeat.
constexpr size_t kLongestShared = 48;
// Enough for every distinct short text of years of use; past it a ledger's
// texts are mostly unique and sharing would only cost lookups.
constexpr size_t kMostTexts = 1 << 16;

} // namespace

QString TextPool::text(std::string_view utf8) {
    if (utf8.size() > kLongestShared)
        return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
    const auto found = m_texts.find(utf8);
    if (found != m_texts.end())
        return found->second;
    QString converted = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
    if (m_texts.size() < kMostTexts)
        m_texts.emplace(std::string(utf8), converted);
    return converted;
}

} // namespace store
