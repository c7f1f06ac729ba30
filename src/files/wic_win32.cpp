#include "files/wic_win32.h"

#include <propidl.h>

#include <cstring>

#include "base/bounded_format.h"

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

std::string utf8Name(const std::wstring& path) {
    const int length = static_cast<int>(path.size());
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, path.data(), length, nullptr, 0, nullptr, nullptr);
    std::string name(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0) {
        WideCharToMultiByte(CP_UTF8, 0, path.data(), length, name.data(), bytes, nullptr, nullptr);
    }
    return name;
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

bool startsLikeOurFormats(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    char start[8] = {};
    DWORD got = 0;
    const BOOL read = ReadFile(file, start, sizeof start, &got, nullptr);
    CloseHandle(file);
    if (!read) return false;
    return (got >= 8 && std::memcmp(start, "\x89PNG\r\n\x1a\n", 8) == 0) ||
           (got >= 4 && std::memcmp(start, "GIF8", 4) == 0) ||
           (got >= 2 && std::memcmp(start, "BM", 2) == 0);
}
