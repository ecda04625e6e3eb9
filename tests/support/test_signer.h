#pragma once
// Connection files signed as rdpsign signs them, for tests. Under Windows (and Wine) the signature is real: crypt32
// signs with SHA-256 under a throwaway RSA key and self-signed certificate made on first use and deleted at exit,
// never stored anywhere else. The native build has a stand-in signature of its own, which only its verifier knows.
#include "platform/signature.h"
#include "platform/text_decoding.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// A signature of `message` in the form the verifier below checks: DER PKCS#7 SignedData without content.
std::vector<std::uint8_t> TestSignature(std::span<const std::uint8_t> message);

// What checks TestSignature's signatures: crypt32's own verifier under Windows, the stand-in's natively.
const DetachedSignatureVerifier& TestSignatureVerifier();

// The "signature:s:" value rdpsign writes: base64 of its 12-byte header and the signature; in pieces of 64
// characters with two blanks after each when `in_pieces`.
std::string RdpsignSignatureValue(std::span<const std::uint8_t> signature, bool in_pieces = false);

// `lines` (8-bit text, each line ended by CR LF) with the two lines rdpsign adds: "signscope:s:" + `scope`, then the
// signature over the lines the scope names. The signed lines are found by their names, letter case ignored, and
// taken as they stand, read as `read_as` reads them (Latin-1 when it is empty); `signscope_name` is the scope
// line's name as written (rdpsign writes "signscope").
std::string SignedLikeRdpsign(std::string_view lines, std::string_view scope, bool in_pieces = false,
                              std::string_view signscope_name = "signscope", const AnsiDecoder& read_as = {});
