#pragma once
// Whether a detached PKCS#7 signature holds for a message. The interface includes no Windows header, so the rules
// that use it build and run anywhere with a stand-in; the system's verifier is crypt32's.
#include <cstdint>
#include <span>

class DetachedSignatureVerifier {
public:
    virtual ~DetachedSignatureVerifier() = default;
    // `signature` is DER PKCS#7 SignedData without its content; true when one of its signers signed `message`, as
    // the certificate the signature carries shows. Integrity only: whether that signer is trusted is not asked.
    virtual bool Verifies(std::span<const std::uint8_t> signature, std::span<const std::uint8_t> message) const = 0;
};

// CryptVerifyDetachedMessageSignature from the system folder's crypt32.dll, loaded on first use. Where crypt32 or
// the function is missing nothing verifies.
const DetachedSignatureVerifier& SystemSignatureVerifier();
