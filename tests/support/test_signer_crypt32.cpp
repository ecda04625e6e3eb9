// The signer under Windows and Wine: crypt32's CryptSignMessage, SHA-256, with a throwaway key.
#include "tests/support/test_signer.h"

#include <windows.h>
#include <stdexcept>
#include <string>
#include <wincrypt.h>

namespace {

[[noreturn]] void Fail(const char* step) {
    throw std::runtime_error(std::string("the test signer: ") + step + " failed, error " +
                             std::to_string(GetLastError()));
}

// A 2048-bit RSA key in a key container of its own and a self-signed certificate for it; both go at exit.
class ThrowawaySigner {
public:
    ThrowawaySigner() : container_(L"kavlo-test-signer-" + std::to_wstring(GetCurrentProcessId())) {
        HCRYPTPROV old = 0;  // left by a run that ended early
        CryptAcquireContextW(&old, container_.c_str(), MS_ENH_RSA_AES_PROV_W, PROV_RSA_AES, CRYPT_DELETEKEYSET);
        if (!CryptAcquireContextW(&provider_, container_.c_str(), MS_ENH_RSA_AES_PROV_W, PROV_RSA_AES, CRYPT_NEWKEYSET))
            Fail("CryptAcquireContext");
        if (!CryptGenKey(provider_, AT_SIGNATURE, 2048u << 16, &key_)) Fail("CryptGenKey");

        BYTE name[256];
        CERT_NAME_BLOB subject{sizeof name, name};
        if (!CertStrToNameW(X509_ASN_ENCODING, L"CN=Kavlo Test Publisher", CERT_X500_NAME_STR, nullptr, name,
                            &subject.cbData, nullptr))
            Fail("CertStrToName");
        CRYPT_KEY_PROV_INFO key_info{};
        key_info.pwszContainerName = container_.data();
        key_info.pwszProvName = const_cast<wchar_t*>(MS_ENH_RSA_AES_PROV_W);
        key_info.dwProvType = PROV_RSA_AES;
        key_info.dwKeySpec = AT_SIGNATURE;
        CRYPT_ALGORITHM_IDENTIFIER algorithm{};
        algorithm.pszObjId = const_cast<char*>(szOID_RSA_SHA256RSA);
        certificate_ =
            CertCreateSelfSignCertificate(provider_, &subject, 0, &key_info, &algorithm, nullptr, nullptr, nullptr);
        if (!certificate_) Fail("CertCreateSelfSignCertificate");
        // The signing takes the key from this very context: Wine's rsaenh stores a new key only once its context is
        // released, so another context opened on the container would find none.
        CERT_KEY_CONTEXT key_context{sizeof key_context, {provider_}, AT_SIGNATURE};
        if (!CertSetCertificateContextProperty(certificate_, CERT_KEY_CONTEXT_PROP_ID, CERT_STORE_NO_CRYPT_RELEASE_FLAG,
                                               &key_context))
            Fail("CertSetCertificateContextProperty");
    }
    ~ThrowawaySigner() {
        CertFreeCertificateContext(certificate_);
        CryptDestroyKey(key_);
        CryptReleaseContext(provider_, 0);
        HCRYPTPROV deleted = 0;
        CryptAcquireContextW(&deleted, container_.c_str(), MS_ENH_RSA_AES_PROV_W, PROV_RSA_AES, CRYPT_DELETEKEYSET);
    }
    ThrowawaySigner(const ThrowawaySigner&) = delete;
    ThrowawaySigner& operator=(const ThrowawaySigner&) = delete;

    std::vector<std::uint8_t> Sign(std::span<const std::uint8_t> message) const {
        CRYPT_SIGN_MESSAGE_PARA parameters{};
        parameters.cbSize = sizeof parameters;
        parameters.dwMsgEncodingType = X509_ASN_ENCODING | PKCS_7_ASN_ENCODING;
        parameters.pSigningCert = certificate_;
        parameters.HashAlgorithm.pszObjId = const_cast<char*>(szOID_NIST_sha256);
        PCCERT_CONTEXT carried[] = {certificate_};
        parameters.cMsgCert = 1;
        parameters.rgpMsgCert = carried;
        const BYTE* parts[] = {message.data()};
        DWORD part_sizes[] = {static_cast<DWORD>(message.size())};
        DWORD size = 0;
        if (!CryptSignMessage(&parameters, TRUE, 1, parts, part_sizes, nullptr, &size)) Fail("CryptSignMessage");
        std::vector<std::uint8_t> signature(size);
        if (!CryptSignMessage(&parameters, TRUE, 1, parts, part_sizes, signature.data(), &size))
            Fail("CryptSignMessage");
        signature.resize(size);
        return signature;
    }

private:
    std::wstring container_;
    HCRYPTPROV provider_ = 0;
    HCRYPTKEY key_ = 0;
    PCCERT_CONTEXT certificate_ = nullptr;
};

}  // namespace

std::vector<std::uint8_t> TestSignature(std::span<const std::uint8_t> message) {
    static const ThrowawaySigner signer;
    return signer.Sign(message);
}

const DetachedSignatureVerifier& TestSignatureVerifier() { return SystemSignatureVerifier(); }
