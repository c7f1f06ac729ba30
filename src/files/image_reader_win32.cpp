// readImageFile: PNG, BMP and GIF through WIC's decoders.
//
// Measured under Wine 8: palette PNGs come at their own depth (1, 2 and 4 bits
// are not unpacked) with tRNS folded into the palette's alpha; a PNG cut short
// or with a broken chunk finds no decoder at all (WINCODEC_ERR_UNKNOWNIMAGEFORMAT),
// hence the look at its first bytes; an RLE8 BMP comes as 32bppBGR (so it is
// indexed exactly: same colours, indices by first appearance), a 32-bit BMP
// with an alpha mask as 32bppBGRA; GIF frames are their own rectangles, and
// their palettes carry no transparency: the control extension's index does.
#include <algorithm>

#include "base/bounded_format.h"
#include "base/wide_text.h"
#include "files/gif_composition.h"
#include "files/image_file.h"
#include "files/wic_win32.h"

namespace {

// A GIF's frames each become an image (a DIB section and a drawing context):
// this keeps a hostile file within the process's GDI handles.
constexpr UINT kMaxGifFrames = 1024;

class Reader {
  public:
    Reader(IWICImagingFactory* factory, const std::wstring& path, std::string& error)
        : factory_(factory), name_(utf8FromWide(path)), error_(error) {}

    bool fail(const std::string& why) {
        error_ = "ERROR: " + name_ + " " + why;
        return false;
    }
    bool failed(HRESULT result) { return fail(readFailure(result)); }

    // Refuses sizes no image may have (a hostile header costs nothing here).
    bool sizeAllowed(UINT width, UINT height, UINT frames = 1) {
        if (width == 0 || height == 0) return fail("is truncated or corrupt (no pixels)");
        char why[200];
        if (!imageSizeAllowed(width, height)) {
            formatBounded(why, sizeof why,
                          "is %u x %u pixels; Marlune works on images of at most %lld x %lld "
                          "and %lld Mi pixels",
                          width, height, static_cast<long long>(kMaxImageSide),
                          static_cast<long long>(kMaxImageSide),
                          static_cast<long long>(kMaxImageBytes >> 20));
            return fail(why);
        }
        if (strideFor(width) * height * std::int64_t{frames} > kMaxImageBytes) {
            formatBounded(why, sizeof why, "has %u frames of %u x %u pixels, over %lld Mi in all",
                          frames, width, height, static_cast<long long>(kMaxImageBytes >> 20));
            return fail(why);
        }
        return true;
    }

    bool tooManyColours(std::int64_t colours) {
        const std::string count = colours >= kColourCountCap
                                      ? "over " + std::to_string(kColourCountCap)
                                      : std::to_string(colours);
        return fail("has " + count + " colours; Marlune works on images of at most 256 colours");
    }

    // The frame's colour table; alpha as the decoder gives it.
    bool readPalette(IWICBitmapFrameDecode* frame, std::array<Argb, kMaxColours>& colours,
                     int& count) {
        ComRef<IWICPalette> palette;
        UINT got = 0;
        HRESULT result = factory_->CreatePalette(palette.put());
        if (SUCCEEDED(result)) result = frame->CopyPalette(palette.get());
        if (SUCCEEDED(result)) result = palette->GetColors(kMaxColours, colours.data(), &got);
        if (FAILED(result)) return failed(result);
        count = static_cast<int>(got);
        return true;
    }

    // The frame's pixels at `bits` per index, unpacked to one byte each.
    bool readIndices(IWICBitmapSource* frame, UINT width, UINT height, int bits,
                     std::vector<std::uint8_t>& indices) {
        const std::size_t stride = (std::size_t{width} * bits + 7) / 8;
        std::vector<std::uint8_t> packed(stride * height);
        const HRESULT result = frame->CopyPixels(nullptr, static_cast<UINT>(stride),
                                                 static_cast<UINT>(packed.size()), packed.data());
        if (FAILED(result)) return failed(result);
        if (bits == 8) {
            indices = std::move(packed);
            return true;
        }
        indices.resize(std::size_t{width} * height);
        const int perByte = 8 / bits;
        const int mask = (1 << bits) - 1;
        for (std::size_t y = 0; y < height; ++y) {
            const std::uint8_t* row = packed.data() + y * stride;
            for (std::size_t x = 0; x < width; ++x) {
                const int shift = 8 - bits * (static_cast<int>(x % perByte) + 1);
                indices[y * width + x] =
                    static_cast<std::uint8_t>(row[x / perByte] >> shift & mask);
            }
        }
        return true;
    }

    // Frame `index` of the file, its size and its pixel format.
    bool openFrame(IWICBitmapDecoder* decoder, UINT index, ComRef<IWICBitmapFrameDecode>& frame,
                   UINT& width, UINT& height, WICPixelFormatGUID& format) {
        HRESULT result = decoder->GetFrame(index, frame.put());
        if (SUCCEEDED(result)) result = frame->GetSize(&width, &height);
        if (SUCCEEDED(result)) result = frame->GetPixelFormat(&format);
        return SUCCEEDED(result) || failed(result);
    }

    // A PNG or BMP: palette formats keep their indices, others are indexed exactly.
    bool readStill(IWICBitmapDecoder* decoder, bool isBmp, IndexedPicture& picture) {
        ComRef<IWICBitmapFrameDecode> frame;
        UINT width = 0, height = 0;
        WICPixelFormatGUID format{};
        if (!openFrame(decoder, 0, frame, width, height, format)) return false;
        if (!sizeAllowed(width, height)) return false;
        picture.width = static_cast<int>(width);
        picture.height = static_cast<int>(height);
        picture.frames.resize(1);
        const int bits = indexedBits(format);
        if (bits == 0) return readTruecolour(frame.get(), picture);
        int count = 0;
        if (!readPalette(frame.get(), picture.palette, count)) return false;
        // A BMP's fourth palette byte is reserved, not alpha.
        if (isBmp) {
            for (Argb& colour : picture.palette) colour |= 0xFF000000u;
        }
        std::fill(picture.palette.begin() + count, picture.palette.end(), 0xFF000000u);
        return readIndices(frame.get(), width, height, bits, picture.frames[0]);
    }

    bool readTruecolour(IWICBitmapFrameDecode* frame, IndexedPicture& picture) {
        ComRef<IWICFormatConverter> converter;
        HRESULT result = factory_->CreateFormatConverter(converter.put());
        if (SUCCEEDED(result)) {
            result =
                converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                                      nullptr, 0.0, WICBitmapPaletteTypeCustom);
        }
        const std::size_t count = std::size_t(picture.width) * picture.height;
        std::vector<Argb> pixels(count);
        if (SUCCEEDED(result)) {
            result = converter->CopyPixels(nullptr, static_cast<UINT>(picture.width * 4),
                                           static_cast<UINT>(count * 4),
                                           reinterpret_cast<BYTE*>(pixels.data()));
        }
        if (FAILED(result)) return failed(result);
        const TruecolourView view{pixels.data(), picture.width, picture.height};
        ExactPalette palette;
        std::int64_t colours = 0;
        if (!indexExactly({&view, 1}, palette, picture.frames, colours)) {
            return tooManyColours(colours);
        }
        std::copy_n(palette.colours.begin(), palette.count, picture.palette.begin());
        return true;
    }

    bool readGif(IWICBitmapDecoder* decoder, bool allFrames, IndexedPicture& picture) {
        UINT frameCount = 0;
        HRESULT result = decoder->GetFrameCount(&frameCount);
        if (FAILED(result)) return failed(result);
        if (frameCount == 0) return fail("is truncated or corrupt (no frames)");
        if (frameCount > kMaxGifFrames) {
            return fail("has " + std::to_string(frameCount) + " frames; Marlune reads at most " +
                        std::to_string(kMaxGifFrames));
        }
        const UINT wanted = allFrames ? frameCount : 1;
        std::vector<GifFrame> frames(wanted);
        std::int64_t pixels = 0;
        for (UINT i = 0; i < wanted; ++i) {
            if (!readGifFrame(decoder, i, frames[i])) return false;
            pixels += std::int64_t{frames[i].width} * frames[i].height;
            if (pixels > kMaxImageBytes) {
                return fail("holds over " + std::to_string(kMaxImageBytes >> 20) +
                            " Mi pixels in its frames");
            }
        }
        GifScreen screen;
        if (!gifScreen(decoder, frames.front(), screen)) return false;
        if (!sizeAllowed(static_cast<UINT>(screen.width), static_cast<UINT>(screen.height),
                         wanted)) {
            return false;
        }
        std::int64_t colours = 0;
        if (!composeGif(screen, frames, picture, colours)) return tooManyColours(colours);
        return true;
    }

  private:
    static int indexedBits(const WICPixelFormatGUID& format) {
        if (format == GUID_WICPixelFormat1bppIndexed) return 1;
        if (format == GUID_WICPixelFormat2bppIndexed) return 2;
        if (format == GUID_WICPixelFormat4bppIndexed) return 4;
        if (format == GUID_WICPixelFormat8bppIndexed) return 8;
        return 0;
    }

    // The logical screen; a file whose descriptor cannot be read is shown at
    // its first frame's size.
    bool gifScreen(IWICBitmapDecoder* decoder, const GifFrame& first, GifScreen& screen) {
        ComRef<IWICMetadataQueryReader> metadata;
        unsigned width = 0, height = 0, background = 0;
        if (SUCCEEDED(decoder->GetMetadataQueryReader(metadata.put())) &&
            metadataNumber(metadata.get(), L"/logscrdesc/Width", width) &&
            metadataNumber(metadata.get(), L"/logscrdesc/Height", height) && width > 0 &&
            height > 0) {
            metadataNumber(metadata.get(), L"/logscrdesc/BackgroundColorIndex", background);
            screen = {static_cast<int>(width), static_cast<int>(height),
                      static_cast<int>(std::min(background, 255u))};
            return true;
        }
        screen = {first.left + first.width, first.top + first.height, 0};
        return true;
    }

    bool readGifFrame(IWICBitmapDecoder* decoder, UINT index, GifFrame& gif) {
        ComRef<IWICBitmapFrameDecode> frame;
        UINT width = 0, height = 0;
        WICPixelFormatGUID format{};
        if (!openFrame(decoder, index, frame, width, height, format)) return false;
        if (format != GUID_WICPixelFormat8bppIndexed)
            return fail("has a GIF frame that is not indexed");
        if (!sizeAllowed(width, height)) return false;
        gif.width = static_cast<int>(width);
        gif.height = static_cast<int>(height);
        ComRef<IWICMetadataQueryReader> metadata;
        if (SUCCEEDED(frame->GetMetadataQueryReader(metadata.put()))) {
            unsigned left = 0, top = 0, disposal = 0, transparent = 0, colour = 0;
            metadataNumber(metadata.get(), L"/imgdesc/Left", left);
            metadataNumber(metadata.get(), L"/imgdesc/Top", top);
            gif.left = static_cast<int>(std::min(left, 65535u));
            gif.top = static_cast<int>(std::min(top, 65535u));
            metadataNumber(metadata.get(), L"/grctlext/Disposal", disposal);
            gif.disposal = disposal == 2   ? GifDisposal::background
                           : disposal == 3 ? GifDisposal::previous
                                           : GifDisposal::keep;
            if (metadataNumber(metadata.get(), L"/grctlext/TransparencyFlag", transparent) &&
                transparent != 0 &&
                metadataNumber(metadata.get(), L"/grctlext/TransparentColorIndex", colour)) {
                gif.transparentIndex = static_cast<int>(std::min(colour, 255u));
            }
        }
        return readPalette(frame.get(), gif.palette, gif.paletteCount) &&
               readIndices(frame.get(), width, height, 8, gif.indices);
    }

    IWICImagingFactory* factory_;
    std::string name_;
    std::string& error_;
};

}  // namespace

bool readImageFile(const std::wstring& path, HWND owner, bool allFrames, ImageFile& file,
                   std::string& error) {
    ComRef<IWICImagingFactory> factory;
    if (!makeImagingFactory(factory)) {
        error = "ERROR: " + utf8FromWide(path) +
                " cannot be read: the Windows Imaging Component is not available";
        return false;
    }
    Reader wic(factory.get(), path, error);
    ComRef<IWICBitmapDecoder> decoder;
    GUID container{};
    HRESULT result = factory->CreateDecoderFromFilename(
        path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand, decoder.put());
    if (SUCCEEDED(result)) result = decoder->GetContainerFormat(&container);
    if ((result == WINCODEC_ERR_COMPONENTNOTFOUND || result == WINCODEC_ERR_UNKNOWNIMAGEFORMAT) &&
        startsLikeOurFormats(path)) {
        return wic.fail("is truncated or corrupt (its header cannot be read)");
    }
    if (FAILED(result)) return wic.failed(result);
    IndexedPicture picture;
    if (container == GUID_ContainerFormatGif) {
        if (!wic.readGif(decoder.get(), allFrames, picture)) return false;
    } else if (container == GUID_ContainerFormatPng || container == GUID_ContainerFormatBmp) {
        if (!wic.readStill(decoder.get(), container == GUID_ContainerFormatBmp, picture)) {
            return false;
        }
    } else {
        return wic.failed(WINCODEC_ERR_COMPONENTNOTFOUND);
    }
    if (!makeImageFile(picture, owner, file)) return wic.fail("cannot be held in memory");
    return true;
}

bool readFrameCount(const std::wstring& path, unsigned& frames, std::string& error) {
    frames = 1;
    if (!startsLikeGif(path)) return true;
    ComRef<IWICImagingFactory> factory;
    ComRef<IWICBitmapDecoder> decoder;
    UINT count = 0;
    HRESULT result = makeImagingFactory(factory) ? S_OK : REGDB_E_CLASSNOTREG;
    if (SUCCEEDED(result)) {
        result = factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                    WICDecodeMetadataCacheOnDemand, decoder.put());
    }
    if (SUCCEEDED(result)) result = decoder->GetFrameCount(&count);
    if (FAILED(result)) {
        error = "ERROR: " + utf8FromWide(path) + " " + readFailure(result);
        return false;
    }
    frames = count;
    return true;
}
