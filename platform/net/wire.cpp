#include "platform/net/wire.h"

#include <cmath>
#include <cstring>
#include <limits>

#ifndef MSGPACK_NO_BOOST
#define MSGPACK_NO_BOOST
#endif
#include <msgpack.hpp>

namespace vel::net {
namespace {

constexpr uint32_t kArrayTag = 0x2000;

using Packer = msgpack::packer<msgpack::sbuffer>;

[[noreturn]] void Malformed(const std::string& what) { throw Exception("Malformed message: " + what); }

void PackBytes(Packer& pk, const std::string& bytes) {
    pk.pack_bin(static_cast<uint32_t>(bytes.size()));
    pk.pack_bin_body(bytes.data(), static_cast<uint32_t>(bytes.size()));
}

// Always float64: the library packer writes whole-valued doubles as integers, which would
// turn a Double 2.0 into an Integer on the other side.
void PackDouble(Packer& pk, double d) {
    uint64_t bits;
    std::memcpy(&bits, &d, 8);
    char raw[9];
    raw[0] = static_cast<char>(0xcb);
    for (int i = 0; i < 8; ++i) raw[1 + i] = static_cast<char>(bits >> (56 - 8 * i));
    pk.pack_bin_body(raw, 9);  // appends the bytes as they are
}

void PackStr(Packer& pk, const std::string& text) {
    pk.pack_str(static_cast<uint32_t>(text.size()));
    pk.pack_str_body(text.data(), static_cast<uint32_t>(text.size()));
}

void Pack(Packer& pk, const Variant& v, int depth) {
    if (depth > kMaxNesting) throw Exception("Variant nested too deeply to send");
    switch (v.Type()) {
        case VarType::Empty: pk.pack_nil(); return;
        case VarType::Null: pk.pack_array(1); pk.pack_uint32(1); return;
        case VarType::SmallInt: pk.pack_array(2); pk.pack_uint32(2); pk.pack_int32(v.ToInt()); return;
        case VarType::Integer: pk.pack_int32(v.ToInt()); return;
        case VarType::Double: PackDouble(pk, v.ToDouble()); return;
        case VarType::Date: pk.pack_array(2); pk.pack_uint32(7); PackDouble(pk, v.ToDate()); return;
        case VarType::OleStr: PackStr(pk, WideToWtf8(v.Wide())); return;
        case VarType::Boolean: if (v.ToBool()) pk.pack_true(); else pk.pack_false(); return;
        case VarType::Byte: pk.pack_array(2); pk.pack_uint32(17); pk.pack_uint32(static_cast<uint32_t>(v.ToInt())); return;
        case VarType::String: PackBytes(pk, v.Bytes()); return;
        case VarType::Array: {
            const VarArrayData& data = v.ArrayData();
            pk.pack_array(3);
            pk.pack_uint32(kArrayTag);
            pk.pack_array(static_cast<uint32_t>(data.bounds.size() * 2));
            for (const ArrayBound& b : data.bounds) {
                pk.pack_int32(b.low);
                pk.pack_int32(b.high);
            }
            pk.pack_array(static_cast<uint32_t>(data.items.size()));
            for (const Variant& item : data.items) Pack(pk, item, depth + 1);
            return;
        }
        case VarType::Dispatch:
            throw Exception("An automation object cannot be passed to or from the server");
        default:
            throw Exception("Variant type " + VarTypeName(v.Type()) + " cannot be sent");
    }
}

// A bounds-checked MessagePack reader for the subset the format uses.
class Reader {
public:
    explicit Reader(std::string_view data)
        : p_(reinterpret_cast<const uint8_t*>(data.data())), end_(p_ + data.size()) {}

    size_t Remaining() const { return static_cast<size_t>(end_ - p_); }
    bool AtEnd() const { return p_ == end_; }

    enum class Kind { Nil, Bool, Int, Float, Str, Bin, Array, Other };

    Kind Peek() const {
        Need(1);
        uint8_t b = *p_;
        if (b <= 0x7f || b >= 0xe0) return Kind::Int;
        if (b >= 0x90 && b <= 0x9f) return Kind::Array;
        if (b >= 0xa0 && b <= 0xbf) return Kind::Str;
        switch (b) {
            case 0xc0: return Kind::Nil;
            case 0xc2: case 0xc3: return Kind::Bool;
            case 0xc4: case 0xc5: case 0xc6: return Kind::Bin;
            case 0xca: case 0xcb: return Kind::Float;
            case 0xcc: case 0xcd: case 0xce: case 0xcf:
            case 0xd0: case 0xd1: case 0xd2: case 0xd3: return Kind::Int;
            case 0xd9: case 0xda: case 0xdb: return Kind::Str;
            case 0xdc: case 0xdd: return Kind::Array;
            default: return Kind::Other;
        }
    }

    void Nil() {
        if (Byte() != 0xc0) Malformed("nil expected");
    }

    bool Bool() {
        uint8_t b = Byte();
        if (b == 0xc2) return false;
        if (b == 0xc3) return true;
        Malformed("boolean expected");
    }

    int64_t Int() {
        uint8_t b = Byte();
        if (b <= 0x7f) return b;
        if (b >= 0xe0) return static_cast<int8_t>(b);
        switch (b) {
            case 0xcc: return Be(1);
            case 0xcd: return Be(2);
            case 0xce: return Be(4);
            case 0xcf: {
                uint64_t u = Be(8);
                if (u > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) Malformed("integer out of range");
                return static_cast<int64_t>(u);
            }
            case 0xd0: return static_cast<int8_t>(Be(1));
            case 0xd1: return static_cast<int16_t>(Be(2));
            case 0xd2: return static_cast<int32_t>(Be(4));
            case 0xd3: return static_cast<int64_t>(Be(8));
            default: Malformed("integer expected");
        }
    }

    int32_t Int32() {
        int64_t v = Int();
        if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
            Malformed("integer out of range");
        return static_cast<int32_t>(v);
    }

    double Float() {
        uint8_t b = Byte();
        if (b == 0xca) {
            uint32_t bits = static_cast<uint32_t>(Be(4));
            float f;
            std::memcpy(&f, &bits, 4);
            return f;
        }
        if (b == 0xcb) {
            uint64_t bits = Be(8);
            double d;
            std::memcpy(&d, &bits, 8);
            return d;
        }
        Malformed("number expected");
    }

    std::string_view Str() {
        uint8_t b = Byte();
        size_t n;
        if (b >= 0xa0 && b <= 0xbf) n = b & 0x1f;
        else if (b == 0xd9) n = Be(1);
        else if (b == 0xda) n = Be(2);
        else if (b == 0xdb) n = Be(4);
        else Malformed("text expected");
        return Take(n);
    }

    std::string_view Bin() {
        uint8_t b = Byte();
        size_t n;
        if (b == 0xc4) n = Be(1);
        else if (b == 0xc5) n = Be(2);
        else if (b == 0xc6) n = Be(4);
        else Malformed("byte text expected");
        return Take(n);
    }

    // Every element takes at least one byte, so a count above the bytes left is a lie.
    size_t ArrayHeader() {
        uint8_t b = Byte();
        size_t n;
        if (b >= 0x90 && b <= 0x9f) n = b & 0x0f;
        else if (b == 0xdc) n = Be(2);
        else if (b == 0xdd) n = Be(4);
        else Malformed("array expected");
        if (n > Remaining()) Malformed("array of " + std::to_string(n) + " elements in " + std::to_string(Remaining()) + " bytes");
        return n;
    }

private:
    void Need(size_t n) const {
        if (Remaining() < n) Malformed("truncated");
    }
    uint8_t Byte() {
        Need(1);
        return *p_++;
    }
    uint64_t Be(size_t n) {
        Need(n);
        uint64_t v = 0;
        for (size_t i = 0; i < n; ++i) v = (v << 8) | p_[i];
        p_ += n;
        return v;
    }
    std::string_view Take(size_t n) {
        Need(n);
        std::string_view s(reinterpret_cast<const char*>(p_), n);
        p_ += n;
        return s;
    }

    const uint8_t* p_;
    const uint8_t* end_;
};

Variant Read(Reader& r, int depth) {
    if (depth > kMaxNesting) Malformed("nested deeper than " + std::to_string(kMaxNesting));
    switch (r.Peek()) {
        case Reader::Kind::Nil: r.Nil(); return Variant();
        case Reader::Kind::Bool: return Variant(r.Bool());
        case Reader::Kind::Int: return Variant(static_cast<int>(r.Int32()));
        case Reader::Kind::Float: return Variant(r.Float());
        case Reader::Kind::Str: return Variant(Wtf8ToWide(r.Str()));
        case Reader::Kind::Bin: return Variant(std::string(r.Bin()));
        case Reader::Kind::Array: break;
        case Reader::Kind::Other: Malformed("unsupported value type");
    }
    size_t n = r.ArrayHeader();
    if (n == 0) Malformed("empty tagged value");
    int64_t tag = r.Int();
    auto expect = [&](size_t count) {
        if (n != count) Malformed("tagged value " + std::to_string(tag) + " with " + std::to_string(n) + " parts");
    };
    switch (tag) {
        case 1: expect(1); return Variant::Null();
        case 2: {
            expect(2);
            int32_t v = r.Int32();
            if (v < std::numeric_limits<int16_t>::min() || v > std::numeric_limits<int16_t>::max()) Malformed("small integer out of range");
            return Variant(static_cast<int16_t>(v));
        }
        case 7: expect(2); return Variant::FromDate(r.Float());
        case 17: {
            expect(2);
            int64_t v = r.Int();
            if (v < 0 || v > 255) Malformed("byte out of range");
            return Variant(static_cast<uint8_t>(v));
        }
        case kArrayTag: {
            expect(3);
            size_t nb = r.ArrayHeader();
            if (nb != 2 && nb != 4) Malformed("array with " + std::to_string(nb / 2) + " dimensions");
            int32_t b[4] = {0, 0, 0, 0};
            for (size_t i = 0; i < nb; ++i) b[i] = r.Int32();
            int64_t count = 1;
            for (size_t d = 0; d < nb; d += 2) {
                int64_t c = int64_t(b[d + 1]) - b[d] + 1;
                if (c < 0 || c > std::numeric_limits<int32_t>::max())
                    Malformed("array bounds " + std::to_string(b[d]) + ".." + std::to_string(b[d + 1]));
                count *= c;
            }
            size_t ni = r.ArrayHeader();
            if (static_cast<int64_t>(ni) != count) Malformed("array bounds do not match its " + std::to_string(ni) + " elements");
            std::vector<Variant> items;
            items.reserve(ni);
            for (size_t i = 0; i < ni; ++i) items.push_back(Read(r, depth + 1));
            // Empty dimensions (high = low - 1) are built directly; Array() would fill nothing anyway.
            Variant a = nb == 2 ? Variant::Array(b[0], b[1]) : Variant::Array2(b[0], b[1], b[2], b[3]);
            a.ArrayData().items = std::move(items);
            return a;
        }
        default: Malformed("unknown value tag " + std::to_string(tag));
    }
}

msgpack::sbuffer StartFrame() {
    msgpack::sbuffer buffer(256);
    const char zero[4] = {0, 0, 0, 0};
    buffer.write(zero, 4);
    return buffer;
}

}  // namespace

std::string EncodeVariant(const Variant& value) {
    msgpack::sbuffer buffer(64);
    Packer pk(buffer);
    Pack(pk, value, 0);
    return std::string(buffer.data(), buffer.size());
}

Variant DecodeVariant(std::string_view bytes) {
    Reader r(bytes);
    Variant v = Read(r, 0);
    if (!r.AtEnd()) Malformed("trailing bytes");
    return v;
}

std::string EncodeFrame(const Message& m) {
    msgpack::sbuffer buffer = StartFrame();
    Packer pk(buffer);
    switch (m.kind) {
        case MessageKind::Open:
            pk.pack_array(2);
            pk.pack_uint32(0);
            PackStr(pk, m.name);
            break;
        case MessageKind::Call:
            pk.pack_array(5);
            pk.pack_uint32(1);
            pk.pack_uint32(m.seq);
            PackStr(pk, m.name);
            pk.pack_uint32(static_cast<uint32_t>(m.invokeKind));
            pk.pack_array(static_cast<uint32_t>(m.args.size()));
            for (const Variant& a : m.args) Pack(pk, a, 1);
            break;
        case MessageKind::Reply:
            pk.pack_array(6);
            pk.pack_uint32(2);
            pk.pack_uint32(m.seq);
            if (m.ok) pk.pack_true(); else pk.pack_false();
            Pack(pk, m.result, 1);
            pk.pack_array(static_cast<uint32_t>(m.changed.size()));
            for (const auto& [index, value] : m.changed) {
                pk.pack_array(2);
                pk.pack_uint32(index);
                Pack(pk, value, 1);
            }
            PackBytes(pk, m.error);
            break;
    }
    uint32_t n = static_cast<uint32_t>(buffer.size() - 4);
    char* d = buffer.data();
    d[0] = static_cast<char>(n >> 24);
    d[1] = static_cast<char>(n >> 16);
    d[2] = static_cast<char>(n >> 8);
    d[3] = static_cast<char>(n);
    return std::string(buffer.data(), buffer.size());
}

Message DecodePayload(std::string_view payload) {
    Reader r(payload);
    Message m;
    size_t n = r.ArrayHeader();
    if (n == 0) Malformed("empty message");
    int64_t kind = r.Int();
    auto u32 = [&r]() {
        int64_t v = r.Int();
        if (v < 0 || v > std::numeric_limits<uint32_t>::max()) Malformed("sequence number out of range");
        return static_cast<uint32_t>(v);
    };
    switch (kind) {
        case 0:
            if (n != 2) Malformed("open message with " + std::to_string(n) + " parts");
            m.kind = MessageKind::Open;
            m.name = std::string(r.Str());
            break;
        case 1: {
            if (n != 5) Malformed("call message with " + std::to_string(n) + " parts");
            m.kind = MessageKind::Call;
            m.seq = u32();
            m.name = std::string(r.Str());
            int64_t ik = r.Int();
            if (ik < 0 || ik > 2) Malformed("invoke kind " + std::to_string(ik));
            m.invokeKind = static_cast<int>(ik);
            size_t na = r.ArrayHeader();
            m.args.reserve(na);
            for (size_t i = 0; i < na; ++i) m.args.push_back(Read(r, 1));
            break;
        }
        case 2: {
            if (n != 6) Malformed("reply message with " + std::to_string(n) + " parts");
            m.kind = MessageKind::Reply;
            m.seq = u32();
            m.ok = r.Bool();
            m.result = Read(r, 1);
            size_t nc = r.ArrayHeader();
            m.changed.reserve(nc);
            for (size_t i = 0; i < nc; ++i) {
                if (r.ArrayHeader() != 2) Malformed("changed argument entry");
                uint32_t index = u32();
                m.changed.emplace_back(index, Read(r, 1));
            }
            m.error = std::string(r.Bin());
            break;
        }
        default: Malformed("unknown message kind " + std::to_string(kind));
    }
    if (!r.AtEnd()) Malformed("trailing bytes");
    return m;
}

std::string WideToWtf8(const std::u16string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = text[i];
        if (c >= 0xd800 && c <= 0xdbff && i + 1 < text.size() && text[i + 1] >= 0xdc00 && text[i + 1] <= 0xdfff) {
            c = 0x10000 + ((c - 0xd800) << 10) + (text[i + 1] - 0xdc00);
            ++i;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xc0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3f));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xe0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
            out += static_cast<char>(0x80 | (c & 0x3f));
        } else {
            out += static_cast<char>(0xf0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3f));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
            out += static_cast<char>(0x80 | (c & 0x3f));
        }
    }
    return out;
}

std::u16string Wtf8ToWide(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    const auto* p = reinterpret_cast<const uint8_t*>(text.data());
    const auto* end = p + text.size();
    auto cont = [&](int k) -> uint32_t {
        if (p + k >= end || (p[k] & 0xc0) != 0x80) Malformed("invalid UTF-8 text");
        return p[k] & 0x3f;
    };
    while (p < end) {
        uint32_t c;
        uint8_t b = *p;
        if (b < 0x80) {
            c = b;
            p += 1;
        } else if (b >= 0xc2 && b <= 0xdf) {
            c = ((b & 0x1fu) << 6) | cont(1);
            p += 2;
        } else if (b >= 0xe0 && b <= 0xef) {
            c = ((b & 0x0fu) << 12) | (cont(1) << 6) | cont(2);
            if (c < 0x800) Malformed("invalid UTF-8 text");
            p += 3;
        } else if (b >= 0xf0 && b <= 0xf4) {
            c = ((b & 0x07u) << 18) | (cont(1) << 12) | (cont(2) << 6) | cont(3);
            if (c < 0x10000 || c > 0x10ffff) Malformed("invalid UTF-8 text");
            p += 4;
        } else {
            Malformed("invalid UTF-8 text");
        }
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xd800 + (c >> 10));
            out += static_cast<char16_t>(0xdc00 + (c & 0x3ff));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

}  // namespace vel::net
