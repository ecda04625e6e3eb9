#include "ui/png_image.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string_view>

namespace {

// Thrown inside the decoder only; the public functions turn it into "nothing".
struct Damaged {};

class BitReader {
public:
    BitReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    unsigned Bits(int count) {
        unsigned value = 0;
        for (int i = 0; i < count; ++i) value |= Bit() << i;
        return value;
    }
    unsigned Bit() {
        if (position_ >= size_ * 8) throw Damaged{};
        const unsigned bit = (data_[position_ / 8] >> (position_ % 8)) & 1u;
        ++position_;
        return bit;
    }
    void AlignToByte() { position_ = (position_ + 7) / 8 * 8; }
    std::uint8_t Byte() {
        if (position_ % 8 != 0 || position_ / 8 >= size_) throw Damaged{};
        const std::uint8_t byte = data_[position_ / 8];
        position_ += 8;
        return byte;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

// A canonical Huffman code, decoded a bit at a time: the pictures are small.
class Huffman {
public:
    explicit Huffman(const std::vector<std::uint8_t>& lengths) {
        for (std::uint8_t length : lengths) ++counts_[length];
        counts_[0] = 0;
        std::array<int, 16> offsets{};
        for (int length = 1; length < 16; ++length) offsets[length] = offsets[length - 1] + counts_[length - 1];
        symbols_.resize(lengths.size());
        for (std::size_t symbol = 0; symbol < lengths.size(); ++symbol)
            if (lengths[symbol] != 0) symbols_[offsets[lengths[symbol]]++] = static_cast<int>(symbol);
    }

    int Decode(BitReader& bits) const {
        int code = 0, first = 0, index = 0;
        for (int length = 1; length < 16; ++length) {
            code |= static_cast<int>(bits.Bit());
            const int count = counts_[length];
            if (code - first < count) return symbols_[index + code - first];
            index += count;
            first = (first + count) << 1;
            code <<= 1;
        }
        throw Damaged{};
    }

private:
    std::array<int, 16> counts_{};
    std::vector<int> symbols_;
};

constexpr std::array<int, 29> kLengthBase{3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15, 17, 19, 23, 27, 31,
                                          35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> kLengthExtra{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                           2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<int, 30> kDistanceBase{1, 2, 3, 4, 5, 7, 9, 13, 17, 25, 33, 49, 65, 97, 129,
                                            193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<int, 30> kDistanceExtra{0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6,
                                             6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void InflateBlock(BitReader& bits, const Huffman& literals, const Huffman& distances, std::vector<std::uint8_t>& out) {
    for (;;) {
        const int symbol = literals.Decode(bits);
        if (symbol < 256) {
            out.push_back(static_cast<std::uint8_t>(symbol));
        } else if (symbol == 256) {
            return;
        } else {
            const int length_code = symbol - 257;
            if (length_code >= 29) throw Damaged{};
            const int length = kLengthBase[length_code] + static_cast<int>(bits.Bits(kLengthExtra[length_code]));
            const int distance_code = distances.Decode(bits);
            if (distance_code >= 30) throw Damaged{};
            const std::size_t distance = kDistanceBase[distance_code] + bits.Bits(kDistanceExtra[distance_code]);
            if (distance > out.size()) throw Damaged{};
            for (int i = 0; i < length; ++i) out.push_back(out[out.size() - distance]);
        }
    }
}

void ReadDynamicCodes(BitReader& bits, std::vector<std::uint8_t>& literal_lengths, std::vector<std::uint8_t>& distance_lengths) {
    const unsigned literal_count = bits.Bits(5) + 257, distance_count = bits.Bits(5) + 1, code_count = bits.Bits(4) + 4;
    static constexpr std::array<int, 19> kOrder{16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
    std::vector<std::uint8_t> code_lengths(19, 0);
    for (unsigned i = 0; i < code_count; ++i) code_lengths[kOrder[i]] = static_cast<std::uint8_t>(bits.Bits(3));
    const Huffman code_code(code_lengths);
    std::vector<std::uint8_t> lengths;
    while (lengths.size() < literal_count + distance_count) {
        const int symbol = code_code.Decode(bits);
        if (symbol < 16) {
            lengths.push_back(static_cast<std::uint8_t>(symbol));
            continue;
        }
        std::uint8_t repeated = 0;
        unsigned times = 0;
        if (symbol == 16) {
            if (lengths.empty()) throw Damaged{};
            repeated = lengths.back();
            times = 3 + bits.Bits(2);
        } else {
            times = symbol == 17 ? 3 + bits.Bits(3) : 11 + bits.Bits(7);
        }
        lengths.insert(lengths.end(), times, repeated);
    }
    if (lengths.size() != literal_count + distance_count) throw Damaged{};
    literal_lengths.assign(lengths.begin(), lengths.begin() + literal_count);
    distance_lengths.assign(lengths.begin() + literal_count, lengths.end());
}

std::vector<std::uint8_t> Inflate(const std::uint8_t* data, std::size_t size) {
    BitReader bits(data, size);
    std::vector<std::uint8_t> out;
    bool last = false;
    while (!last) {
        last = bits.Bit() != 0;
        const unsigned type = bits.Bits(2);
        if (type == 0) {
            bits.AlignToByte();
            const unsigned length = bits.Byte() | bits.Byte() << 8;
            const unsigned complement = bits.Byte() | bits.Byte() << 8;
            if ((length ^ 0xFFFFu) != complement) throw Damaged{};
            for (unsigned i = 0; i < length; ++i) out.push_back(bits.Byte());
        } else if (type == 1) {
            std::vector<std::uint8_t> literal_lengths(288, 8), distance_lengths(30, 5);
            std::fill(literal_lengths.begin() + 144, literal_lengths.begin() + 256, 9);
            std::fill(literal_lengths.begin() + 256, literal_lengths.begin() + 280, 7);
            InflateBlock(bits, Huffman(literal_lengths), Huffman(distance_lengths), out);
        } else if (type == 2) {
            std::vector<std::uint8_t> literal_lengths, distance_lengths;
            ReadDynamicCodes(bits, literal_lengths, distance_lengths);
            InflateBlock(bits, Huffman(literal_lengths), Huffman(distance_lengths), out);
        } else {
            throw Damaged{};
        }
    }
    return out;
}

std::uint32_t BigEndian(const std::uint8_t* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

std::uint8_t Paeth(int left, int up, int up_left) {
    const int estimate = left + up - up_left;
    const int to_left = std::abs(estimate - left), to_up = std::abs(estimate - up), to_up_left = std::abs(estimate - up_left);
    if (to_left <= to_up && to_left <= to_up_left) return static_cast<std::uint8_t>(left);
    return static_cast<std::uint8_t>(to_up <= to_up_left ? up : up_left);
}

// Undoes each row's filter in place; `rows` holds a filter byte before each row.
void Unfilter(std::vector<std::uint8_t>& rows, std::size_t stride, int height, int pixel_bytes) {
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = &rows[y * (stride + 1) + 1];
        const std::uint8_t* above = y > 0 ? row - (stride + 1) : nullptr;
        const std::uint8_t filter = row[-1];
        for (std::size_t x = 0; x < stride; ++x) {
            const int left = x >= static_cast<std::size_t>(pixel_bytes) ? row[x - pixel_bytes] : 0;
            const int up = above ? above[x] : 0;
            const int up_left = above && x >= static_cast<std::size_t>(pixel_bytes) ? above[x - pixel_bytes] : 0;
            switch (filter) {
                case 0: break;
                case 1: row[x] = static_cast<std::uint8_t>(row[x] + left); break;
                case 2: row[x] = static_cast<std::uint8_t>(row[x] + up); break;
                case 3: row[x] = static_cast<std::uint8_t>(row[x] + (left + up) / 2); break;
                case 4: row[x] = static_cast<std::uint8_t>(row[x] + Paeth(left, up, up_left)); break;
                default: throw Damaged{};
            }
        }
    }
}

PngImage Decode(const std::vector<std::uint8_t>& png) {
    static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (png.size() < 8 || !std::equal(kSignature, kSignature + 8, png.begin())) throw Damaged{};
    PngImage image;
    int pixel_bytes = 0;
    std::vector<std::uint8_t> compressed;
    for (std::size_t at = 8;;) {
        if (at + 12 > png.size()) throw Damaged{};
        const std::uint32_t length = BigEndian(&png[at]);
        if (length > png.size() - at - 12) throw Damaged{};
        const std::string_view type(reinterpret_cast<const char*>(&png[at + 4]), 4);
        const std::uint8_t* data = &png[at + 8];
        if (type == "IHDR") {
            if (length < 13) throw Damaged{};
            const std::uint32_t width = BigEndian(data), height = BigEndian(data + 4);
            const std::uint8_t depth = data[8], colour = data[9], interlace = data[12];
            if (width == 0 || height == 0 || width > 16384 || height > 16384 || depth != 8 ||
                (colour != 2 && colour != 6) || interlace != 0)
                throw Damaged{};
            image.width = static_cast<int>(width);
            image.height = static_cast<int>(height);
            pixel_bytes = colour == 6 ? 4 : 3;
        } else if (type == "IDAT") {
            compressed.insert(compressed.end(), data, data + length);
        } else if (type == "IEND") {
            break;
        }
        at += 12 + length;
    }
    // zlib: compression method 8 with a checked header and no preset dictionary.
    if (pixel_bytes == 0 || compressed.size() < 2 || (compressed[0] & 0x0F) != 8 ||
        (compressed[0] << 8 | compressed[1]) % 31 != 0 || (compressed[1] & 0x20))
        throw Damaged{};
    std::vector<std::uint8_t> rows = Inflate(compressed.data() + 2, compressed.size() - 2);
    const std::size_t stride = static_cast<std::size_t>(image.width) * pixel_bytes;
    if (rows.size() < (stride + 1) * image.height) throw Damaged{};
    Unfilter(rows, stride, image.height, pixel_bytes);

    image.bgra.resize(static_cast<std::size_t>(image.width) * image.height * 4);
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* source = &rows[y * (stride + 1) + 1];
        std::uint8_t* target = &image.bgra[static_cast<std::size_t>(y) * image.width * 4];
        for (int x = 0; x < image.width; ++x, source += pixel_bytes, target += 4) {
            const unsigned alpha = pixel_bytes == 4 ? source[3] : 255;
            for (int channel = 0; channel < 3; ++channel)
                target[2 - channel] = static_cast<std::uint8_t>((source[channel] * alpha + 127) / 255);
            target[3] = static_cast<std::uint8_t>(alpha);
        }
    }
    return image;
}

}  // namespace

std::optional<PngImage> DecodePngImage(const std::vector<std::uint8_t>& png) {
    try {
        return Decode(png);
    } catch (const Damaged&) {
        return std::nullopt;
    }
}
