#include "platform/accessible_names.h"

#include "platform/system_library.h"

#include <oleacc.h>

namespace {
constexpr CLSID kAccPropServicesClass = {0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr IID kAccPropServicesInterface = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID kNameProperty = {0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};

std::function<void(HWND, const std::wstring&)> recorder_for_tests;

// Windows' annotation service, made by the system folder's oleacc.dll itself rather than looked up in the registry,
// where a per-user entry could name another DLL. Made on first use; the object is released before the DLL that
// holds its code can go (the member order sees to that), or earlier, by ReleaseScreenReaderNames.
class AnnotationService {
public:
    AnnotationService() {
        using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
        const auto get_class_object = oleacc_.Find<GetClassObject>("DllGetClassObject");
        IClassFactory* factory = nullptr;
        if (!get_class_object ||
            FAILED(get_class_object(kAccPropServicesClass, IID_IClassFactory, reinterpret_cast<void**>(&factory))))
            return;
        if (FAILED(factory->CreateInstance(nullptr, kAccPropServicesInterface, reinterpret_cast<void**>(&service_))))
            service_ = nullptr;
        factory->Release();
    }
    ~AnnotationService() { Release(); }
    AnnotationService(const AnnotationService&) = delete;
    AnnotationService& operator=(const AnnotationService&) = delete;

    IAccPropServices* get() const { return service_; }
    void Release() {
        if (service_) service_->Release();
        service_ = nullptr;
    }

private:
    SystemLibrary oleacc_{L"oleacc.dll"};  // declared first: freed last
    IAccPropServices* service_ = nullptr;
};

bool released = false;
AnnotationService* made = nullptr;

// The service; nullptr where it is missing, or once released.
IAccPropServices* Service() {
    if (released) return nullptr;
    static AnnotationService service;
    made = &service;
    return service.get();
}
}  // namespace

void NameForScreenReaders(HWND hwnd, const std::wstring& name) {
    if (recorder_for_tests) {
        recorder_for_tests(hwnd, name);
        return;
    }
    if (IAccPropServices* service = Service())
        service->SetHwndPropStr(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, kNameProperty, name.c_str());
}

void ForgetScreenReaderName(HWND hwnd) {
    if (recorder_for_tests) return;
    MSAAPROPID properties[] = {kNameProperty};
    if (IAccPropServices* service = Service())
        service->ClearHwndProps(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, properties, 1);
}

void SetScreenReaderNamesForTests(std::function<void(HWND, const std::wstring&)> recorder) {
    recorder_for_tests = std::move(recorder);
}

void ReleaseScreenReaderNames() {
    released = true;
    if (made) made->Release();
}
