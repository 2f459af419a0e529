#pragma once

#include "host/CommandLine.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

/// The host's growable array with 0-based int indices. A bad insert or remove position
/// prints the host's message on the command line and changes nothing.
template <typename T> class Kdr_Array
{
public:
    Kdr_Array() = default;
    Kdr_Array(std::initializer_list<T> items) : items_(items) {}
    explicit Kdr_Array(std::vector<T> items) : items_(std::move(items)) {}
    virtual ~Kdr_Array() = default;
    Kdr_Array(const Kdr_Array&) = default;
    Kdr_Array& operator=(const Kdr_Array&) = default;
    Kdr_Array(Kdr_Array&&) noexcept = default;
    Kdr_Array& operator=(Kdr_Array&&) noexcept = default;

    int length() const { return static_cast<int>(items_.size()); }
    int logicalLength() const { return length(); }
    bool isEmpty() const { return items_.empty(); }
    bool validIndex(int index) const { return index >= 0 && index < length(); }

    T& operator[](int index) { return items_[static_cast<size_t>(index)]; }
    const T& operator[](int index) const { return items_[static_cast<size_t>(index)]; }
    T& at(int index) { return items_.at(static_cast<size_t>(index)); }
    const T& at(int index) const { return items_.at(static_cast<size_t>(index)); }
    T& first() { return items_.front(); }
    T& last() { return items_.back(); }
    const T& first() const { return items_.front(); }
    const T& last() const { return items_.back(); }

    Kdr_Array& append(const T& item)
    {
        items_.push_back(item);
        return *this;
    }
    Kdr_Array& append(const Kdr_Array& other)
    {
        items_.insert(items_.end(), other.items_.begin(), other.items_.end());
        return *this;
    }
    /// Inserts before `index`; `index` == length() appends.
    bool insertAt(int index, const T& item)
    {
        if (index < 0 || index > length())
        {
            acutPrintf("*Error* Invalid index passed to insert.\n");
            return false;
        }
        items_.insert(items_.begin() + index, item);
        return true;
    }
    bool removeAt(int index)
    {
        if (!validIndex(index))
        {
            acutPrintf("*Error* Invalid index passed to remove.\n");
            return false;
        }
        items_.erase(items_.begin() + index);
        return true;
    }
    void removeLast()
    {
        if (!items_.empty())
            items_.pop_back();
    }
    void setLogicalLength(int n) { items_.resize(static_cast<size_t>(std::max(n, 0))); }
    void setLength(int n) { setLogicalLength(n); }
    void removeAll() { items_.clear(); }
    void clear() { items_.clear(); }

    /// Index of the first element equal to `item`, or -1.
    int find(const T& item) const
    {
        auto it = std::find(items_.begin(), items_.end(), item);
        return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
    }
    bool find(const T& item, int& index) const
    {
        index = find(item);
        return index >= 0;
    }
    bool contains(const T& item) const { return find(item) >= 0; }
    void sort() { std::sort(items_.begin(), items_.end()); }

    bool operator==(const Kdr_Array& other) const { return items_ == other.items_; }

    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }
    std::vector<T>& vector() { return items_; }
    const std::vector<T>& vector() const { return items_; }

private:
    std::vector<T> items_;
};

/// AutoCAD's array: the same contract.
template <typename T> using AcArray = Kdr_Array<T>;
