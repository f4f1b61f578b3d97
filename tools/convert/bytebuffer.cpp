#include "bytebuffer.h"

#include <sys/mman.h>

#include <algorithm>
#include <new>
#include <utility>

ByteBuffer::~ByteBuffer() {
    if (data_ != nullptr) {
        ::munmap(data_, capacity_);
    }
}

ByteBuffer::ByteBuffer(ByteBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)) {}

void ByteBuffer::reserve(std::size_t capacity) {
    if (capacity <= capacity_) {
        return;
    }
    constexpr std::size_t largePage = std::size_t{2} << 20;
    capacity = (std::max(capacity, capacity_ * 2) + largePage - 1) / largePage * largePage;
    void* grown = data_ == nullptr
                    ? ::mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0)
                    : ::mremap(data_, capacity_, capacity, MREMAP_MAYMOVE);
    if (grown == MAP_FAILED) {
        throw std::bad_alloc();
    }
    ::madvise(grown, capacity, MADV_HUGEPAGE);
    data_ = static_cast<char*>(grown);
    capacity_ = capacity;
}
