#pragma once

#include <cstdint>
#include <memory>
#include <utility>

#include "program/exception.h"

// A singly linked chain with a stored element count. Positions are 0-based and counted from the
// first node; every positional operation walks the chain from there. Elements are stored as they
// are passed in: a list of pointers never destroys what they point at.
template <typename T>
class List {
public:
    List() = default;
    // Released node by node: letting the first node's owner free the rest would recurse once per
    // node and overflow the stack on a long list.
    ~List() { clear(); }

    List(const List&) = delete;
    List& operator=(const List&) = delete;
    List(List&& other) noexcept : head_(std::move(other.head_)), count_(std::exchange(other.count_, 0)) {}
    List& operator=(List&& other) noexcept {
        if (this != &other) {
            clear();
            head_ = std::move(other.head_);
            count_ = std::exchange(other.count_, 0);
        }
        return *this;
    }

    void prepend(T item) {
        head_ = std::make_unique<Link>(std::move(item), std::move(head_));
        ++count_;
    }

    void append(T item) {
        auto link = std::make_unique<Link>(std::move(item), nullptr);
        if (!head_) {
            head_ = std::move(link);
        } else {
            nodeAt(count_ - 1)->setNext(std::move(link));
        }
        ++count_;
    }

    void insert(T item, std::uint32_t position) {
        if (position > count_) {
            throw Exception("Insertion is beyond end of list.");
        }
        if (position == 0) {
            prepend(std::move(item));
            return;
        }
        // The node is made before the chain is cut, so that a failed allocation leaves it whole.
        auto link = std::make_unique<Link>(std::move(item), nullptr);
        Link* before = nodeAt(position - 1);
        link->setNext(before->takeNext());
        before->setNext(std::move(link));
        ++count_;
    }

    T get(std::uint32_t position) const {
        if (position >= count_) {
            throw Exception("The element specified is out of bounds.");
        }
        return nodeAt(position)->data();
    }

    T take(std::uint32_t position) {
        if (position == 0) {
            return pop();
        }
        if (position >= count_) {
            throw Exception("Can't get elements beyond end of list.");
        }
        std::unique_ptr<Link> taken = unlinkAfter(nodeAt(position - 1));
        return std::move(taken->data());
    }

    void remove(std::uint32_t position) {
        if (position >= count_) {
            throw Exception("Can't remove elements beyond end of list.");
        }
        if (position == 0) {
            head_ = head_->takeNext();
            --count_;
        } else {
            unlinkAfter(nodeAt(position - 1));
        }
    }

    T pop() {
        if (!head_) {
            throw Exception("Can't pop from an empty list.");
        }
        std::unique_ptr<Link> taken = std::move(head_);
        head_ = taken->takeNext();
        --count_;
        return std::move(taken->data());
    }

    void clear() {
        while (head_) {
            head_ = head_->takeNext();
        }
        count_ = 0;
    }

    void reverse() {
        std::unique_ptr<Link> reversed;
        while (head_) {
            std::unique_ptr<Link> rest = head_->takeNext();
            head_->setNext(std::move(reversed));
            reversed = std::move(head_);
            head_ = std::move(rest);
        }
        head_ = std::move(reversed);
    }

    bool isEmpty() const { return !head_; }
    std::uint32_t length() const { return count_; }

private:
    class Link {
    public:
        Link(T data, std::unique_ptr<Link> next) : data_(std::move(data)), next_(std::move(next)) {}

        Link* next() const { return next_.get(); }
        void setNext(std::unique_ptr<Link> next) { next_ = std::move(next); }
        // Detaches the rest of the chain from this node and hands it to the caller.
        std::unique_ptr<Link> takeNext() { return std::move(next_); }
        T& data() { return data_; }
        const T& data() const { return data_; }

    private:
        T data_;
        std::unique_ptr<Link> next_;
    };

    // Callers have checked that position < count_.
    Link* nodeAt(std::uint32_t position) const {
        Link* link = head_.get();
        for (std::uint32_t step = 0; step < position; ++step) {
            link = link->next();
        }
        return link;
    }

    std::unique_ptr<Link> unlinkAfter(Link* before) {
        std::unique_ptr<Link> taken = before->takeNext();
        before->setNext(taken->takeNext());
        --count_;
        return taken;
    }

    std::unique_ptr<Link> head_;
    std::uint32_t count_ = 0;
};
