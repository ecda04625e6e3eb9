// The native build's signer: the stand-in signature, which no real verifier would accept.
#include "tests/support/stand_in_signature.h"
#include "tests/support/test_signer.h"

std::vector<std::uint8_t> TestSignature(std::span<const std::uint8_t> message) { return StandInSignature(message); }

const DetachedSignatureVerifier& TestSignatureVerifier() {
    static const StandInVerifier verifier;
    return verifier;
}
