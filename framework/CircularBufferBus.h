#pragma once

#include <cstdint>
#include <memory>

#include "framework/CircularBuffer.h"

namespace Vexlor {

// A resizable set of ports, for blocks whose number of ring buffers is known only
// once their parameters are (one per section of a cascade, for instance).
class CircularBufferBus {
public:
    virtual void Resize(std::uint64_t count) = 0;
    virtual ~CircularBufferBus() = default;
    virtual CircularBufferBase* GetBuffer(std::uint64_t index) = 0;
};

template <class Buffer>
class CircularBufferBusT final : public CircularBufferBus {
public:
    CircularBufferBusT() = default;
    CircularBufferBusT(const CircularBufferBusT&) = delete;
    CircularBufferBusT& operator=(const CircularBufferBusT&) = delete;

    // Resizing to the current count keeps the buffers and whatever storage is attached
    // to them; any other count replaces them all with fresh, storage-less buffers.
    void Resize(std::uint64_t count) override {
        if (count == count_) {
            return;
        }
        buffers_.reset();
        count_ = count;
        if (count != 0) {
            buffers_ = std::make_unique<Buffer[]>(count);
        }
    }

    // No bounds check: index must be below Count().
    Buffer* GetBuffer(std::uint64_t index) override { return &buffers_[index]; }

    std::uint64_t Count() const { return count_; }

private:
    std::uint64_t count_ = 0;
    std::unique_ptr<Buffer[]> buffers_;
};

}  // namespace Vexlor
