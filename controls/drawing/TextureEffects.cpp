#include "controls/drawing/TextureEffects.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace DrawLib {

namespace {

// Row y from the top, as stored bottom row first; values wrap to a byte.
class Rows {
public:
    Rows(BYTE* bits, DWORD lineWidth, int width, int height)
        : m_bits(bits), m_lineWidth(lineWidth), m_width(width), m_height(height) {}

    BYTE* Row(int y) const { return m_bits + static_cast<std::size_t>(m_height - 1 - y) * m_lineWidth; }
    void Set(int x, int y, int value) const { Row(y)[x] = static_cast<BYTE>(value); }
    void Add(int x, int y, int value) const { Row(y)[x] = static_cast<BYTE>(Row(y)[x] + value); }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }

    template <class Value>
    void Fill(Value value) const {
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                Set(x, y, value(x, y));
    }
    template <class Value>
    void AddEach(Value value) const {
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                Add(x, y, value(x, y));
    }

private:
    BYTE* m_bits;
    DWORD m_lineWidth;
    int m_width;
    int m_height;
};

// About -g to +g: one rand() per call.
class Noise {
public:
    explicit Noise(int granularity) : m_granularity(granularity), m_divisor(32767 / std::max(2 * granularity, 1)) {}
    int operator()() const { return static_cast<BYTE>(std::rand() / m_divisor) - m_granularity; }
    // 0 to 2g, not centred.
    int Raw() const { return std::rand() / m_divisor; }

private:
    int m_granularity;
    int m_divisor;
};

// A random value divided by 32767 / n; the divisor is at least 1, so sides of
// 0 or above 32767 do not divide by zero.
int RandomBelow(int n) { return std::rand() / std::max(32767 / std::max(n, 1), 1); }

int Cube(int t) { return t * t * t / 128 / 128; }

void Metal(const Rows& rows, int width, int height, int g, const Noise& noise) {
    rows.Fill([](int, int) { return 0; });
    for (int scratch = 0; scratch < 200; ++scratch) {
        const int x0 = RandomBelow(width);
        const int y0 = RandomBelow(height);
        const int length = RandomBelow(std::min(width, height)) / 2;
        const int value = std::rand() / 819;
        for (int i = 0; i < length; ++i) {
            if (x0 - i > 0 && y0 + i < height && rows.Inside(x0 - i, y0 + i))
                rows.Set(x0 - i, y0 + i, value);
            if (x0 + i < width && y0 - i > 0 && rows.Inside(width - x0 + i, y0 - i))
                rows.Set(width - x0 + i, y0 - i, value);
        }
    }
    const int m = (255 - 2 * g - 40) / 2;
    rows.AddEach([&](int x, int y) { return m * (width - x) / width + m * y / height + noise.Raw(); });
}

void HardBump(const Rows& rows, int width, int height, int g, const Noise& noise) {
    rows.Fill([&](int, int y) { return 128 + (Cube(255 * y / height - 127) * (2 * (64 - g))) / 128; });
    // A rounded edge on the left and the right. Both divisors are at least 1,
    // so narrow or one-row areas draw like their neighbours.
    const long long r = std::max(std::min(width / 6, 16), 1);
    const long long q = std::max(static_cast<long long>(height) * height / 4, 1LL);
    for (int y = 0; y < height; ++y) {
        const long long yp = y - height / 2;
        const long long limit = yp * r * yp / q + width / 2 - r;
        for (int x = 0; x < width; ++x) {
            const long long xp = x - width / 2;
            if (xp > limit)
                rows.Set(x, y, static_cast<int>(g + 128LL * (width - x) / r));
            if (limit + xp < 0)
                rows.Set(x, y, static_cast<int>((255 - g) - 128LL * x / r));
        }
    }
    rows.AddEach([&](int, int) { return noise(); });
}

}  // namespace

void ComputeTexture(int effect, int width, int height, BYTE granularity, BYTE* bits, DWORD lineWidth) {
    if (!bits || width <= 0 || height <= 0)
        return;
    const Rows rows(bits, lineWidth, width, height);
    const int g = granularity;
    const Noise noise(g);
    const int range = 255 - 2 * g;
    switch (effect) {
    case 7:  // noise
        rows.Fill([&](int, int) { return 128 + noise(); });
        break;
    case 8: {  // diagshade
        const int s = range / 2;
        rows.Fill([&](int x, int y) { return g + s * (width - x) / width + s * y / height + noise(); });
        break;
    }
    case 9:  // hshade
        rows.Fill([&](int, int y) { return g + range * y / height + noise(); });
        break;
    case 10:  // vshade
        rows.Fill([&](int x, int) { return g + range * (width - x) / width + noise(); });
        break;
    case 11:  // hbump
        rows.Fill([&](int, int y) { return 128 + (Cube(255 * y / height - 127) * (128 - g)) / 128 + noise(); });
        break;
    case 12:  // vbump
        rows.Fill([&](int x, int) {
            return 128 + (Cube(255 * (width - x) / width - 127) * (128 - g)) / 128 + noise();
        });
        break;
    case 13:  // softbump
        rows.Fill([&](int x, int y) {
            int v = 128 + ((Cube(255 * (width - x) / width - 127) + Cube(255 * y / height - 127)) * (128 - g)) / 128;
            if (v < g)
                v = g;
            if (v > 255 - g)
                v = 255 - g;
            return v + noise();
        });
        break;
    case 14:
        HardBump(rows, width, height, g, noise);
        break;
    case 15:
        Metal(rows, width, height, g, noise);
        break;
    default:
        break;
    }
}

}  // namespace DrawLib
