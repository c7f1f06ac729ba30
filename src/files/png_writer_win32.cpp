// writePngFile: an indexed PNG through WIC's encoder, written beside the
// target under a temporary name and renamed over it when complete.
//
// Wine 8's encoder (measured): the frame is made at the first WritePixels, so
// the palette must be set before it (after it: WINCODEC_ERR_WRONGSTATE); a
// pixel format it does not take is silently replaced, so the format that
// SetPixelFormat hands back is checked; tRNS is written up to the last entry
// whose alpha is not 0xFF.
#include <algorithm>

#include "base/bounded_format.h"
#include "base/text_file.h"
#include "base/wide_text.h"
#include "files/image_file.h"
#include "files/png_plan.h"
#include "files/wic_win32.h"

namespace {

// Rows handed to WritePixels at a time: bounded memory for any image.
constexpr int kBandRows = 256;

WICPixelFormatGUID indexedFormat(int bits) {
    switch (bits) {
        case 1:
            return GUID_WICPixelFormat1bppIndexed;
        case 2:
            return GUID_WICPixelFormat2bppIndexed;
        case 4:
            return GUID_WICPixelFormat4bppIndexed;
        default:
            return GUID_WICPixelFormat8bppIndexed;
    }
}

// The whole PNG into `stream`; the stream's file is complete once this
// returns S_OK and the stream is released.
HRESULT encode(IWICImagingFactory* factory, IWICStream* stream, const IndexedImage& image,
               const PngPlan& plan) {
    ComRef<IWICBitmapEncoder> encoder;
    ComRef<IWICBitmapFrameEncode> frame;
    ComRef<IPropertyBag2> options;
    ComRef<IWICPalette> palette;
    HRESULT result = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put());
    if (SUCCEEDED(result)) result = encoder->Initialize(stream, WICBitmapEncoderNoCache);
    if (SUCCEEDED(result)) result = encoder->CreateNewFrame(frame.put(), options.put());
    if (SUCCEEDED(result)) result = frame->Initialize(options.get());
    if (SUCCEEDED(result)) result = frame->SetSize(image.width, image.height);
    WICPixelFormatGUID format = indexedFormat(plan.bitsPerPixel);
    if (SUCCEEDED(result)) result = frame->SetPixelFormat(&format);
    if (SUCCEEDED(result) && format != indexedFormat(plan.bitsPerPixel)) {
        result = WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT;
    }
    if (SUCCEEDED(result)) result = factory->CreatePalette(palette.put());
    if (SUCCEEDED(result)) {
        std::vector<WICColor> colours(plan.palette.begin(), plan.palette.end());
        result = palette->InitializeCustom(colours.data(), static_cast<UINT>(colours.size()));
    }
    if (SUCCEEDED(result)) result = frame->SetPalette(palette.get());
    std::vector<BYTE> band(plan.rowBytes * kBandRows);
    for (int top = 0; SUCCEEDED(result) && top < image.height; top += kBandRows) {
        const int rows = std::min(kBandRows, image.height - top);
        for (int y = 0; y < rows; ++y)
            packRow(image, top + y, plan, band.data() + y * plan.rowBytes);
        result = frame->WritePixels(static_cast<UINT>(rows), static_cast<UINT>(plan.rowBytes),
                                    static_cast<UINT>(rows * plan.rowBytes), band.data());
    }
    if (SUCCEEDED(result)) result = frame->Commit();
    if (SUCCEEDED(result)) result = encoder->Commit();
    return result;
}

}  // namespace

bool writePngFile(const std::wstring& path, const IndexedImage& image, const PaletteAlpha& alpha,
                  std::string& error) {
    const std::string name = utf8FromWide(path);
    const auto fail = [&](const std::string& why) {
        error = "ERROR: " + name + " cannot be written: " + why;
        return false;
    };
    if (!image.valid) return fail("there is no image");
    ComRef<IWICImagingFactory> factory;
    if (!makeImagingFactory(factory)) return fail("the Windows Imaging Component is not available");
    TemporaryFile temporary(path);
    if (temporary.path().empty()) return fail("its folder does not exist or is not writable");
    HRESULT result = S_OK;
    {
        ComRef<IWICStream> stream;
        result = factory->CreateStream(stream.put());
        if (SUCCEEDED(result)) {
            result = stream->InitializeFromFilename(temporary.path().c_str(), GENERIC_WRITE);
        }
        if (SUCCEEDED(result))
            result = encode(factory.get(), stream.get(), image, planIndexedPng(image, alpha));
    }  // the stream closes its file here, before the rename
    if (FAILED(result)) {
        char code[16];
        formatBounded(code, sizeof code, "0x%08lX", static_cast<unsigned long>(result));
        return fail(std::string("the PNG encoder failed (error ") + code + ")");
    }
    if (!temporary.renameTo(path)) {
        return fail("it could not replace the file there (error " + std::to_string(GetLastError()) +
                    ")");
    }
    return true;
}
