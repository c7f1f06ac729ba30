#include "files/wic_win32.h"

#include <propidl.h>

#include "base/bounded_format.h"
#include "base/win32_handles.h"

namespace {

// Clears a PROPVARIANT on every path.
class PropVariant {
  public:
    PropVariant() { PropVariantInit(&value_); }
    ~PropVariant() { PropVariantClear(&value_); }
    PropVariant(const PropVariant&) = delete;
    PropVariant& operator=(const PropVariant&) = delete;

    PROPVARIANT* get() { return &value_; }
    const PROPVARIANT& operator*() const { return value_; }

  private:
    PROPVARIANT value_;
};

}  // namespace

bool makeImagingFactory(ComRef<IWICImagingFactory>& factory) {
    return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IWICImagingFactory,
                                      reinterpret_cast<void**>(factory.put())));
}

bool metadataNumber(IWICMetadataQueryReader* reader, const wchar_t* query, unsigned& value) {
    PropVariant item;
    if (reader == nullptr || FAILED(reader->GetMetadataByName(query, item.get()))) return false;
    switch ((*item).vt) {
        case VT_UI1:
            value = (*item).bVal;
            return true;
        case VT_UI2:
            value = (*item).uiVal;
            return true;
        case VT_UI4:
            value = (*item).ulVal;
            return true;
        case VT_BOOL:
            value = (*item).boolVal ? 1 : 0;
            return true;
        default:
            return false;
    }
}

std::string readFailure(HRESULT result) {
    switch (result) {
        case HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND):
        case HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND):
        case HRESULT_FROM_WIN32(ERROR_INVALID_NAME):
            return "does not exist";
        case HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED):
        case HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION):
            return "cannot be read (access denied or in use)";
        case WINCODEC_ERR_COMPONENTNOTFOUND:
        case WINCODEC_ERR_UNKNOWNIMAGEFORMAT:
            return "is not a PNG, BMP or GIF image";
        case E_OUTOFMEMORY:
            return "is too large to read";
        default: {
            char text[96];
            formatBounded(text, sizeof text, "is truncated or corrupt (error 0x%08lX)",
                          static_cast<unsigned long>(result));
            return text;
        }
    }
}

namespace {

// The first bytes of a file; fewer when it is shorter or cannot be read.
std::string fileStart(const std::wstring& path, DWORD bytes) {
    const FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.isOpen()) return {};
    std::string start(bytes, '\0');
    DWORD got = 0;
    if (!ReadFile(file.get(), start.data(), bytes, &got, nullptr)) got = 0;
    start.resize(got);
    return start;
}

}  // namespace

bool startsLikeOurFormats(const std::wstring& path) {
    const std::string start = fileStart(path, 8);
    return start == "\x89PNG\r\n\x1a\n" || start.rfind("GIF8", 0) == 0 || start.rfind("BM", 0) == 0;
}

bool startsLikeGif(const std::wstring& path) {
    return fileStart(path, 4) == "GIF8";
}
