#pragma once
// The wire format between client and application server: TCP carrying frames, each a 4-byte
// big-endian payload length followed by one MessagePack value.
//
// Variants travel as MessagePack values:
//   Empty nil, Integer int, Boolean bool, Double float64, wide text str (UTF-8; lone
//   surrogates kept WTF-8 style so any UTF-16 survives), byte text bin (bytes kept exactly);
//   the rarer types as a tagged array [type code, ...]: Null [1], SmallInt [2, int],
//   Date [7, float64], Byte [17, uint], Array [0x2000, [low1, high1(, low2, high2)], [items]]
//   with 2-D items column-major as stored. Automation objects cannot travel.
//
// Messages (each the payload of one frame, a MessagePack array):
//   open   [0, class name]                     the server creates the named object
//   call   [1, seq, name, kind, [args]]        kind: 0 method, 1 property get, 2 property put
//   reply  [2, seq, ok, result, [[index, value]...], error text (bin)]
//          the list holds the arguments the callee changed (by-reference results)
//
// Decoding never trusts the input: sizes are checked against the bytes present, nesting is
// capped, maps and extension types are refused; every fault raises vel::Exception.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/variant/variant.h"

namespace vel::net {

constexpr uint32_t kDefaultMaxFrame = 16u * 1024u * 1024u;
constexpr int kMaxNesting = 32;

enum class MessageKind : uint8_t { Open = 0, Call = 1, Reply = 2 };

struct Message {
    MessageKind kind = MessageKind::Call;
    uint32_t seq = 0;
    std::string name;              // class name (open) or member name (call)
    int invokeKind = 0;            // call: 0 method, 1 property get, 2 property put
    std::vector<Variant> args;     // call arguments
    bool ok = false;               // reply
    Variant result;                // reply
    std::vector<std::pair<uint32_t, Variant>> changed;  // reply: by-reference results
    std::string error;             // reply: error text (byte text)
};

// A single variant without framing (for storage, e.g. a job's parameter set).
VEL_API std::string EncodeVariant(const Variant& value);
VEL_API Variant DecodeVariant(std::string_view bytes);

// One complete frame: length prefix and payload.
VEL_API std::string EncodeFrame(const Message& message);
// Decodes a payload (without its length prefix).
VEL_API Message DecodePayload(std::string_view payload);

// Reads the 4-byte length prefix.
inline uint32_t FrameLength(const unsigned char* prefix) {
    return (uint32_t(prefix[0]) << 24) | (uint32_t(prefix[1]) << 16) | (uint32_t(prefix[2]) << 8) | uint32_t(prefix[3]);
}

// UTF-16 <-> UTF-8 that keeps unpaired surrogates (WTF-8); invalid UTF-8 raises.
VEL_API std::string WideToWtf8(const std::u16string& text);
VEL_API std::u16string Wtf8ToWide(std::string_view text);

}  // namespace vel::net
