#include "png_pixels.h"

#include <cstdlib>
#include <cstring>

namespace {

struct Bits {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;  // in bits
    bool damaged = false;

    unsigned Bit() {
        if (at >= size * 8) {
            damaged = true;
            return 0;
        }
        const unsigned bit = (data[at / 8] >> (at % 8)) & 1u;
        ++at;
        return bit;
    }
    unsigned Take(int count) {
        unsigned value = 0;
        for (int i = 0; i < count; ++i) value |= Bit() << i;
        return value;
    }
};

// A canonical Huffman code from its code lengths, decoded a bit at a time.
struct Huffman {
    int counts[16] = {};
    std::vector<int> symbols;

    Huffman(const std::uint8_t* lengths, int n) : symbols(n) {
        for (int s = 0; s < n; ++s) ++counts[lengths[s]];
        counts[0] = 0;
        int offsets[16] = {};
        for (int l = 1; l < 16; ++l) offsets[l] = offsets[l - 1] + counts[l - 1];
        for (int s = 0; s < n; ++s)
            if (lengths[s]) symbols[offsets[lengths[s]]++] = s;
    }
    int Decode(Bits& bits) const {
        int code = 0, first = 0, index = 0;
        for (int l = 1; l < 16; ++l) {
            code |= static_cast<int>(bits.Bit());
            if (code - first < counts[l]) return symbols[index + code - first];
            index += counts[l];
            first = (first + counts[l]) << 1;
            code <<= 1;
        }
        bits.damaged = true;
        return 256;
    }
};

const int kLengthBase[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                           31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
const int kLengthExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
const int kDistanceBase[] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
                             193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
const int kDistanceExtra[] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                              6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void InflateBlock(Bits& bits, const Huffman& literals, const Huffman& distances, std::vector<std::uint8_t>& out) {
    while (!bits.damaged) {
        const int symbol = literals.Decode(bits);
        if (symbol < 256) {
            out.push_back(static_cast<std::uint8_t>(symbol));
            continue;
        }
        if (symbol == 256 || symbol > 285) return;
        const int length = kLengthBase[symbol - 257] + static_cast<int>(bits.Take(kLengthExtra[symbol - 257]));
        const int code = distances.Decode(bits);
        if (code >= 30) break;
        const std::size_t distance = kDistanceBase[code] + bits.Take(kDistanceExtra[code]);
        if (distance > out.size()) break;
        for (int i = 0; i < length; ++i) out.push_back(out[out.size() - distance]);
    }
    bits.damaged = true;
}

std::vector<std::uint8_t> Inflate(Bits& bits) {
    std::vector<std::uint8_t> out;
    for (bool last = false; !last && !bits.damaged;) {
        last = bits.Bit() != 0;
        const unsigned type = bits.Take(2);
        std::uint8_t lengths[320] = {};
        if (type == 0) {
            bits.at = (bits.at + 7) / 8 * 8;
            const unsigned length = bits.Take(16);
            bits.Take(16);
            for (unsigned i = 0; i < length; ++i) out.push_back(static_cast<std::uint8_t>(bits.Take(8)));
        } else if (type == 1) {
            for (int s = 0; s < 288; ++s) lengths[s] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
            for (int s = 0; s < 30; ++s) lengths[288 + s] = 5;
            InflateBlock(bits, Huffman(lengths, 288), Huffman(lengths + 288, 30), out);
        } else if (type == 2) {
            const int literal_count = static_cast<int>(bits.Take(5)) + 257,
                      distance_count = static_cast<int>(bits.Take(5)) + 1;
            const int code_count = static_cast<int>(bits.Take(4)) + 4;
            static const int kOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
            std::uint8_t code_lengths[19] = {};
            for (int i = 0; i < code_count; ++i) code_lengths[kOrder[i]] = static_cast<std::uint8_t>(bits.Take(3));
            const Huffman code_code(code_lengths, 19);
            for (int n = 0; n < literal_count + distance_count && !bits.damaged;) {
                const int symbol = code_code.Decode(bits);
                if (symbol < 16) {
                    lengths[n++] = static_cast<std::uint8_t>(symbol);
                    continue;
                }
                const std::uint8_t repeated = symbol == 16 && n > 0 ? lengths[n - 1] : 0;
                int times = symbol == 16 ? 3 + bits.Take(2) : symbol == 17 ? 3 + bits.Take(3) : 11 + bits.Take(7);
                if (n + times > literal_count + distance_count) bits.damaged = true;
                while (times-- > 0 && n < 320) lengths[n++] = repeated;
            }
            InflateBlock(bits, Huffman(lengths, literal_count), Huffman(lengths + literal_count, distance_count), out);
        } else {
            bits.damaged = true;
        }
    }
    return out;
}

std::uint32_t BigEndian(const std::uint8_t* p) { return std::uint32_t{p[0]} << 24 | p[1] << 16 | p[2] << 8 | p[3]; }

int Paeth(int a, int b, int c) {
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

}  // namespace

PngPixels DecodePngPixels(const std::uint8_t* png, std::size_t size) {
    PngPixels pixels;
    int pixel_bytes = 0;
    std::vector<std::uint8_t> compressed;
    for (std::size_t at = 8; at + 12 <= size;) {
        const std::uint32_t length = BigEndian(png + at);
        if (length > size - at - 12) return {};
        const std::uint8_t* data = png + at + 8;
        if (!std::memcmp(png + at + 4, "IHDR", 4)) {
            pixels.width = static_cast<int>(BigEndian(data));
            pixels.height = static_cast<int>(BigEndian(data + 4));
            if (data[8] != 8 || (data[9] != 2 && data[9] != 6) || data[12] != 0) return {};
            pixel_bytes = data[9] == 6 ? 4 : 3;
        } else if (!std::memcmp(png + at + 4, "IDAT", 4)) {
            compressed.insert(compressed.end(), data, data + length);
        }
        at += 12 + length;
    }
    if (pixel_bytes == 0 || compressed.size() < 2) return {};
    Bits bits{compressed.data() + 2, compressed.size() - 2};  // past the zlib header
    std::vector<std::uint8_t> rows = Inflate(bits);
    const std::size_t stride = static_cast<std::size_t>(pixels.width) * pixel_bytes;
    if (bits.damaged || rows.size() < (stride + 1) * pixels.height) return {};

    pixels.bgra.resize(static_cast<std::size_t>(pixels.width) * pixels.height * 4);
    for (int y = 0; y < pixels.height; ++y) {
        std::uint8_t* row = &rows[y * (stride + 1) + 1];
        const std::uint8_t* above = y > 0 ? row - (stride + 1) : nullptr;
        for (std::size_t x = 0; x < stride; ++x) {
            const int a = x >= static_cast<std::size_t>(pixel_bytes) ? row[x - pixel_bytes] : 0;
            const int b = above ? above[x] : 0;
            const int c = above && x >= static_cast<std::size_t>(pixel_bytes) ? above[x - pixel_bytes] : 0;
            const int filtered[] = {0, a, b, (a + b) / 2, Paeth(a, b, c)};
            row[x] = static_cast<std::uint8_t>(row[x] + filtered[row[-1] <= 4 ? row[-1] : 0]);
        }
        std::uint8_t* target = &pixels.bgra[static_cast<std::size_t>(y) * pixels.width * 4];
        for (int x = 0; x < pixels.width; ++x, target += 4) {
            const std::uint8_t* source = row + x * pixel_bytes;
            const unsigned alpha = pixel_bytes == 4 ? source[3] : 255;
            for (int channel = 0; channel < 3; ++channel)
                target[2 - channel] = static_cast<std::uint8_t>((source[channel] * alpha + 127) / 255);
            target[3] = static_cast<std::uint8_t>(alpha);
        }
    }
    return pixels;
}
