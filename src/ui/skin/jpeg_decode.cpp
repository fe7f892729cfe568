#include "ui/skin/jpeg_decode.h"

#include <array>

namespace t30 {
namespace {

// Bounds that no skin comes near; they keep damaged headers from asking for huge buffers.
constexpr std::uint32_t kMaxPixels = 1u << 24;
constexpr int kMaxComponents = 3;

// Zigzag position -> natural (row-major) position in an 8x8 block.
constexpr std::array<std::uint8_t, 64> kNaturalOrder = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
    41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

struct HuffTable {
    bool defined = false;
    std::array<std::int32_t, 18> maxCode{};  // largest code of each length, -1 for none
    std::array<std::int32_t, 17> valOffset{};
    std::array<std::uint8_t, 256> values{};
};

struct QuantTable {
    bool defined = false;
    std::array<std::int32_t, 64> natural{};
};

struct Component {
    int id = 0;
    int h = 1, v = 1;
    int quantIndex = 0;
    QuantTable quant;  // latched at the component's first scan, as libjpeg does
    bool decoded = false;
    int stride = 0;  // samples per plane row (whole MCUs)
    int rows = 0;
    std::vector<std::uint8_t> plane;
};

class Reader {
  public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Byte(int& out) {
        if (pos_ >= size_) {
            return false;
        }
        out = data_[pos_++];
        return true;
    }
    bool Word(int& out) {
        int hi = 0, lo = 0;
        if (!Byte(hi) || !Byte(lo)) {
            return false;
        }
        out = (hi << 8) | lo;
        return true;
    }
    bool Skip(std::size_t n) {
        if (n > size_ - pos_) {
            return false;
        }
        pos_ += n;
        return true;
    }
    std::size_t Pos() const { return pos_; }
    std::size_t Left() const { return size_ - pos_; }
    const std::uint8_t* At(std::size_t pos) const { return data_ + pos; }
    void Seek(std::size_t pos) { pos_ = pos; }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// Entropy-coded bits of one scan. Stops at any marker: a picture whose codes run into a marker is
// damaged (libjpeg would pad it with zero bits), so it is refused rather than guessed at.
class BitReader {
  public:
    explicit BitReader(Reader& in) : in_(in) {}
    bool Bit(int& bit) {
        if (count_ == 0) {
            if (in_.Left() == 0 || *in_.At(in_.Pos()) != 0xFF) {
                int b = 0;
                if (!in_.Byte(b)) {
                    return false;
                }
                current_ = b;
            } else {
                if (in_.Left() < 2 || *in_.At(in_.Pos() + 1) != 0x00) {
                    return false;  // a marker
                }
                in_.Skip(2);
                current_ = 0xFF;
            }
            count_ = 8;
        }
        --count_;
        bit = (current_ >> count_) & 1;
        return true;
    }
    bool Bits(int n, int& value) {
        value = 0;
        for (int i = 0; i < n; ++i) {
            int bit = 0;
            if (!Bit(bit)) {
                return false;
            }
            value = (value << 1) | bit;
        }
        return true;
    }
    bool Decode(const HuffTable& table, int& symbol) {
        std::int32_t code = 0;
        for (int length = 1; length <= 16; ++length) {
            int bit = 0;
            if (!Bit(bit)) {
                return false;
            }
            code = (code << 1) | bit;
            if (code <= table.maxCode[length]) {
                symbol = table.values[static_cast<std::size_t>(table.valOffset[length] + code)];
                return true;
            }
        }
        return false;
    }
    // The rest of the current byte is padding before a marker.
    void Align() { count_ = 0; }

  private:
    Reader& in_;
    int current_ = 0;
    int count_ = 0;
};

// libjpeg's HUFF_EXTEND: the sign of a magnitude category's extra bits.
int Extend(int value, int bits) {
    return value < (1 << (bits - 1)) ? value - (1 << bits) + 1 : value;
}

// libjpeg's jpeg_idct_islow (jidctint.c): CONST_BITS 13, PASS1_BITS 2.
constexpr int kConstBits = 13;
constexpr int kPass1Bits = 2;
constexpr std::int64_t kFix0_298631336 = 2446;
constexpr std::int64_t kFix0_390180644 = 3196;
constexpr std::int64_t kFix0_541196100 = 4433;
constexpr std::int64_t kFix0_765366865 = 6270;
constexpr std::int64_t kFix0_899976223 = 7373;
constexpr std::int64_t kFix1_175875602 = 9633;
constexpr std::int64_t kFix1_501321110 = 12299;
constexpr std::int64_t kFix1_847759065 = 15137;
constexpr std::int64_t kFix1_961570560 = 16069;
constexpr std::int64_t kFix2_053119869 = 16819;
constexpr std::int64_t kFix2_562915447 = 20995;
constexpr std::int64_t kFix3_072711026 = 25172;

std::int64_t Descale(std::int64_t x, int n) {
    // Arithmetic shift of a possibly negative value, as libjpeg's RIGHT_SHIFT.
    const std::int64_t sum = x + (std::int64_t{1} << (n - 1));
    return sum >= 0 ? sum >> n : -((-sum + (std::int64_t{1} << n) - 1) >> n);
}

// libjpeg's post-IDCT range limit: the value is taken modulo 1024 as a signed 10-bit number,
// then shifted by 128 and clamped.
std::uint8_t RangeLimit(std::int64_t x) {
    int v = static_cast<int>(x & 1023);
    if (v >= 512) {
        v -= 1024;
    }
    v += 128;
    return static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
}

// One 1-D pass of eight values, with the even/odd split and rounding points of libjpeg.
struct Idct8 {
    std::int64_t tmp10, tmp11, tmp12, tmp13, tmp0, tmp1, tmp2, tmp3;
    Idct8(std::int64_t i0, std::int64_t i1, std::int64_t i2, std::int64_t i3, std::int64_t i4,
          std::int64_t i5, std::int64_t i6, std::int64_t i7) {
        std::int64_t z2 = i2;
        std::int64_t z3 = i6;
        std::int64_t z1 = (z2 + z3) * kFix0_541196100;
        std::int64_t t2 = z1 + z3 * -kFix1_847759065;
        std::int64_t t3 = z1 + z2 * kFix0_765366865;
        z2 = i0;
        z3 = i4;
        std::int64_t t0 = (z2 + z3) * (std::int64_t{1} << kConstBits);
        std::int64_t t1 = (z2 - z3) * (std::int64_t{1} << kConstBits);
        tmp10 = t0 + t3;
        tmp13 = t0 - t3;
        tmp11 = t1 + t2;
        tmp12 = t1 - t2;

        t0 = i7;
        t1 = i5;
        t2 = i3;
        t3 = i1;
        z1 = t0 + t3;
        z2 = t1 + t2;
        z3 = t0 + t2;
        std::int64_t z4 = t1 + t3;
        const std::int64_t z5 = (z3 + z4) * kFix1_175875602;
        t0 = t0 * kFix0_298631336;
        t1 = t1 * kFix2_053119869;
        t2 = t2 * kFix3_072711026;
        t3 = t3 * kFix1_501321110;
        z1 = z1 * -kFix0_899976223;
        z2 = z2 * -kFix2_562915447;
        z3 = z3 * -kFix1_961570560;
        z4 = z4 * -kFix0_390180644;
        z3 += z5;
        z4 += z5;
        tmp0 = t0 + z1 + z3;
        tmp1 = t1 + z2 + z4;
        tmp2 = t2 + z2 + z3;
        tmp3 = t3 + z1 + z4;
    }
    // Outputs 0..7 before descaling.
    std::int64_t Out(int i) const {
        switch (i) {
            case 0:
                return tmp10 + tmp3;
            case 1:
                return tmp11 + tmp2;
            case 2:
                return tmp12 + tmp1;
            case 3:
                return tmp13 + tmp0;
            case 4:
                return tmp13 - tmp0;
            case 5:
                return tmp12 - tmp1;
            case 6:
                return tmp11 - tmp2;
            default:
                return tmp10 - tmp3;
        }
    }
};

// `coef` holds dequantised coefficients in natural order; writes 8x8 samples.
void IdctIslow(const std::array<std::int32_t, 64>& coef, std::uint8_t* out, int stride) {
    std::array<std::int64_t, 64> ws{};
    for (int c = 0; c < 8; ++c) {
        const std::int32_t* in = coef.data() + c;
        if (in[8] == 0 && in[16] == 0 && in[24] == 0 && in[32] == 0 && in[40] == 0 && in[48] == 0 &&
            in[56] == 0) {
            const std::int64_t dc = std::int64_t{in[0]} * (1 << kPass1Bits);
            for (int r = 0; r < 8; ++r) {
                ws[static_cast<std::size_t>(r * 8 + c)] = dc;
            }
            continue;
        }
        const Idct8 t(in[0], in[8], in[16], in[24], in[32], in[40], in[48], in[56]);
        for (int r = 0; r < 8; ++r) {
            ws[static_cast<std::size_t>(r * 8 + c)] = Descale(t.Out(r), kConstBits - kPass1Bits);
        }
    }
    for (int r = 0; r < 8; ++r) {
        const std::int64_t* w = ws.data() + r * 8;
        std::uint8_t* o = out + static_cast<std::ptrdiff_t>(r) * stride;
        if (w[1] == 0 && w[2] == 0 && w[3] == 0 && w[4] == 0 && w[5] == 0 && w[6] == 0 &&
            w[7] == 0) {
            const std::uint8_t value = RangeLimit(Descale(w[0], kPass1Bits + 3));
            for (int c = 0; c < 8; ++c) {
                o[c] = value;
            }
            continue;
        }
        const Idct8 t(w[0], w[1], w[2], w[3], w[4], w[5], w[6], w[7]);
        for (int c = 0; c < 8; ++c) {
            o[c] = RangeLimit(Descale(t.Out(c), kConstBits + kPass1Bits + 3));
        }
    }
}

// Dequantised coefficients beyond this are not made by any encoder from 8-bit samples; they are
// refused because libjpeg-turbo's SIMD and C paths need not agree on them.
constexpr std::int32_t kMaxDequantised = 2047;

class Decoder {
  public:
    Decoder(const std::uint8_t* data, std::size_t size) : in_(data, size) {}

    std::optional<DecodedPicture> Run() {
        int soi = 0;
        if (!in_.Word(soi) || soi != 0xFFD8) {
            return std::nullopt;
        }
        for (;;) {
            int marker = 0;
            if (!NextMarker(marker)) {
                return std::nullopt;
            }
            bool ok = false;
            switch (marker) {
                case 0xC0:
                case 0xC1:
                    ok = ReadFrame();
                    break;
                case 0xC4:
                    ok = ReadHuffman();
                    break;
                case 0xDB:
                    ok = ReadQuant();
                    break;
                case 0xDD:
                    ok = ReadRestartInterval();
                    break;
                case 0xDA:
                    ok = ReadScan();
                    break;
                case 0xE0:
                    ok = ReadApp(jfif_, "JFIF", 14);
                    break;
                case 0xEE:
                    ok = ReadAdobe();
                    break;
                case 0xD9:
                    return Finish();
                default:
                    // Other APPn and comments carry nothing for the pixels; every other marker
                    // (another frame type, DNL, stray RSTn) is a picture this decoder leaves alone.
                    ok = ((marker >= 0xE1 && marker <= 0xEF) || marker == 0xFE) && SkipSegment();
                    break;
            }
            if (!ok) {
                return std::nullopt;
            }
        }
    }

  private:
    bool NextMarker(int& marker) {
        int b = 0;
        if (!in_.Byte(b) || b != 0xFF) {
            return false;
        }
        do {
            if (!in_.Byte(b)) {
                return false;
            }
        } while (b == 0xFF);
        marker = b;
        return b != 0;
    }

    // The payload of a segment: its length after the two length bytes.
    bool SegmentLength(std::size_t& length) {
        int n = 0;
        if (!in_.Word(n) || n < 2 || static_cast<std::size_t>(n - 2) > in_.Left()) {
            return false;
        }
        length = static_cast<std::size_t>(n - 2);
        return true;
    }

    bool SkipSegment() {
        std::size_t length = 0;
        return SegmentLength(length) && in_.Skip(length);
    }

    bool ReadApp(bool& seen, const char* tag, std::size_t minLength) {
        std::size_t length = 0;
        if (!SegmentLength(length)) {
            return false;
        }
        const std::uint8_t* p = in_.At(in_.Pos());
        std::size_t tagLength = 0;
        while (tag[tagLength] != '\0') {
            ++tagLength;
        }
        bool match = length >= minLength;
        for (std::size_t i = 0; match && i <= tagLength; ++i) {
            match = p[i] == static_cast<std::uint8_t>(tag[i]);
        }
        seen = seen || match;
        return in_.Skip(length);
    }

    // An Adobe marker decides the colour transform in libjpeg; only "YCbCr" (1) is ours.
    bool ReadAdobe() {
        std::size_t length = 0;
        if (!SegmentLength(length)) {
            return false;
        }
        const std::uint8_t* p = in_.At(in_.Pos());
        static const std::uint8_t kAdobe[5] = {'A', 'd', 'o', 'b', 'e'};
        bool adobe = length >= 5;
        for (std::size_t i = 0; adobe && i < 5; ++i) {
            adobe = p[i] == kAdobe[i];
        }
        if (adobe && (length < 12 || p[11] != 1)) {
            foreignColour_ = true;
        }
        return in_.Skip(length);
    }

    bool ReadFrame() {
        std::size_t length = 0;
        if (frame_ || !SegmentLength(length) || length < 6) {
            return false;
        }
        const std::size_t end = in_.Pos() + length;
        int precision = 0, count = 0;
        if (!in_.Byte(precision) || !in_.Word(height_) || !in_.Word(width_) || !in_.Byte(count)) {
            return false;
        }
        if (precision != 8 || height_ == 0 || width_ == 0 || (count != 1 && count != 3) ||
            length != 6 + 3 * static_cast<std::size_t>(count) ||
            static_cast<std::uint32_t>(width_) * static_cast<std::uint32_t>(height_) > kMaxPixels) {
            return false;
        }
        componentCount_ = count;
        for (int i = 0; i < count; ++i) {
            Component& c = components_[static_cast<std::size_t>(i)];
            int sampling = 0;
            if (!in_.Byte(c.id) || !in_.Byte(sampling) || !in_.Byte(c.quantIndex)) {
                return false;
            }
            c.h = sampling >> 4;
            c.v = sampling & 15;
            if (c.h < 1 || c.h > 4 || c.v < 1 || c.v > 4 || c.quantIndex > 3) {
                return false;
            }
            for (int j = 0; j < i; ++j) {
                if (components_[static_cast<std::size_t>(j)].id == c.id) {
                    return false;
                }
            }
        }
        if (count == 1) {
            // A lone component is never subsampled, whatever its factors say.
            components_[0].h = components_[0].v = 1;
        } else {
            // Wine's decoder (IJG libjpeg 9) upsamples chroma in the DCT domain, which this
            // decoder does not copy: only unsubsampled colour pictures are ours.
            for (int i = 0; i < 3; ++i) {
                if (components_[static_cast<std::size_t>(i)].h != 1 ||
                    components_[static_cast<std::size_t>(i)].v != 1) {
                    return false;
                }
            }
        }
        maxH_ = components_[0].h;
        maxV_ = components_[0].v;
        mcusX_ = (width_ + 8 * maxH_ - 1) / (8 * maxH_);
        mcusY_ = (height_ + 8 * maxV_ - 1) / (8 * maxV_);
        for (int i = 0; i < count; ++i) {
            Component& c = components_[static_cast<std::size_t>(i)];
            c.stride = mcusX_ * c.h * 8;
            c.rows = mcusY_ * c.v * 8;
        }
        frame_ = true;
        return in_.Pos() == end;
    }

    bool ReadHuffman() {
        std::size_t length = 0;
        if (!SegmentLength(length)) {
            return false;
        }
        const std::size_t end = in_.Pos() + length;
        while (in_.Pos() < end) {
            int index = 0;
            if (!in_.Byte(index)) {
                return false;
            }
            const int cls = index >> 4;
            const int id = index & 15;
            if (cls > 1 || id > 3) {
                return false;
            }
            std::array<int, 17> counts{};
            int total = 0;
            for (int l = 1; l <= 16; ++l) {
                if (!in_.Byte(counts[static_cast<std::size_t>(l)])) {
                    return false;
                }
                total += counts[static_cast<std::size_t>(l)];
            }
            if (total > 256 || static_cast<std::size_t>(total) > end - in_.Pos()) {
                return false;
            }
            HuffTable table;
            for (int i = 0; i < total; ++i) {
                int value = 0;
                in_.Byte(value);
                // DC categories above 11 cannot come from 8-bit samples.
                if (cls == 0 && value > 11) {
                    return false;
                }
                table.values[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value);
            }
            // Canonical codes; a table whose codes overflow their length is damaged.
            std::int32_t code = 0;
            int k = 0;
            for (int l = 1; l <= 16; ++l) {
                const int n = counts[static_cast<std::size_t>(l)];
                table.valOffset[static_cast<std::size_t>(l)] = k - code;
                code += n;
                k += n;
                if (code > (std::int32_t{1} << l)) {
                    return false;
                }
                table.maxCode[static_cast<std::size_t>(l)] = n > 0 ? code - 1 : -1;
                code <<= 1;
            }
            table.defined = true;
            (cls == 0 ? dc_ : ac_)[static_cast<std::size_t>(id)] = table;
        }
        return in_.Pos() == end;
    }

    bool ReadQuant() {
        std::size_t length = 0;
        if (!SegmentLength(length)) {
            return false;
        }
        const std::size_t end = in_.Pos() + length;
        while (in_.Pos() < end) {
            int index = 0;
            if (!in_.Byte(index)) {
                return false;
            }
            const int precision = index >> 4;
            const int id = index & 15;
            if (precision > 1 || id > 3 || end - in_.Pos() < (precision ? 128u : 64u)) {
                return false;
            }
            QuantTable table;
            for (std::size_t i = 0; i < 64; ++i) {
                int value = 0;
                if (precision ? !in_.Word(value) : !in_.Byte(value)) {
                    return false;
                }
                // libjpeg-turbo keeps factors in 16-bit signed multipliers.
                if (value > 32767) {
                    return false;
                }
                table.natural[kNaturalOrder[i]] = value;
            }
            table.defined = true;
            quant_[static_cast<std::size_t>(id)] = table;
        }
        return in_.Pos() == end;
    }

    bool ReadRestartInterval() {
        std::size_t length = 0;
        if (!SegmentLength(length) || length != 2) {
            return false;
        }
        return in_.Word(restartInterval_);
    }

    bool ReadScan() {
        std::size_t length = 0;
        int count = 0;
        if (!frame_ || !SegmentLength(length) || !in_.Byte(count) || count < 1 ||
            count > componentCount_ || length != 4 + 2 * static_cast<std::size_t>(count)) {
            return false;
        }
        std::array<Component*, kMaxComponents> scan{};
        std::array<const HuffTable*, kMaxComponents> dcTables{}, acTables{};
        for (int i = 0; i < count; ++i) {
            int id = 0, tables = 0;
            if (!in_.Byte(id) || !in_.Byte(tables)) {
                return false;
            }
            Component* found = nullptr;
            for (int j = 0; j < componentCount_; ++j) {
                if (components_[static_cast<std::size_t>(j)].id == id) {
                    found = &components_[static_cast<std::size_t>(j)];
                }
            }
            const int dc = tables >> 4;
            const int ac = tables & 15;
            if (found == nullptr || found->decoded || dc > 3 || ac > 3 ||
                !dc_[static_cast<std::size_t>(dc)].defined ||
                !ac_[static_cast<std::size_t>(ac)].defined) {
                return false;
            }
            for (int j = 0; j < i; ++j) {
                if (scan[static_cast<std::size_t>(j)] == found) {
                    return false;
                }
            }
            const QuantTable& q = quant_[static_cast<std::size_t>(found->quantIndex)];
            if (!q.defined) {
                return false;
            }
            found->quant = q;
            scan[static_cast<std::size_t>(i)] = found;
            dcTables[static_cast<std::size_t>(i)] = &dc_[static_cast<std::size_t>(dc)];
            acTables[static_cast<std::size_t>(i)] = &ac_[static_cast<std::size_t>(ac)];
        }
        int ss = 0, se = 0, approx = 0;
        if (!in_.Byte(ss) || !in_.Byte(se) || !in_.Byte(approx) || ss != 0 || se != 63 ||
            approx != 0) {
            return false;
        }

        // How many MCUs and blocks; a single component is scanned over its own blocks only.
        int mcusX = mcusX_, mcusY = mcusY_;
        if (count == 1) {
            const Component& c = *scan[0];
            const int w = (width_ * c.h + maxH_ - 1) / maxH_;
            const int h = (height_ * c.v + maxV_ - 1) / maxV_;
            mcusX = (w + 7) / 8;
            mcusY = (h + 7) / 8;
        }
        // Every block takes at least two bits; refuse before allocating for data that is not there.
        std::size_t blocksPerMcu = 0;
        for (int i = 0; i < count; ++i) {
            blocksPerMcu += count == 1
                                ? 1u
                                : static_cast<std::size_t>(scan[static_cast<std::size_t>(i)]->h *
                                                           scan[static_cast<std::size_t>(i)]->v);
        }
        const std::size_t mcus = static_cast<std::size_t>(mcusX) * static_cast<std::size_t>(mcusY);
        if (mcus * blocksPerMcu * 2 > in_.Left() * 8) {
            return false;
        }
        for (int i = 0; i < count; ++i) {
            Component& c = *scan[static_cast<std::size_t>(i)];
            c.plane.assign(static_cast<std::size_t>(c.stride) * static_cast<std::size_t>(c.rows),
                           0);
        }

        BitReader bits(in_);
        std::array<int, kMaxComponents> predictor{};
        int nextRestart = 0;
        std::array<std::int32_t, 64> block{};
        for (std::size_t m = 0; m < mcus; ++m) {
            if (restartInterval_ != 0 && m != 0 &&
                m % static_cast<std::size_t>(restartInterval_) == 0) {
                bits.Align();
                int marker = 0;
                if (!NextMarker(marker) || marker != 0xD0 + nextRestart) {
                    return false;
                }
                nextRestart = (nextRestart + 1) & 7;
                predictor = {};
            }
            const int mx = static_cast<int>(m % static_cast<std::size_t>(mcusX));
            const int my = static_cast<int>(m / static_cast<std::size_t>(mcusX));
            for (int i = 0; i < count; ++i) {
                Component& c = *scan[static_cast<std::size_t>(i)];
                const int bw = count == 1 ? 1 : c.h;
                const int bh = count == 1 ? 1 : c.v;
                for (int by = 0; by < bh; ++by) {
                    for (int bx = 0; bx < bw; ++bx) {
                        if (!DecodeBlock(bits, *dcTables[static_cast<std::size_t>(i)],
                                         *acTables[static_cast<std::size_t>(i)],
                                         predictor[static_cast<std::size_t>(i)], c.quant, block)) {
                            return false;
                        }
                        const int x = (mx * bw + bx) * 8;
                        const int y = (my * bh + by) * 8;
                        IdctIslow(block,
                                  c.plane.data() + static_cast<std::size_t>(y) * c.stride + x,
                                  c.stride);
                    }
                }
            }
        }
        bits.Align();
        for (int i = 0; i < count; ++i) {
            scan[static_cast<std::size_t>(i)]->decoded = true;
        }
        // The next marker must follow at once: left-over entropy bytes mean a damaged scan.
        return in_.Left() >= 2 && *in_.At(in_.Pos()) == 0xFF;
    }

    bool DecodeBlock(BitReader& bits, const HuffTable& dc, const HuffTable& ac, int& predictor,
                     const QuantTable& quant, std::array<std::int32_t, 64>& block) {
        block = {};
        int s = 0;
        if (!bits.Decode(dc, s)) {
            return false;
        }
        int diff = 0;
        if (s != 0) {
            int r = 0;
            if (!bits.Bits(s, r)) {
                return false;
            }
            diff = Extend(r, s);
        }
        predictor += diff;
        // libjpeg stores coefficients as 16-bit; stay where that changes nothing.
        if (predictor < -32768 || predictor > 32767) {
            return false;
        }
        block[0] = predictor * quant.natural[0];
        for (int k = 1; k < 64; ++k) {
            int rs = 0;
            if (!bits.Decode(ac, rs)) {
                return false;
            }
            const int run = rs >> 4;
            const int size = rs & 15;
            if (size == 0) {
                if (run != 15) {
                    break;  // end of block
                }
                k += 15;
                if (k > 63) {
                    return false;
                }
                continue;
            }
            k += run;
            if (k > 63) {
                return false;
            }
            int r = 0;
            if (!bits.Bits(size, r)) {
                return false;
            }
            const int pos = kNaturalOrder[static_cast<std::size_t>(k)];
            block[static_cast<std::size_t>(pos)] =
                Extend(r, size) * quant.natural[static_cast<std::size_t>(pos)];
        }
        for (const std::int32_t v : block) {
            if (v < -kMaxDequantised || v > kMaxDequantised) {
                return false;
            }
        }
        return true;
    }

    std::optional<DecodedPicture> Finish() {
        if (!frame_) {
            return std::nullopt;
        }
        for (int i = 0; i < componentCount_; ++i) {
            if (!components_[static_cast<std::size_t>(i)].decoded) {
                return std::nullopt;
            }
        }
        // Without a JFIF marker libjpeg takes components named R, G, B as RGB.
        const bool rgbNames =
            components_[0].id == 'R' && components_[1].id == 'G' && components_[2].id == 'B';
        if (componentCount_ == 3 && (foreignColour_ || (rgbNames && !jfif_))) {
            return std::nullopt;
        }
        DecodedPicture out;
        out.width = width_;
        out.height = height_;
        out.pixels.assign(static_cast<std::size_t>(width_) * height_ * 4, 0);
        if (componentCount_ == 1) {
            const Component& g = components_[0];
            for (int y = 0; y < height_; ++y) {
                const std::uint8_t* in = g.plane.data() + static_cast<std::size_t>(y) * g.stride;
                std::uint8_t* o = out.pixels.data() + static_cast<std::size_t>(y) * width_ * 4;
                for (int x = 0; x < width_; ++x) {
                    o[4 * x] = o[4 * x + 1] = o[4 * x + 2] = in[x];
                }
            }
            return out;
        }
        for (int y = 0; y < height_; ++y) {
            const std::uint8_t* yRow = Row(components_[0], y);
            const std::uint8_t* cbRow = Row(components_[1], y);
            const std::uint8_t* crRow = Row(components_[2], y);
            std::uint8_t* o = out.pixels.data() + static_cast<std::size_t>(y) * width_ * 4;
            for (int x = 0; x < width_; ++x) {
                YccToBgr(yRow[x], cbRow[x], crRow[x], o + 4 * x);
            }
        }
        return out;
    }

    static const std::uint8_t* Row(const Component& c, int y) {
        return c.plane.data() + static_cast<std::size_t>(y) * c.stride;
    }

    // libjpeg's ycc_rgb_convert with its SCALEBITS 16 fixed-point tables.
    static void YccToBgr(int y, int cb, int cr, std::uint8_t* out) {
        constexpr int kScaleBits = 16;
        constexpr std::int64_t kHalf = std::int64_t{1} << (kScaleBits - 1);
        const std::int64_t x = cr - 128;
        const std::int64_t z = cb - 128;
        const int crR = static_cast<int>((91881 * x + kHalf) >> kScaleBits);
        const int cbB = static_cast<int>((116130 * z + kHalf) >> kScaleBits);
        const std::int64_t crG = -46802 * x;
        const std::int64_t cbG = -22554 * z + kHalf;
        const int g = y + static_cast<int>((cbG + crG) >> kScaleBits);
        auto clamp = [](int v) { return static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); };
        out[0] = clamp(y + cbB);
        out[1] = clamp(g);
        out[2] = clamp(y + crR);
    }

    Reader in_;
    bool frame_ = false;
    bool jfif_ = false;
    bool foreignColour_ = false;
    int width_ = 0, height_ = 0;
    int componentCount_ = 0;
    int maxH_ = 1, maxV_ = 1;
    int mcusX_ = 0, mcusY_ = 0;
    int restartInterval_ = 0;
    std::array<Component, kMaxComponents> components_{};
    std::array<HuffTable, 4> dc_{}, ac_{};
    std::array<QuantTable, 4> quant_{};
};

}  // namespace

std::optional<DecodedPicture> DecodeJpeg(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr) {
        return std::nullopt;
    }
    return Decoder(data, size).Run();
}

}  // namespace t30
