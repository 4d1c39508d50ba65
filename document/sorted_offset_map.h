#pragma once

#include <algorithm>
#include <utility>
#include <vector>

namespace dez::trelix {

// An ordered map kept in one vector, for maps that are filled once in key
// order and then only read: appending costs O(1), an entry out of order is
// still inserted at its place. With `Unique` a key is kept once (its first
// value stays); without it entries of equal keys keep their insertion order.
// The lookups are those of std::map and std::multimap.
template <typename Key, typename Value, bool Unique> class SortedOffsetMap {
public:
    using key_type = Key;
    using mapped_type = Value;
    using value_type = std::pair<Key, Value>;
    using const_iterator = typename std::vector<value_type>::const_iterator;
    using iterator = const_iterator;
    using size_type = typename std::vector<value_type>::size_type;

    // The entry inserted, or (unique map) the entry that already held the key,
    // and whether it was inserted.
    std::pair<const_iterator, bool> insert(const value_type& entry) {
        if (entries_.empty() || entries_.back().first < entry.first) {
            entries_.push_back(entry);
            return {std::prev(entries_.cend()), true};
        }
        if constexpr (Unique) {
            auto at = lower_bound(entry.first);
            if (at != end() && at->first == entry.first)
                return {at, false};
            return {entries_.insert(at, entry), true};
        }
        return {entries_.insert(upper_bound(entry.first), entry), true};
    }

    const_iterator begin() const { return entries_.cbegin(); }
    const_iterator end() const { return entries_.cend(); }
    size_type size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    void clear() { entries_.clear(); }
    void reserve(size_type n) { entries_.reserve(n); }

    const_iterator lower_bound(const Key& key) const {
        return std::lower_bound(entries_.cbegin(), entries_.cend(), key,
                                [](const value_type& e, const Key& k) { return e.first < k; });
    }
    const_iterator upper_bound(const Key& key) const {
        return std::upper_bound(entries_.cbegin(), entries_.cend(), key,
                                [](const Key& k, const value_type& e) { return k < e.first; });
    }
    std::pair<const_iterator, const_iterator> equal_range(const Key& key) const {
        return {lower_bound(key), upper_bound(key)};
    }
    // The first entry of the key, or end().
    const_iterator find(const Key& key) const {
        auto at = lower_bound(key);
        return at != end() && at->first == key ? at : end();
    }
    size_type count(const Key& key) const {
        auto range = equal_range(key);
        return static_cast<size_type>(range.second - range.first);
    }

    const std::vector<value_type>& entries() const { return entries_; }

private:
    std::vector<value_type> entries_;
};

} // namespace dez::trelix
