#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>

namespace Vexlor {

// A port: a ring of elements in storage that usually belongs to someone else. Two blocks are
// connected by pointing an output port and an input port at the same array.
class CircularBufferBase {
public:
    std::uint64_t Rate = 1;         // elements moved per firing of the owning block
    std::uint64_t MinCapacity = 1;  // the largest Rate ever set
    std::uint64_t ElementSize;      // bytes per element
    std::uint64_t Position = 0;     // index of the current element in Storage
    void* Storage = nullptr;
    std::uint64_t Capacity = 0;  // elements in Storage

    explicit CircularBufferBase(std::uint64_t elementSize) : ElementSize(elementSize) {}
    virtual ~CircularBufferBase();

    // Copies count elements starting srcOffset after Position into dest, starting destOffset
    // after dest's Position; both rings wrap. dest must hold the same element type.
    virtual void CopyTo(std::uint64_t srcOffset, CircularBufferBase& dest, std::uint64_t destOffset,
                        std::uint64_t count) const = 0;
    // Plain copy of count elements between arrays, without ring arithmetic.
    virtual void CopyElements(const void* src, void* dst, std::uint64_t count) const = 0;
    // Sets count elements to zero starting offset after Position. Always true.
    virtual bool Zero(std::uint64_t offset, std::uint64_t count) = 0;
    // Frees storage the port allocated itself and detaches any storage:
    // Storage null, Position 0, Capacity 0.
    virtual void Release() = 0;

    // Sets Rate; MinCapacity only ever grows.
    void SetRate(std::uint64_t rate) {
        Rate = rate;
        MinCapacity = std::max(MinCapacity, rate);
    }
    void* GetStorage() const { return Storage; }
    std::uint64_t GetCapacity() const { return Capacity; }
    std::uint64_t GetRate() const { return Rate; }

    // Index in Storage of the element offset places after Position; offset < Capacity.
    std::uint64_t RingIndex(std::uint64_t offset) const {
        std::uint64_t index = Position + offset;
        return index >= Capacity && offset != 0 ? index - Capacity : index;
    }
};

template <typename T>
class CircularBuffer final : public CircularBufferBase {
public:
    CircularBuffer() : CircularBufferBase(sizeof(T)) {}

    T* Data() const { return static_cast<T*>(Storage); }
    T& Current() const { return Data()[Position]; }
    T& At(std::uint64_t offset) const { return Data()[RingIndex(offset)]; }

    // Points the port at storage owned by someone else, starting at element 0.
    void Attach(T* storage, std::uint64_t capacity) {
        owned_.reset();
        Storage = storage;
        Capacity = capacity;
        Position = 0;
    }
    // Points the port at storage it owns from now on; Release or destruction frees it.
    void Adopt(std::unique_ptr<T[]> storage, std::uint64_t capacity) {
        Attach(storage.get(), capacity);
        owned_ = std::move(storage);
    }
    // A new array of n elements; a size whose byte count overflows throws std::bad_alloc.
    static std::unique_ptr<T[]> Allocate(std::uint64_t n) { return std::make_unique<T[]>(n); }

    void CopyTo(std::uint64_t srcOffset, CircularBufferBase& dest, std::uint64_t destOffset,
                std::uint64_t count) const override;
    void CopyElements(const void* src, void* dst, std::uint64_t count) const override {
        std::copy_n(static_cast<const T*>(src), count, static_cast<T*>(dst));
    }
    bool Zero(std::uint64_t offset, std::uint64_t count) override {
        for (std::uint64_t k = 0; k < count; ++k) At(offset + k) = T{};
        return true;
    }
    void Release() override {
        owned_.reset();
        Storage = nullptr;
        Position = 0;
        Capacity = 0;
    }

private:
    std::unique_ptr<T[]> owned_;
};

template <typename T>
inline void CircularBuffer<T>::CopyTo(std::uint64_t srcOffset, CircularBufferBase& dest,
                                      std::uint64_t destOffset, std::uint64_t count) const {
    std::uint64_t srcIndex = RingIndex(srcOffset);
    std::uint64_t destIndex = dest.RingIndex(destOffset);
    T* destData = static_cast<T*>(dest.Storage);
    if (count == 1) {
        destData[destIndex] = Data()[srcIndex];
        return;
    }
    // Copy in chunks that end where either ring wraps.
    while (count > 0) {
        std::uint64_t chunk = std::min({count, Capacity - srcIndex, dest.Capacity - destIndex});
        std::copy_n(Data() + srcIndex, chunk, destData + destIndex);
        count -= chunk;
        srcIndex += chunk;
        destIndex += chunk;
        if (srcIndex == Capacity) srcIndex = 0;
        if (destIndex == dest.Capacity) destIndex = 0;
    }
}

extern template class CircularBuffer<double>;

}  // namespace Vexlor
