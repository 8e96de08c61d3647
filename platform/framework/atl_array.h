// CAtlArray: the template library's growable array, over std::vector.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

template <class E>
class CAtlArray {
  public:
    using INARGTYPE = const E&;

    size_t GetCount() const { return m_items.size(); }
    bool IsEmpty() const { return m_items.empty(); }

    // Returns the index of the new element; throws std::bad_alloc like the container does.
    size_t Add(INARGTYPE element) {
        m_items.push_back(element);
        return m_items.size() - 1;
    }
    size_t Add() {
        m_items.emplace_back();
        return m_items.size() - 1;
    }
    bool SetCount(size_t count) {
        m_items.resize(count);
        return true;
    }
    void RemoveAt(size_t index, size_t count = 1) {
        if (index >= m_items.size()) return;
        const size_t end = count > m_items.size() - index ? m_items.size() : index + count;
        m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(index),
                      m_items.begin() + static_cast<std::ptrdiff_t>(end));
    }
    void RemoveAll() { m_items.clear(); }

    E& GetAt(size_t index) { return m_items.at(index); }
    const E& GetAt(size_t index) const { return m_items.at(index); }
    void SetAt(size_t index, INARGTYPE element) { m_items.at(index) = element; }
    E& operator[](size_t index) { return m_items[index]; }
    const E& operator[](size_t index) const { return m_items[index]; }
    E* GetData() { return m_items.data(); }
    const E* GetData() const { return m_items.data(); }

  private:
    std::vector<E> m_items;
};
