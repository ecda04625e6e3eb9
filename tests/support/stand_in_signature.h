#pragma once
// A stand-in for a PKCS#7 signature where crypt32 is not there (the native build, the fuzzers): a tag and the
// message's 64-bit FNV-1a hash. Only StandInVerifier accepts it, and only for the very message.
#include "platform/signature.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

inline std::vector<std::uint8_t> StandInSignature(std::span<const std::uint8_t> message) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (std::uint8_t byte : message) hash = (hash ^ byte) * 0x100000001b3u;
    std::vector<std::uint8_t> signature{'s', 't', 'a', 'n', 'd', '-', 'i', 'n'};
    for (int shift = 0; shift < 64; shift += 8) signature.push_back(static_cast<std::uint8_t>(hash >> shift));
    return signature;
}

class StandInVerifier : public DetachedSignatureVerifier {
public:
    bool Verifies(std::span<const std::uint8_t> signature, std::span<const std::uint8_t> message) const override {
        const auto expected = StandInSignature(message);
        return std::equal(signature.begin(), signature.end(), expected.begin(), expected.end());
    }
};
