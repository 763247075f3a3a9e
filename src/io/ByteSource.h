#pragma once
// Bytes of a file, or of memory, read at any offset and never past their end.

#include <cstdint>
#include <span>
#include <string>

namespace stipple {

class ByteSource {
  public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t size() const = 0;
    // Fills `into` with the bytes from `offset` on. False when they are not all there or
    // cannot be read; `into` then holds nothing meaningful.
    virtual bool read(std::uint64_t offset, std::span<std::uint8_t> into) = 0;
    // After a read within the size failed: the message that names the source and says why.
    virtual std::string readFailure() const { return {}; }
};

// Bytes held in memory, which must outlive it.
class MemoryBytes final : public ByteSource {
  public:
    explicit MemoryBytes(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::uint64_t size() const override { return bytes_.size(); }
    bool read(std::uint64_t offset, std::span<std::uint8_t> into) override;

  private:
    std::span<const std::uint8_t> bytes_;
};

}  // namespace stipple
