#pragma once

#include <cstdint>
#include <optional>

namespace fractalux {

// One output pixel layout named by its Direct3D format code: its size, the bits of each colour
// channel, and the bit positions of the three colour roles. Turns buffer values into pixel words.
class PixelFormat {
public:
    // The layout of a format code, or nothing for a code outside the accepted ones.
    static std::optional<PixelFormat> FromCode(int32_t code);

    int32_t BytesPerPixel() const { return bytesPerPixel_; }
    int32_t ChannelBits() const { return channelBits_; }
    int32_t FirstShift() const { return firstShift_; }
    int32_t SecondShift() const { return secondShift_; }
    int32_t ThirdShift() const { return thirdShift_; }

    // Each role takes the largest, middle or smallest current shift (0, 1, 2); any other
    // value leaves that role where it is.
    void SetColorOrder(int32_t a, int32_t b, int32_t c);

    // The pixel word of buffer value v. Value 0 (not yet computed) is black.
    uint32_t PixelColor(int32_t v, int32_t maxIts, int32_t colorCycles, bool newton) const;

private:
    PixelFormat(int32_t bytesPerPixel, int32_t channelBits, int32_t first, int32_t second,
                int32_t third)
        : bytesPerPixel_(bytesPerPixel), channelBits_(channelBits), firstShift_(first),
          secondShift_(second), thirdShift_(third) {}

    uint32_t Word(uint32_t first, uint32_t second, uint32_t third) const;

    int32_t bytesPerPixel_;
    int32_t channelBits_;
    int32_t firstShift_;
    int32_t secondShift_;
    int32_t thirdShift_;
};

} // namespace fractalux
