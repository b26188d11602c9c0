#pragma once

#include <memory>
#include <vector>

namespace store {

// What every record list of the notebook is underneath: it owns its items in
// order, and a pointer it hands out stays valid until that item is removed.
// The lists inherit it privately and name the operations they offer, so each
// keeps exactly its own interface.
template <typename T> class OwningList {
public:
    int count() const { return int(m_items.size()); }
    T* at(int i) const { return m_items[size_t(i)].get(); }
    // -1 when the item is not in the list.
    int indexOf(const T* item) const {
        for (size_t i = 0; i < m_items.size(); ++i)
            if (m_items[i].get() == item)
                return int(i);
        return -1;
    }
    T* add() { return append(std::make_unique<T>()); }
    T* append(std::unique_ptr<T> item) {
        m_items.push_back(std::move(item));
        return m_items.back().get();
    }
    T* insert(int index) { return m_items.insert(m_items.begin() + index, std::make_unique<T>())->get(); }
    void remove(int i) { m_items.erase(m_items.begin() + i); }
    // Takes the item out without destroying it.
    std::unique_ptr<T> detach(int i) {
        std::unique_ptr<T> item = std::move(m_items[size_t(i)]);
        m_items.erase(m_items.begin() + i);
        return item;
    }
    void clear() { m_items.clear(); }
    // Copies each item through its own CopyFrom.
    void CopyFrom(const OwningList& other) {
        if (&other == this)
            return;
        clear();
        for (const auto& item : other.m_items)
            add()->CopyFrom(*item);
    }

protected:
    std::vector<std::unique_ptr<T>> m_items;
};

} // namespace store
