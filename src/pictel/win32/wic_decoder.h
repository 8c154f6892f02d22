#pragma once

#include <cstddef>
#include <cstdint>

#include "pictel/canvas.h"

struct IWICImagingFactory;

namespace orvane {

// The imaging factory of the user-interface thread, made on first use and
// kept until the owner goes.
struct ImagingFactory {
    ImagingFactory() = default;
    ImagingFactory(const ImagingFactory&) = delete;
    ImagingFactory& operator=(const ImagingFactory&) = delete;
    ~ImagingFactory();

    IWICImagingFactory* factory = nullptr;
    bool comInitialized = false;     // the apartment was set up (tried once)
    bool mustUninitialize = false;   // and this owner's call did it
};

// Initialises COM for the thread the first time, then creates the factory;
// a failure is retried at the next call.
bool ensureImagingFactory(ImagingFactory& imaging);

// The first frame of an encoded image as 32-bit BGRA with straight alpha,
// at most kMaxCanvasPixels. out changes only on success.
bool decodeImage(ImagingFactory& imaging, const uint8_t* bytes, size_t length, Canvas& out);

}  // namespace orvane
