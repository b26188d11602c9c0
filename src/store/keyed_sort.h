#pragma once

#include <algorithm>
#include <memory>
#include <numeric>
#include <type_traits>
#include <vector>

namespace store {

// Puts the records in the order of their keys, equal keys keeping their order.
// Each key is made once per record rather than in every comparison, where
// reading a record's numbers was most of a sort's time. A list already in
// order, as one read from its own file nearly always is, is only checked.
template <class T, class MakeKey> void sortByKeys(std::vector<std::unique_ptr<T>>& records, MakeKey makeKey) {
    using Key = std::invoke_result_t<MakeKey&, const T&>;
    std::vector<Key> keys;
    keys.reserve(records.size());
    for (const auto& record : records)
        keys.push_back(makeKey(*record));
    if (std::is_sorted(keys.begin(), keys.end()))
        return;
    std::vector<size_t> order(records.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [&keys](size_t a, size_t b) { return keys[a] < keys[b]; });
    std::vector<std::unique_ptr<T>> sorted;
    sorted.reserve(records.size());
    for (const size_t from : order)
        sorted.push_back(std::move(records[from]));
    records = std::move(sorted);
}

} // namespace store
