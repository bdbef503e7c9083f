#include "imaging/SkinReader.h"

#include <wincodec.h>
#include <windows.h>

#include <memory>
#include <new>

#include "framework/LateBound.h"
#include "imaging/PixelOps.h"

namespace {

LateBound<decltype(::CoInitializeEx)> g_coInitializeEx("ole32.dll", "CoInitializeEx");
LateBound<decltype(::CoUninitialize)> g_coUninitialize("ole32.dll", "CoUninitialize");
LateBound<decltype(::CoCreateInstance)> g_coCreateInstance("ole32.dll", "CoCreateInstance");

// Spelled out here, so that nothing links against windowscodecs or uuid.
// The first factory: every system with the imaging component has it.
const GUID kImagingFactoryClass = {
    0xcacaf262, 0x9370, 0x4615, {0xa1, 0x3b, 0x9f, 0x55, 0x39, 0xda, 0x4c, 0x0a}};
const IID kImagingFactoryInterface = {
    0xec5ec8a9, 0xc395, 0x4314, {0x9c, 0x77, 0x54, 0xd7, 0xa9, 0x35, 0xff, 0x70}};
const GUID kPngContainer = {
    0x1b7cfaf4, 0x713f, 0x473c, {0xbb, 0xcd, 0x61, 0x37, 0x42, 0x5f, 0xae, 0xaf}};
const GUID kPixelFormatBgra = {
    0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x0f}};

// One counted reference, released when it goes.
template <class T>
struct ComRef {
  ComRef() = default;
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ~ComRef() {
    if (p) p->Release();
  }
  T* operator->() const { return p; }
  T* p = nullptr;
};

struct FileHandle {
  explicit FileHandle(HANDLE h) : handle(h) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
  }
  HANDLE handle;
};

struct FileBytes {
  std::unique_ptr<std::uint8_t[]> bytes;
  std::size_t size = 0;
};

SkinRefusal OpenFailure(DWORD error) {
  const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
  return missing ? kSkinMissing : kSkinUnreadable;
}

// The whole file, when it is a file of at most kMaxSkinFileBytes.
SkinRefusal ReadWholeFile(const wchar_t* path, FileBytes* out) {
  const DWORD attributes = ::GetFileAttributesW(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return OpenFailure(::GetLastError());
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return kSkinNotAFile;
  FileHandle file(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (file.handle == INVALID_HANDLE_VALUE) return OpenFailure(::GetLastError());
  if (::GetFileType(file.handle) != FILE_TYPE_DISK) return kSkinNotAFile;
  LARGE_INTEGER length;
  if (!::GetFileSizeEx(file.handle, &length) || length.QuadPart < 0) return kSkinUnreadable;
  if (static_cast<unsigned long long>(length.QuadPart) > kMaxSkinFileBytes) {
    return kSkinFileTooLarge;
  }
  out->size = static_cast<std::size_t>(length.QuadPart);
  out->bytes.reset(new (std::nothrow) std::uint8_t[out->size + 1]);
  if (!out->bytes) return kSkinNoMemory;
  DWORD read = 0;
  // At most 16 MiB: one read. A file that changed length meanwhile is refused.
  if (!::ReadFile(file.handle, out->bytes.get(), static_cast<DWORD>(out->size), &read, nullptr) ||
      read != out->size) {
    return kSkinUnreadable;
  }
  return kSkinAccepted;
}

SkinRefusal CodecFailure(HRESULT hr) { return hr == E_OUTOFMEMORY ? kSkinNoMemory : kSkinDamaged; }

bool ExpectedSizeUsable(SkinSize expected, std::size_t count) {
  return SurfaceSizeValid(expected.width, expected.height) &&
         static_cast<std::size_t>(expected.width) * static_cast<std::size_t>(expected.height) <=
             count;
}

}  // namespace

SkinReader::~SkinReader() {
  if (m_factory) m_factory->Release();
  if (m_endCom) g_coUninitialize.Get()();
}

IWICImagingFactory* SkinReader::Factory() {
  if (m_factoryTried) return m_factory;
  m_factoryTried = true;
  auto initialize = g_coInitializeEx.Get();
  auto create = g_coCreateInstance.Get();
  if (!initialize || !create || !g_coUninitialize.Get()) return nullptr;
  // A thread that already runs COM in the other model keeps it.
  const HRESULT started = initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  if (FAILED(started) && started != RPC_E_CHANGED_MODE) return nullptr;
  m_endCom = SUCCEEDED(started);
  void* factory = nullptr;
  if (FAILED(create(kImagingFactoryClass, nullptr, CLSCTX_INPROC_SERVER, kImagingFactoryInterface,
                    &factory))) {
    return nullptr;
  }
  m_factory = static_cast<IWICImagingFactory*>(factory);
  return m_factory;
}

SkinRefusal SkinReader::Read(const wchar_t* path, SkinSize expected, std::uint32_t* pixels,
                             std::size_t count) {
  if (path == nullptr || *path == L'\0') return kSkinMissing;
  if (pixels == nullptr || !ExpectedSizeUsable(expected, count)) return kSkinWrongSize;
  FileBytes file;
  SkinRefusal refusal = ReadWholeFile(path, &file);
  if (refusal == kSkinAccepted)
    refusal = CheckSkinFileHeader(file.bytes.get(), file.size, expected);
  if (refusal == kSkinAccepted) refusal = Decode(file.bytes.get(), file.size, expected, pixels);
  return refusal;
}

SkinRefusal SkinReader::Decode(const std::uint8_t* bytes, std::size_t size, SkinSize expected,
                               std::uint32_t* pixels) {
  IWICImagingFactory* factory = Factory();
  if (!factory) return kSkinNoCodec;
  ComRef<IWICStream> stream;
  HRESULT hr = factory->CreateStream(&stream.p);
  if (FAILED(hr)) return CodecFailure(hr);
  // The stream only reads; the API takes a non-const pointer.
  hr = stream->InitializeFromMemory(const_cast<BYTE*>(bytes), static_cast<DWORD>(size));
  if (FAILED(hr)) return CodecFailure(hr);
  ComRef<IWICBitmapDecoder> decoder;
  if (FAILED(factory->CreateDecoder(kPngContainer, nullptr, &decoder.p))) return kSkinNoCodec;
  hr = decoder->Initialize(stream.p, WICDecodeMetadataCacheOnDemand);
  ComRef<IWICBitmapFrameDecode> frame;
  if (SUCCEEDED(hr)) hr = decoder->GetFrame(0, &frame.p);
  UINT width = 0, height = 0;
  if (SUCCEEDED(hr)) hr = frame->GetSize(&width, &height);
  if (FAILED(hr)) return CodecFailure(hr);
  if (CheckSkinSize(width, height, expected) != kSkinAccepted) return kSkinWrongSize;
  ComRef<IWICFormatConverter> converter;
  hr = factory->CreateFormatConverter(&converter.p);
  if (FAILED(hr)) return CodecFailure(hr);
  hr = converter->Initialize(frame.p, kPixelFormatBgra, WICBitmapDitherTypeNone, nullptr, 0.0,
                             WICBitmapPaletteTypeCustom);
  if (FAILED(hr)) return hr == E_OUTOFMEMORY ? kSkinNoMemory : kSkinUnsupported;
  // ExpectedSizeUsable kept width * height below 2^26: the byte counts fit.
  const UINT stride = width * 4;
  hr = converter->CopyPixels(nullptr, stride, stride * height, reinterpret_cast<BYTE*>(pixels));
  return FAILED(hr) ? CodecFailure(hr) : kSkinAccepted;
}
