#include "shell/win32/gdiplus_artwork.h"

#include "document/document_texts.h"
#include "shell/files/safe_files.h"
#include "shell/win32/gdiplus_api.h"

#include <wincodec.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

namespace tanu::win32 {

namespace {

// Releases a COM interface with itself.
template <typename Interface> struct ComReleaser {
    void operator()(Interface* object) const { object->Release(); }
};
template <typename Interface> using ComPointer = std::unique_ptr<Interface, ComReleaser<Interface>>;

// COM for the length of one call, on a thread that may or may not have it already.
class ComUse {
public:
    ComUse() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComUse() {
        if (SUCCEEDED(result_)) {
            CoUninitialize();
        }
    }
    ComUse(const ComUse&) = delete;
    ComUse& operator=(const ComUse&) = delete;

private:
    HRESULT result_;
};

DecodedPicture failed(PictureFailure failure, std::u16string reason = {}) {
    return {nullptr, failure, std::move(reason), {}};
}

// The size the picture's header gives, without decoding its pixels: the imaging component opens
// the file or reads the stream; the failure otherwise.
template <typename Open> DecodedPicture headerSize(Open open) {
    const ComUse com;
    IWICImagingFactory* rawFactory = nullptr;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(&rawFactory)))) {
        return failed(PictureFailure::NotAPicture);
    }
    const ComPointer<IWICImagingFactory> factory(rawFactory);
    IWICBitmapDecoder* rawDecoder = nullptr;
    const HRESULT opened = open(*factory, &rawDecoder);
    if (FAILED(opened)) {
        if (HRESULT_FACILITY(opened) == FACILITY_WIN32) {
            return failed(PictureFailure::Unreadable,
                          files::systemReason(static_cast<unsigned long>(HRESULT_CODE(opened))));
        }
        return failed(PictureFailure::NotAPicture);
    }
    const ComPointer<IWICBitmapDecoder> decoder(rawDecoder);
    IWICBitmapFrameDecode* rawFrame = nullptr;
    if (FAILED(decoder->GetFrame(0, &rawFrame))) {
        return failed(PictureFailure::NotAPicture);
    }
    const ComPointer<IWICBitmapFrameDecode> frame(rawFrame);
    UINT width = 0;
    UINT height = 0;
    if (FAILED(frame->GetSize(&width, &height))) {
        return failed(PictureFailure::NotAPicture);
    }
    constexpr UINT Largest = 0x7FFFFFFF;
    return {
        nullptr,
        PictureFailure::None,
        {},
        {static_cast<int>(std::min(width, Largest)), static_cast<int>(std::min(height, Largest))}};
}

struct ReadPicture {
    GdiplusImage image;
    DecodedPicture result; // its failure and size; never its bitmap
};

bool tooLarge(PictureSize size, PictureSize largest) {
    return size.width > largest.width || size.height > largest.height;
}

ReadPicture readFile(const std::filesystem::path& path, PictureSize largest) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            return {{}, failed(PictureFailure::Missing)};
        }
        return {{}, failed(PictureFailure::Unreadable, files::systemReason(error))};
    }
    if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
        return {{}, failed(PictureFailure::Unreadable, std::u16string(NotRegularFileReason))};
    }
    DecodedPicture result =
        headerSize([&path](IWICImagingFactory& factory, IWICBitmapDecoder** out) {
            return factory.CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                     WICDecodeMetadataCacheOnDemand, out);
        });
    if (result.failure == PictureFailure::None && tooLarge(result.size, largest)) {
        result.failure = PictureFailure::TooLarge;
    }
    if (result.failure != PictureFailure::None) {
        return {{}, std::move(result)};
    }
    gdip::GpBitmap* bitmap = nullptr;
    // The native path is already UTF-16 on Windows.
    if (gdip::GdipCreateBitmapFromFile(path.c_str(), &bitmap) != Gdiplus::Ok || bitmap == nullptr) {
        if (bitmap != nullptr) {
            gdip::GdipDisposeImage(bitmap);
        }
        result.failure = PictureFailure::NotAPicture;
        return {{}, std::move(result)};
    }
    return {GdiplusImage(bitmap, nullptr), std::move(result)};
}

// A picture file's resource name: in capitals, "_" for "." and "@" (BACKGROUND_2X_PNG).
std::wstring resourceName(const std::wstring& fileName) {
    std::wstring name = fileName;
    for (wchar_t& c : name) {
        c = c == L'.' || c == L'@' ? L'_' : (c >= L'a' && c <= L'z' ? c - L'a' + L'A' : c);
    }
    return name;
}

// A picture from the program's RCDATA resources, by its file name.
ReadPicture readResource(const std::wstring& fileName, PictureSize largest) {
    const std::wstring name = resourceName(fileName);
    const HMODULE program = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(program, name.c_str(), MAKEINTRESOURCEW(10)); // RT_RCDATA
    HGLOBAL loaded = found != nullptr ? LoadResource(program, found) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
        return {{}, failed(PictureFailure::Missing)};
    }
    // The stream holds its own copy of the bytes, and GDI+ reads it for as long as the bitmap
    // lives.
    const DWORD size = SizeofResource(program, found);
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    void* target = copy != nullptr ? GlobalLock(copy) : nullptr;
    IStream* stream = nullptr;
    if (target != nullptr) {
        std::memcpy(target, bytes, size);
        GlobalUnlock(copy);
    }
    if (target == nullptr || FAILED(CreateStreamOnHGlobal(copy, TRUE, &stream))) {
        if (copy != nullptr) {
            GlobalFree(copy);
        }
        return {{}, failed(PictureFailure::Unreadable, files::systemReason(ERROR_OUTOFMEMORY))};
    }
    GdiplusImage owner(nullptr, stream);
    DecodedPicture result =
        headerSize([stream](IWICImagingFactory& factory, IWICBitmapDecoder** out) {
            return factory.CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand,
                                                   out);
        });
    if (result.failure == PictureFailure::None && tooLarge(result.size, largest)) {
        result.failure = PictureFailure::TooLarge;
    }
    const LARGE_INTEGER start{};
    gdip::GpBitmap* bitmap = nullptr;
    if (result.failure != PictureFailure::None ||
        FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr)) ||
        gdip::GdipCreateBitmapFromStream(stream, &bitmap) != Gdiplus::Ok || bitmap == nullptr) {
        if (bitmap != nullptr) {
            gdip::GdipDisposeImage(bitmap);
        }
        if (result.failure == PictureFailure::None) {
            result.failure = PictureFailure::NotAPicture;
        }
        return {{}, std::move(result)};
    }
    stream->AddRef(); // the picture's own reference; `owner` drops its one
    return {GdiplusImage(bitmap, stream), std::move(result)};
}

// The picture, with its double-size companion where that is exactly twice its size.
template <typename Read> DecodedPicture decode(Read read, bool doubleSize, PictureSize largest) {
    ReadPicture picture = read(false, largest);
    if (picture.result.failure != PictureFailure::None) {
        return std::move(picture.result);
    }
    GdiplusImage twice;
    if (doubleSize) {
        // A double-size file that cannot be used is simply not used: the 1x picture is.
        ReadPicture companion = read(true, largest);
        if (companion.result.failure == PictureFailure::None &&
            companion.result.size.width == 2 * picture.result.size.width &&
            companion.result.size.height == 2 * picture.result.size.height) {
            twice = std::move(companion.image);
        }
    }
    DecodedPicture result = std::move(picture.result);
    result.bitmap = std::make_unique<GdiplusBitmap>(std::move(picture.image), std::move(twice));
    return result;
}

} // namespace

GdiplusSession::GdiplusSession() {
    // Version 1, no debug callback, GDI+'s own background thread and external codecs allowed.
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    started_ = Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    token_ = token;
}

GdiplusSession::~GdiplusSession() {
    if (started_) {
        Gdiplus::GdiplusShutdown(token_);
    }
}

GdiplusImage::~GdiplusImage() {
    if (bitmap_ != nullptr) {
        gdip::GdipDisposeImage(bitmap_);
    }
    if (stream_ != nullptr) {
        stream_->Release();
    }
}

GdiplusImage::GdiplusImage(GdiplusImage&& other) noexcept
    : bitmap_(std::exchange(other.bitmap_, nullptr)),
      stream_(std::exchange(other.stream_, nullptr)) {}

GdiplusImage& GdiplusImage::operator=(GdiplusImage&& other) noexcept {
    if (this != &other) {
        GdiplusImage gone(std::move(*this));
        bitmap_ = std::exchange(other.bitmap_, nullptr);
        stream_ = std::exchange(other.stream_, nullptr);
    }
    return *this;
}

Gdiplus::GpBitmap* GdiplusBitmap::handleFor(float scale) const {
    constexpr float DoubleSizeAbove = 1.25f;
    return scale > DoubleSizeAbove && doubleSize_.handle() != nullptr ? doubleSize_.handle()
                                                                      : image_.handle();
}

DecodedPicture GdiplusImageDecoder::decodeFile(const std::filesystem::path& path,
                                               PictureSize largest) {
    return decode(
        [&path](bool twice, PictureSize limit) {
            return readFile(twice ? doubleSizePath(path) : path, limit);
        },
        doubleSize_, largest);
}

DecodedPicture GdiplusImageDecoder::decodeBuiltIn(std::u16string_view fileName,
                                                  PictureSize largest) {
    const std::filesystem::path name(std::wstring(fileName.begin(), fileName.end()));
    return decode(
        [&name](bool twice, PictureSize limit) {
            return readResource((twice ? doubleSizePath(name) : name).native(), limit);
        },
        doubleSize_, largest);
}

} // namespace tanu::win32
