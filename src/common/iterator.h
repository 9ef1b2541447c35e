// Heap iterators over the host's containers. An iterator borrows its container,
// which must outlive it and stay unchanged while it is used.
#pragma once

#include <cassert>
#include <map>
#include <utility>
#include <vector>

template <typename T>
class Iterator {
  public:
    virtual bool hasNext() = 0;
    // Requires hasNext(); returns the current item and advances by one.
    virtual T next() = 0;
    virtual ~Iterator() = default;
};

template <typename T>
class VectorIterator : public Iterator<T> {
  public:
    explicit VectorIterator(const std::vector<T>& items)
        : current(items.begin()), end(items.end()) {}

    bool hasNext() override { return current != end; }
    T next() override {
        assert(hasNext());
        return *current++;
    }

  private:
    typename std::vector<T>::const_iterator current;
    typename std::vector<T>::const_iterator end;
};

template <typename K, typename V, typename Map = std::map<K, V>>
class MapIterator : public Iterator<std::pair<K, V>> {
  public:
    explicit MapIterator(const Map& items) : current(items.begin()), end(items.end()) {}

    bool hasNext() override { return current != end; }
    std::pair<K, V> next() override {
        assert(hasNext());
        return *current++;
    }

  private:
    typename Map::const_iterator current;
    typename Map::const_iterator end;
};
