#include "pictel/win32/wic_decoder.h"

#include <windows.h>
#include <wincodec.h>

#include <new>

#include "pictel/win32/com_ptr.h"

namespace orvane {

namespace {

// CLSID_WICImagingFactory2, IID_IWICImagingFactory, GUID_WICPixelFormat32bppBGRA.
constexpr CLSID kImagingFactoryClass = {0x317D06E8, 0x5F24, 0x433D, {0xBD, 0xF7, 0x79, 0xCE, 0x68, 0xD8, 0xAB, 0xC2}};
constexpr IID kImagingFactoryInterface = {0xEC5EC8A9, 0xC395, 0x4314, {0x9C, 0x77, 0x54, 0xD7, 0xA9, 0x35, 0xFF, 0x70}};
constexpr GUID kStraightBgra = {0x6FDDC324, 0x4E03, 0x4BFE, {0xB1, 0x85, 0x3D, 0x77, 0x76, 0x8D, 0xC9, 0x0F}};

// Decodes frame 0 and converts it to straight BGRA; null on any failure.
bool convertFirstFrame(IWICImagingFactory* factory, const uint8_t* bytes, size_t length,
                       ComPtr<IWICFormatConverter>& converter) {
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    return SUCCEEDED(factory->CreateStream(stream.out())) &&
           SUCCEEDED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes), DWORD(length))) &&
           SUCCEEDED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                      decoder.out())) &&
           SUCCEEDED(decoder->GetFrame(0, frame.out())) &&
           SUCCEEDED(factory->CreateFormatConverter(converter.out())) &&
           SUCCEEDED(converter->Initialize(frame.get(), kStraightBgra, WICBitmapDitherTypeNone, nullptr, 0.0,
                                           WICBitmapPaletteTypeCustom));
}

bool copyPixels(IWICFormatConverter* converter, Canvas& out) {
    UINT width = 0;
    UINT height = 0;
    if (FAILED(converter->GetSize(&width, &height))) return false;
    if (width == 0 || height == 0 || uint64_t(width) * height > uint64_t(kMaxCanvasPixels)) return false;
    Canvas canvas;
    canvas.width = int32_t(width);
    canvas.height = int32_t(height);
    try {
        canvas.pixels.assign(size_t(width) * height, 0u);
    } catch (const std::bad_alloc&) {
        return false;
    }
    const UINT stride = width * 4;
    if (FAILED(converter->CopyPixels(nullptr, stride, stride * height, reinterpret_cast<BYTE*>(canvas.pixels.data()))))
        return false;
    canvas.valid = true;
    out = std::move(canvas);
    return true;
}

}  // namespace

ImagingFactory::~ImagingFactory() {
    if (factory) factory->Release();
    if (mustUninitialize) CoUninitialize();
}

bool ensureImagingFactory(ImagingFactory& imaging) {
    if (imaging.factory) return true;
    if (!imaging.comInitialized) {
        imaging.comInitialized = true;
        imaging.mustUninitialize = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    }
    void* created = nullptr;
    if (FAILED(CoCreateInstance(kImagingFactoryClass, nullptr, CLSCTX_INPROC_SERVER, kImagingFactoryInterface,
                                &created)))
        return false;
    imaging.factory = static_cast<IWICImagingFactory*>(created);
    return imaging.factory != nullptr;
}

bool decodeImage(ImagingFactory& imaging, const uint8_t* bytes, size_t length, Canvas& out) {
    if (!ensureImagingFactory(imaging) || !bytes || length == 0 || length > MAXDWORD) return false;
    ComPtr<IWICFormatConverter> converter;
    return convertFirstFrame(imaging.factory, bytes, length, converter) && copyPixels(converter.get(), out);
}

}  // namespace orvane
