#include "platform/signature.h"

#include "platform/system_library.h"

#include <climits>
#include <wincrypt.h>

namespace {

using VerifyDetachedFunction = BOOL(WINAPI*)(PCRYPT_VERIFY_MESSAGE_PARA, DWORD, const BYTE*, DWORD, DWORD,
                                             const BYTE*[], DWORD[], PCCERT_CONTEXT*);

class Crypt32Verifier final : public DetachedSignatureVerifier {
public:
    bool Verifies(std::span<const std::uint8_t> signature, std::span<const std::uint8_t> message) const override {
        static const SystemLibrary crypt32(L"crypt32.dll");
        static const auto verify = crypt32.Find<VerifyDetachedFunction>("CryptVerifyDetachedMessageSignature");
        if (!verify || signature.empty() || signature.size() > UINT_MAX || message.size() > UINT_MAX) return false;
        CRYPT_VERIFY_MESSAGE_PARA parameters{};
        parameters.cbSize = sizeof parameters;
        parameters.dwMsgAndCertEncodingType = X509_ASN_ENCODING | PKCS_7_ASN_ENCODING;
        const BYTE* parts[] = {message.data()};
        DWORD part_sizes[] = {static_cast<DWORD>(message.size())};
        // Signer 0: the first, and for rdpsign's signatures the only one. The certificate it finds in the signature.
        return verify(&parameters, 0, signature.data(), static_cast<DWORD>(signature.size()), 1, parts, part_sizes,
                      nullptr) != FALSE;
    }
};

}  // namespace

const DetachedSignatureVerifier& SystemSignatureVerifier() {
    static const Crypt32Verifier verifier;
    return verifier;
}
